#include "charges_areas.h"

#include "settlement_totals.h"
#include "tdm_nalicz.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "browser/run_context.h"
#include "browser/window_opener.h"

#include <memory>

namespace {

// The invoices list shows each document's total.
void addTotals(RunContext& context, TDMNalicz& module)
{
    if (DataSet* invoices = module.invoices())
        fees::addInvoiceTotals(*invoices, context.db());
}

void openRegister(RunContext& context, const QVariantMap& a, bool invoices)
{
    Command* command = area::command(a);
    // Chosen again while its window is open: the window closes.
    if (command && command->opensWindow && command->checked) {
        context.opener.closeOwnedBy(command);
        return;
    }
    NaliczOptions options;
    options.month = a.value(area::monthKey()).toInt();
    options.type = a.value(area::typeKey(), QStringLiteral("0")).toString();
    options.child = area::child(a);
    options.months = area::master(a);
    options.invoicesFirst = invoices;
    const QString title = a.value(area::titleKey()).toString();
    if (QObject* owner = area::owner(a)) {
        // One list of each kind per opening window, reused while it lives, so
        // that a correction invoice being built survives closing the list.
        const QString name = (invoices ? QStringLiteral("Faktury") : QStringLiteral("Naliczenia") + options.type)
                             + QString::number(options.child);
        auto* module = owner->findChild<TDMNalicz*>(name, Qt::FindDirectChildrenOnly);
        if (!module) {
            module = new TDMNalicz(context, options, owner);
            module->setObjectName(name);
            addTotals(context, *module);
        } else {
            module->restartChildEntry();
        }
        DataSet* ds = module->mainDataSet();
        if (invoices && ds != module->invoices())
            return;  // a store without invoices
        module->browse(*ds, title, command);
        return;
    }
    auto module = std::make_unique<TDMNalicz>(context, options);
    addTotals(context, *module);
    DataSet* ds = module->mainDataSet();
    if (invoices && ds != module->invoices())
        return;
    TDMDane::openAsWindow(std::move(module), title);
}

}  // namespace

void registerChargesAreas(AreaRegistry& areas)
{
    areas.add(area::chargeLines(), [](RunContext& context, const QVariantMap& a) { openRegister(context, a, false); });
    areas.add(area::invoices(), [](RunContext& context, const QVariantMap& a) { openRegister(context, a, true); });
}
