#include "attendance_areas.h"

#include "tdm_obecn.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "store/error.h"

#include <QPointer>

#include <memory>

void registerAttendanceAreas(AreaRegistry& areas, KeyValueSettings* settings, TerminalWindow terminalWindow)
{
    if (terminalWindow)
        areas.add(QStringLiteral("Wprowadzanieczasu"),
                  [terminalWindow](RunContext& context, const QVariantMap&) { terminalWindow(context); });
    areas.add(QStringLiteral("Obecnosci"), [settings](RunContext& context, const QVariantMap&) {
        auto module = std::make_unique<TDMObecn>(context, settings);
        const QString title = module->title();
        TDMDane::openAsWindow(std::move(module), title);
    });
    areas.add(area::childAttendance(), [](RunContext& context, const QVariantMap& arguments) {
        DataSet* master = area::master(arguments);
        if (!master || !master->table)
            return;
        QObject* owner = area::owner(arguments);
        Command* command = area::command(arguments);
        if (!owner) {
            auto module = std::make_unique<TDMObecn>(context, *master);
            const QString title = module->title();
            TDMDane::openAsWindow(std::move(module), title);
            return;
        }
        // One instance per owner, made on first use and kept with it.
        TDMObecn* module = nullptr;
        for (QObject* o : owner->children())
            if (auto* m = qobject_cast<TDMObecn*>(o); m && m->children().master == master)
                module = m;
        if (!module)
            module = new TDMObecn(context, *master, owner);
        else if (!(command && command->checked))
            module->rebuild();
        module->browse(module->children(), module->title(), command);
    });
}
