#include "charges_areas.h"

#include "tdm_nalicz.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "browser/run_context.h"
#include "browser/window_opener.h"

#include <memory>

namespace {

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
    auto module = std::make_unique<TDMNalicz>(context, options, area::owner(a));
    DataSet* ds = module->mainDataSet();
    if (invoices && ds != module->invoices())
        return;  // a store without invoices
    if (area::owner(a)) {
        // The opening window owns the module.
        TDMNalicz* m = module.release();
        m->browse(*ds, title, command);
        return;
    }
    TDMDane::openAsWindow(std::move(module), title);
}

}  // namespace

void registerChargesAreas(AreaRegistry& areas)
{
    areas.add(area::chargeLines(), [](RunContext& context, const QVariantMap& a) { openRegister(context, a, false); });
    areas.add(area::invoices(), [](RunContext& context, const QVariantMap& a) { openRegister(context, a, true); });
}
