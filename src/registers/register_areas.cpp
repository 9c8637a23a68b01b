#include "register_areas.h"

#include "tdm_klasy.h"
#include "tdm_wychow.h"

#include "browser/area_registry.h"

#include <memory>

void registerRegisterAreas(AreaRegistry& areas)
{
    areas.add(QStringLiteral("Klasy"), [](RunContext& context, const QVariantMap&) {
        TDMDane::openAsWindow(std::make_unique<TDMKlasy>(context), QStringLiteral("Grupy dzieci"));
    });
    areas.add(QStringLiteral("Statusy"), [](RunContext& context, const QVariantMap&) {
        auto module = std::make_unique<TDMKlasy>(context);
        module->switchToStatuses();
        TDMDane::openAsWindow(std::move(module), QStringLiteral("Statusy"));
    });
    areas.add(QStringLiteral("Wychowawcy"), [](RunContext& context, const QVariantMap&) {
        TDMDane::openAsWindow(std::make_unique<TDMWychow>(context), QStringLiteral("Wychowawcy"));
    });
}
