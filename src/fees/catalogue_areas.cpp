#include "catalogue_areas.h"

#include "tdm_media.h"

#include "browser/area_registry.h"

#include <memory>

namespace {

template <class Module>
AreaRegistry::Opener opener(const QString& title)
{
    return [title](RunContext& context, const QVariantMap&) {
        TDMDane::openAsWindow(std::make_unique<Module>(context), title);
    };
}

}  // namespace

void registerCatalogueAreas(AreaRegistry& areas)
{
    areas.add(QStringLiteral("Media"), opener<TDMMedia>(QStringLiteral("Składniki opłat")));
    areas.add(QStringLiteral("Grupyoplat"), opener<TDMGrupyOp>(QStringLiteral("Grupy opłat")));
    areas.add(QStringLiteral("Jednostkimiary"), opener<TDMJednost>(QStringLiteral("Jednostki miary")));
    areas.add(QStringLiteral("Stawkivat"), opener<TDMStawki>(QStringLiteral("Stawki VAT")));
}
