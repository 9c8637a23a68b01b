#include "template_print_dialog.h"

#include "print_pages.h"
#include "report_preview.h"

#include "browser/prompts.h"
#include "browser/run_context.h"
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

TemplatePrintDialog::TemplatePrintDialog(RunContext& context, TemplateType type, const QString& objectName,
                                         const QString& title, QWidget* parent)
    : QDialog(parent), m_context(context), m_type(type), m_templates(templatesOfType(context.db(), type))
{
    setObjectName(objectName);
    setWindowTitle(title);

    m_body = new QVBoxLayout(this);
    m_form = new QFormLayout;
    m_template = new QComboBox(this);
    m_template->setObjectName(QStringLiteral("Szablon"));
    for (const StoredTemplate& t : std::as_const(m_templates))
        m_template->addItem(t.name, t.id);
    m_form->addRow(QStringLiteral("Szablon"), m_template);
    m_body->addLayout(m_form);

    printerDialog = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
}

TemplatePrintDialog::~TemplatePrintDialog() = default;

void TemplatePrintDialog::addButtons()
{
    auto* buttons = new QDialogButtonBox(this);
    auto addButton = [&](const QString& text, void (TemplatePrintDialog::*slot)()) {
        QPushButton* b = buttons->addButton(text, QDialogButtonBox::ActionRole);
        b->setObjectName(text);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    addButton(QStringLiteral("Drukuj"), &TemplatePrintDialog::print);
    addButton(QStringLiteral("Podgląd"), &TemplatePrintDialog::preview)->setDefault(true);
    addButton(QStringLiteral("Drukarka"), &TemplatePrintDialog::printerSetup);
    QPushButton* close = buttons->addButton(QStringLiteral("Zamknij"), QDialogButtonBox::RejectRole);
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_body->addWidget(buttons);
}

std::shared_ptr<const BuiltTemplate> TemplatePrintDialog::builtTemplate()
{
    const int index = m_template->currentIndex();
    if (index < 0 || index >= m_templates.size())
        return nullptr;
    // Read again: the template may have been redrawn since the dialog opened.
    const int id = m_templates.at(index).id;
    QString text = m_templates.at(index).layoutText;
    for (const StoredTemplate& t : templatesOfType(m_context.db(), m_type))
        if (t.id == id)
            text = t.layoutText;
    Database& db = m_context.db();
    return m_cache.get(id, text, [&db](const PrintTemplate& layout) { return readTemplatePictures(db, layout); });
}

std::shared_ptr<report::Job> TemplatePrintDialog::makeJob()
{
    try {
        std::shared_ptr<const BuiltTemplate> built;
        try {
            built = builtTemplate();
        } catch (const Error& e) {
            m_context.prompts.showError(e.message());
        }
        return std::shared_ptr<report::Job>(makeDocument(built.get()));
    } catch (const Error& e) {
        m_context.prompts.showError(e.message());
        return nullptr;
    }
}

QPrinter& TemplatePrintDialog::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void TemplatePrintDialog::print()
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

void TemplatePrintDialog::preview()
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

void TemplatePrintDialog::printerSetup()
{
    try {
        builtTemplate();
    } catch (const Error& e) {
        m_context.prompts.showError(e.message());
    }
    if (printerDialog)
        printerDialog(printer());
}

void TemplatePrintDialog::showFor(RunContext& context, TemplatePrintDialog* dialog)
{
    if (context.settings.modalWindows) {
        dialog->setModal(true);
        dialog->exec();
        delete dialog;
        return;
    }
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}
