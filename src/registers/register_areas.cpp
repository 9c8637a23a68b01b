#include "register_areas.h"

#include "tdm_dzieci.h"
#include "tdm_klasy.h"
#include "tdm_wychow.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "browser/key_value_settings.h"

#include <memory>

void registerRegisterAreas(AreaRegistry& areas, KeyValueSettings* settings)
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
    areas.add(area::children(), [settings](RunContext& context, const QVariantMap& arguments) {
        KeyValueSettings* store = settings;
        if (!store) {
            static UserSettings userSettings;
            store = &userSettings;
        }
        QString title = arguments.value(area::titleKey()).toString();
        if (title.isEmpty())
            title = QStringLiteral("Dzieci");
        TDMDane::openAsWindow(std::make_unique<TDMDzieci>(context, store), title);
    });
}
