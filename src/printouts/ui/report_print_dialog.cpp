#include "report_print_dialog.h"

#include "print_pages.h"
#include "report_preview.h"

#include "browser/prompts.h"
#include "browser/run_context.h"
#include "printouts/report_job.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

ReportPrintDialog::ReportPrintDialog(RunContext& context, const QString& objectName, const QString& title,
                                     QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(objectName);
    setWindowTitle(title);
    m_body = new QVBoxLayout(this);
    printerDialog = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
}

ReportPrintDialog::~ReportPrintDialog() = default;

QDialogButtonBox* ReportPrintDialog::addPrintButtons()
{
    auto* buttons = new QDialogButtonBox(this);
    auto addButton = [&](const QString& text, void (ReportPrintDialog::*slot)()) {
        QPushButton* b = buttons->addButton(text, QDialogButtonBox::ActionRole);
        b->setObjectName(text);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    addButton(QStringLiteral("Drukuj"), &ReportPrintDialog::print);
    addButton(QStringLiteral("Podgląd"), &ReportPrintDialog::preview)->setDefault(true);
    addButton(QStringLiteral("Drukarka"), &ReportPrintDialog::printerSetup);
    m_body->addWidget(buttons);
    return buttons;
}

QPrinter& ReportPrintDialog::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void ReportPrintDialog::print()
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

void ReportPrintDialog::preview()
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

void ReportPrintDialog::printerSetup()
{
    beforePrinterSetup();
    if (printerDialog)
        printerDialog(printer());
}

void ReportPrintDialog::showFor(RunContext& context, ReportPrintDialog* dialog)
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
