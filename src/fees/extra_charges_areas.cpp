#include "extra_charges_areas.h"

#include "tdm_naldod.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "registers/tdm_dzieci.h"

#include <memory>

void registerExtraChargeAreas(AreaRegistry& areas)
{
    areas.add(QStringLiteral("Naldodat"), [](RunContext& context, const QVariantMap&) {
        auto module = std::make_unique<TDMNalDod>(context);
        TDMDane::openAsWindow(std::move(module), TDMNalDod::title());
    });
    areas.add(area::childExtraCharges(), [](RunContext& context, const QVariantMap& arguments) {
        DataSet* master = area::master(arguments);
        if (!master || !master->table)
            return;
        const QString title = arguments.value(area::titleKey(), TDMNalDod::title()).toString();
        QObject* owner = area::owner(arguments);
        if (!owner) {
            TDMDane::openAsWindow(std::make_unique<TDMNalDod>(context, *master), title);
            return;
        }
        // One grid per owner, kept with it and brought up to date when shown again.
        TDMNalDod* module = nullptr;
        for (QObject* o : owner->children())
            if (auto* m = qobject_cast<TDMNalDod*>(o); m && m->children().master == master)
                module = m;
        Command* command = area::command(arguments);
        if (!module)
            module = new TDMNalDod(context, *master, owner);
        else if (!(command && command->checked))
            module->rebuild();
        module->browse(module->children(), title, command);
    });
}
