#include "tfm_wyd_fakt.h"

#include "print_pages.h"
#include "report_preview.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "printouts/invoice_print_area.h"
#include "store/error.h"
#include "store/query.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

using namespace printouts;

namespace {

// The pictures of the template's picture elements, each looked up by its
// integer code (a content that is not a number has no picture).
TemplatePictures picturesOf(Database& db, const PrintTemplate& layout)
{
    TemplatePictures out;
    for (const TemplateElement& e : layout.elements) {
        const std::optional<int> code = e.pictureCode();
        if (e.kind != ElementKind::Picture || !code || out.contains(*code))
            continue;
        Query q(db, QStringLiteral("SELECT OBRAZ FROM OBRAZY WHERE KOD = :KOD"));
        q.bind(QStringLiteral("KOD"), *code).exec();
        if (q.next())
            out.insert(*code, QImage::fromData(q.value(0).toByteArray()));
    }
    return out;
}

}  // namespace

TFmWydFakt::TFmWydFakt(RunContext& context, int month, int child, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_month(month),
      m_child(child),
      m_groupSelection(GroupSelection::forLogin(context.db(), context.login.visibleGroups))
{
    setObjectName(QStringLiteral("TFmWydFakt"));
    setWindowTitle(title());

    for (const StoredTemplate& t : storedTemplates(context.db()))
        if (templateTypeOf(t.type) == TemplateType::Invoices)
            m_templates << t;

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_template = new QComboBox(this);
    m_template->setObjectName(QStringLiteral("Szablon"));
    for (const StoredTemplate& t : std::as_const(m_templates))
        m_template->addItem(t.name, t.id);
    form->addRow(QStringLiteral("Szablon"), m_template);
    m_copy = new QComboBox(this);
    m_copy->setObjectName(QStringLiteral("Oryginał/kopia"));
    m_copy->addItems(copyLabels());
    form->addRow(QStringLiteral("Oryginał/kopia"), m_copy);
    layout->addLayout(form);

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
    layout->addWidget(m_filters);
    // For one child's record the document is that child's alone.
    m_filters->setVisible(m_child == 0);

    auto* buttons = new QDialogButtonBox(this);
    auto addButton = [&](const QString& text, void (TFmWydFakt::*slot)()) {
        QPushButton* b = buttons->addButton(text, QDialogButtonBox::ActionRole);
        b->setObjectName(text);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    addButton(QStringLiteral("Drukuj"), &TFmWydFakt::print);
    addButton(QStringLiteral("Podgląd"), &TFmWydFakt::preview)->setDefault(true);
    addButton(QStringLiteral("Drukarka"), &TFmWydFakt::printerSetup);
    QPushButton* close = buttons->addButton(QStringLiteral("Zamknij"), QDialogButtonBox::RejectRole);
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    printerDialog = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
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

std::shared_ptr<const BuiltTemplate> TFmWydFakt::builtTemplate()
{
    const int index = m_template->currentIndex();
    if (index < 0 || index >= m_templates.size())
        return nullptr;
    // Read again: the template may have been redrawn since the dialog opened.
    const int id = m_templates.at(index).id;
    QString text = m_templates.at(index).layoutText;
    for (const StoredTemplate& t : storedTemplates(m_context.db()))
        if (t.id == id)
            text = t.layoutText;
    Database& db = m_context.db();
    return m_cache.get(id, text, [&db](const PrintTemplate& layout) { return picturesOf(db, layout); });
}

std::shared_ptr<report::Job> TFmWydFakt::makeJob()
{
    try {
        std::shared_ptr<const BuiltTemplate> built;
        try {
            built = builtTemplate();
        } catch (const Error& e) {
            m_context.prompts.showError(e.message());
        }
        const InvoiceSelection s = selection();
        return std::shared_ptr<report::Job>(makeInvoicesJob(m_context.db(), s, built.get()));
    } catch (const Error& e) {
        m_context.prompts.showError(e.message());
        return nullptr;
    }
}

QPrinter& TFmWydFakt::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void TFmWydFakt::print()
{
    const std::shared_ptr<report::Job> job = makeJob();
    if (!job)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const report::PreparedPages pages = job->run(report::Purpose::Pages);
    const QString error = report::printPages(printer(), pages);
    QApplication::restoreOverrideCursor();
    if (!error.isEmpty())
        m_context.prompts.showError(error);
}

void TFmWydFakt::preview()
{
    const std::shared_ptr<report::Job> job = makeJob();
    if (!job)
        return;
    TReportPreview* window = TReportPreview::open(job, m_context.prompts, this);
    // A preview opened over a modal dialog would be blocked by it: it
    // becomes modal itself and the dialog waits for it.
    if (isModal() && window) {
        window->hide();
        window->setWindowModality(Qt::ApplicationModal);
        window->showMaximized();
    }
}

void TFmWydFakt::printerSetup()
{
    try {
        builtTemplate();
    } catch (const Error& e) {
        m_context.prompts.showError(e.message());
    }
    if (printerDialog)
        printerDialog(printer());
}

namespace printouts {

void registerInvoicePrintArea(AreaRegistry& areas)
{
    areas.add(area::invoicePrintout(), [](RunContext& context, const QVariantMap& a) {
        auto* dialog = new TFmWydFakt(context, a.value(area::monthKey()).toInt(), area::child(a),
                                      QApplication::activeWindow());
        if (context.settings.modalWindows) {
            dialog->setModal(true);
            dialog->exec();
            delete dialog;
            return;
        }
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
    });
}

}  // namespace printouts
