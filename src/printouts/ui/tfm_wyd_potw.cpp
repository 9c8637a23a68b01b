#include "tfm_wyd_potw.h"

#include "print_pages.h"
#include "report_preview.h"

#include "browser/area_registry.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "printouts/confirmation_print_area.h"
#include "printouts/payment_confirmation.h"
#include "printouts/template_picker.h"
#include "store/error.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

using namespace printouts;

TFmWydPotw::TFmWydPotw(RunContext& context, int payment, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_payment(payment),
      m_templates(templatesOfType(context.db(), TemplateType::Confirmations))
{
    setObjectName(QStringLiteral("TFmWydPotw"));
    setWindowTitle(title());

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_template = new QComboBox(this);
    m_template->setObjectName(QStringLiteral("Szablon"));
    for (const StoredTemplate& t : std::as_const(m_templates))
        m_template->addItem(t.name, t.id);
    form->addRow(QStringLiteral("Szablon"), m_template);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(this);
    auto addButton = [&](const QString& text, void (TFmWydPotw::*slot)()) {
        QPushButton* b = buttons->addButton(text, QDialogButtonBox::ActionRole);
        b->setObjectName(text);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    addButton(QStringLiteral("Drukuj"), &TFmWydPotw::print);
    addButton(QStringLiteral("Podgląd"), &TFmWydPotw::preview)->setDefault(true);
    addButton(QStringLiteral("Drukarka"), &TFmWydPotw::printerSetup);
    QPushButton* close = buttons->addButton(QStringLiteral("Zamknij"), QDialogButtonBox::RejectRole);
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    printerDialog = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
}

TFmWydPotw::~TFmWydPotw() = default;

std::shared_ptr<const BuiltTemplate> TFmWydPotw::builtTemplate()
{
    const int index = m_template->currentIndex();
    if (index < 0 || index >= m_templates.size())
        return nullptr;
    // Read again: the template may have been redrawn since the dialog opened.
    const int id = m_templates.at(index).id;
    QString text = m_templates.at(index).layoutText;
    for (const StoredTemplate& t : templatesOfType(m_context.db(), TemplateType::Confirmations))
        if (t.id == id)
            text = t.layoutText;
    Database& db = m_context.db();
    return m_cache.get(id, text, [&db](const PrintTemplate& layout) { return readTemplatePictures(db, layout); });
}

std::shared_ptr<report::Job> TFmWydPotw::makeJob()
{
    try {
        std::shared_ptr<const BuiltTemplate> built;
        try {
            built = builtTemplate();
        } catch (const Error& e) {
            // A malformed layout: the page still prints with its footer line.
            m_context.prompts.showError(e.message());
        }
        return std::shared_ptr<report::Job>(makeConfirmationJob(m_context.db(), m_payment, built.get()));
    } catch (const Error& e) {
        m_context.prompts.showError(e.message());
        return nullptr;
    }
}

QPrinter& TFmWydPotw::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void TFmWydPotw::print()
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

void TFmWydPotw::preview()
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

void TFmWydPotw::printerSetup()
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

void registerConfirmationPrintArea(AreaRegistry& areas)
{
    areas.add(area::confirmationPrintout(), [](RunContext& context, const QVariantMap& a) {
        auto* dialog = new TFmWydPotw(context, a.value(area::paymentKey()).toInt(), QApplication::activeWindow());
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
