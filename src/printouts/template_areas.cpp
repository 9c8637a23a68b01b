#include "template_areas.h"

#include "browser/area_registry.h"

#include <memory>

void registerTemplateAreas(AreaRegistry& areas, TemplateDesigner designer)
{
    areas.add(QStringLiteral("Szablony"), [designer](RunContext& context, const QVariantMap&) {
        TDMDane::openAsWindow(std::make_unique<TDMSzablony>(context, designer), QStringLiteral("Szablony"));
    });
}
