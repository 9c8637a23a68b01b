#include "basic_areas.h"

#include "tdm_grupy.h"
#include "tdm_opcje.h"

#include "attendance/time_registers.h"
#include "browser/area_registry.h"
#include "browser/tdm_obrazy.h"

#include <memory>

namespace {

// The titles are the main window's captions of the commands, without "&".
template <class Module>
AreaRegistry::Opener opener(const QString& title)
{
    return [title](RunContext& context, const QVariantMap&) {
        TDMDane::openAsWindow(std::make_unique<Module>(context), title);
    };
}

}  // namespace

void registerBasicAreas(AreaRegistry& areas, PasswordDialog passwordDialog, RightsWindowOpener rightsWindow)
{
    areas.add(QStringLiteral("Uzytkownicy"), [passwordDialog, rightsWindow](RunContext& context, const QVariantMap&) {
        TDMDane::openAsWindow(std::make_unique<TDMUzyt>(context, passwordDialog, rightsWindow),
                              QStringLiteral("Użytkownicy"));
    });
    areas.add(QStringLiteral("Grupy"), [rightsWindow](RunContext& context, const QVariantMap&) {
        TDMDane::openAsWindow(std::make_unique<TDMGrupy>(context, rightsWindow), QStringLiteral("Grupy"));
    });
    areas.add(QStringLiteral("Konfiguracja"), opener<TDMOpcje>(QStringLiteral("Konfiguracja")));
    areas.add(QStringLiteral("Obrazy"), opener<TDMObrazy>(QStringLiteral("Obrazy")));
    areas.add(QStringLiteral("Czasbezpatny"), opener<TDMCzasBezp>(QStringLiteral("Czas bezpłatny")));
    areas.add(QStringLiteral("Graniceobecnoci"), opener<TDMCzasGran>(QStringLiteral("Granice obecności")));
}
