#include "settlement_areas.h"

#include "settlement_totals.h"
#include "tdm_rozrach.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "browser/run_context.h"
#include "browser/window_opener.h"
#include "store/table.h"

#include <QPointer>

#include <memory>

namespace {

// The months list shows each month's charges, payments and balance: of the
// window's child, or of all children.
TDMRozrach* withTotals(TDMRozrach* module)
{
    fees::addMonthTotals(module->months(), module->context().db(),
                         [module] { return module->oneChild() ? module->child() : 0; });
    return module;
}

std::unique_ptr<TDMRozrach> withTotals(std::unique_ptr<TDMRozrach> module)
{
    withTotals(module.get());
    return module;
}

const QString childModuleName = QStringLiteral("RozrachunkiDziecka");

void openForChild(RunContext& context, const QVariantMap& args, const FreeDaysEditor& editor)
{
    Command* command = area::command(args);
    if (command && command->opensWindow && command->checked) {
        context.opener.closeOwnedBy(command);  // chosen again: the window closes
        return;
    }
    const QString title = args.value(area::titleKey()).toString();
    QObject* owner = area::owner(args);
    if (!owner) {
        TDMDane::openAsWindow(withTotals(std::make_unique<TDMRozrach>(context, editor, area::child(args))), title);
        return;
    }
    // One module per owner, made on first use and reused while it lives.
    auto* module = owner->findChild<TDMRozrach*>(childModuleName, Qt::FindDirectChildrenOnly);
    if (!module) {
        module = withTotals(new TDMRozrach(context, editor, area::child(args), owner));
        module->setObjectName(childModuleName);
        if (DataSet* master = area::master(args); master && master->table) {
            Table* children = master->table;
            QPointer<Table> guard(children);
            QObject::connect(children, &Table::scrolled, module, [module, guard] {
                if (guard && guard->isOpen() && !guard->isEmpty())
                    module->setChild(guard->asInt(QStringLiteral("KOD")));
            });
        }
    } else {
        module->setChild(area::child(args));
    }
    module->browse(module->months(), title, command);
}

}  // namespace

void registerSettlementAreas(AreaRegistry& areas, FreeDaysEditor editor)
{
    areas.add(QStringLiteral("Rozrachunki"), [editor](RunContext& context, const QVariantMap& args) {
        QString title = args.value(area::titleKey()).toString();
        if (title.isEmpty())
            title = QStringLiteral("Rozrachunki");
        TDMDane::openAsWindow(withTotals(std::make_unique<TDMRozrach>(context, editor)), title);
    });
    areas.add(area::childSettlements(), [editor](RunContext& context, const QVariantMap& args) {
        openForChild(context, args, editor);
    });
}
