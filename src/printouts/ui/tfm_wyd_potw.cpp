#include "tfm_wyd_potw.h"

#include "browser/area_registry.h"
#include "browser/run_context.h"
#include "printouts/confirmation_print_area.h"
#include "printouts/payment_confirmation.h"

#include <QApplication>

using namespace printouts;

TFmWydPotw::TFmWydPotw(RunContext& context, int payment, QWidget* parent)
    : TemplatePrintDialog(context, TemplateType::Confirmations, QStringLiteral("TFmWydPotw"), title(), parent),
      m_payment(payment)
{
    addButtons();
}

std::unique_ptr<report::Job> TFmWydPotw::makeDocument(const BuiltTemplate* built)
{
    // Without a template (or with a malformed one) the page still prints
    // with its footer line.
    return makeConfirmationJob(m_context.db(), m_payment, built);
}

namespace printouts {

void registerConfirmationPrintArea(AreaRegistry& areas)
{
    areas.add(area::confirmationPrintout(), [](RunContext& context, const QVariantMap& a) {
        TemplatePrintDialog::showFor(
            context, new TFmWydPotw(context, a.value(area::paymentKey()).toInt(), QApplication::activeWindow()));
    });
}

}  // namespace printouts
