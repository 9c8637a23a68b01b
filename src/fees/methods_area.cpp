#include "methods_area.h"

#include "browser/area_registry.h"

#include <memory>

void registerMethodsArea(AreaRegistry& areas, DefinitionEditor editor)
{
    areas.add(QStringLiteral("Sposoby"), [editor](RunContext& context, const QVariantMap&) {
        TDMDane::openAsWindow(std::make_unique<TDMSposoby>(context, editor), QStringLiteral("Sposoby liczenia"));
    });
}
