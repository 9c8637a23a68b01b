#include "tfm_wyd_fakt.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "browser/run_context.h"
#include "printouts/invoice_print_area.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

using namespace printouts;

TFmWydFakt::TFmWydFakt(RunContext& context, int month, int child, QWidget* parent)
    : TemplatePrintDialog(context, TemplateType::Invoices, QStringLiteral("TFmWydFakt"), title(), parent),
      m_month(month),
      m_child(child),
      m_groupSelection(GroupSelection::forLogin(context.db(), context.login.visibleGroups))
{
    m_copy = new QComboBox(this);
    m_copy->setObjectName(QStringLiteral("Oryginał/kopia"));
    m_copy->addItems(copyLabels());
    form()->addRow(QStringLiteral("Oryginał/kopia"), m_copy);

    m_filters = new QGroupBox(QStringLiteral("Filtry"), this);
    auto* filters = new QFormLayout(m_filters);
    m_groups = new QPushButton(m_groupSelection.caption(), m_filters);
    m_groups->setObjectName(QStringLiteral("Grupy"));
    connect(m_groups, &QPushButton::clicked, this, &TFmWydFakt::chooseGroups);
    filters->addRow(QStringLiteral("Grupy"), m_groups);
    m_inactive = new QCheckBox(QStringLiteral("Nieaktywni"), m_filters);
    m_chosen = new QCheckBox(QStringLiteral("Wybrani"), m_filters);
    filters->addRow(m_inactive);
    filters->addRow(m_chosen);
    body()->addWidget(m_filters);
    // For one child's record the document is that child's alone.
    m_filters->setVisible(m_child == 0);

    addButtons();
}

TFmWydFakt::~TFmWydFakt() = default;

void TFmWydFakt::chooseGroups()
{
    m_groupSelection.choose(m_context.prompts);
    m_groups->setText(m_groupSelection.caption());
}

InvoiceSelection TFmWydFakt::selection()
{
    InvoiceSelection s;
    s.month = m_month;
    s.copyLabel = m_copy->currentText();
    s.today = QDate::currentDate();
    if (m_child != 0) {
        s.child = m_child;
        return s;
    }
    s.inactive = m_inactive->isChecked();
    if (m_groupSelection.restricted()) {
        QList<int> codes;
        for (const GroupChoice& g : m_groupSelection.chosen())
            codes << g.code;
        s.groups = codes;
    }
    if (m_chosen->isChecked()) {
        const QList<ChildChoice> children = childChoices(m_context.db(), invoiceAddressees(m_context.db(), s));
        s.chosen = chooseChildren(m_context.prompts, children);
    }
    return s;
}

std::unique_ptr<report::Job> TFmWydFakt::makeDocument(const BuiltTemplate* built)
{
    return makeInvoicesJob(m_context.db(), selection(), built);
}

namespace printouts {

void registerInvoicePrintArea(AreaRegistry& areas)
{
    areas.add(area::invoicePrintout(), [](RunContext& context, const QVariantMap& a) {
        TemplatePrintDialog::showFor(context, new TFmWydFakt(context, a.value(area::monthKey()).toInt(),
                                                             area::child(a), QApplication::activeWindow()));
    });
}

}  // namespace printouts
