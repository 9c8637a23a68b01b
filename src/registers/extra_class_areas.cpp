#include "extra_class_areas.h"

#include "tdm_zajdod.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"

#include <memory>

void registerExtraClassAreas(AreaRegistry& areas)
{
    areas.add(QStringLiteral("Zajciadodatkowe"), [](RunContext& context, const QVariantMap& arguments) {
        QString title = arguments.value(area::titleKey()).toString();
        if (title.isEmpty())
            title = QStringLiteral("Zajęcia dodatkowe");
        TDMDane::openAsWindow(std::make_unique<TDMZajDod>(context), title);
    });
}
