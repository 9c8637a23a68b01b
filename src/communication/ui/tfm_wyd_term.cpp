#include "tfm_wyd_term.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "browser/module.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "printouts/report_job.h"
#include "printouts/ui/print_pages.h"
#include "printouts/ui/report_preview.h"
#include "store/error.h"

#include <QApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHash>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFmWydTerm::TFmWydTerm(RunContext& context, const executions::PrintRequest& request, QWidget* parent)
    : QDialog(parent), m_context(context), m_request(request)
{
    setObjectName(QStringLiteral("TFmWydTerm"));
    setWindowTitle(executions::windowTitle(request.kind, request.child != 0));
    auto* body = new QVBoxLayout(this);
    m_all = new QRadioButton(QStringLiteral("Wszystkie wykonania"), this);
    m_period = new QRadioButton(QStringLiteral("Wykonania z okresu"), this);
    m_all->setChecked(true);
    body->addWidget(m_all);
    body->addWidget(m_period);
    auto* dates = new QFormLayout;
    const QDate today = context.systemDate();
    m_from = new QDateEdit(today.addDays(-31), this);
    m_to = new QDateEdit(today, this);
    for (QDateEdit* e : {m_from, m_to}) {
        e->setCalendarPopup(true);
        e->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        e->setEnabled(false);
    }
    m_from->setObjectName(QStringLiteral("od"));
    m_to->setObjectName(QStringLiteral("do"));
    dates->addRow(QStringLiteral("od"), m_from);
    dates->addRow(QStringLiteral("do"), m_to);
    body->addLayout(dates);
    connect(m_period, &QRadioButton::toggled, this, [this](bool on) {
        m_from->setEnabled(on);
        m_to->setEnabled(on);
    });

    auto* buttons = new QDialogButtonBox(this);
    auto add = [&](const QString& text, void (TFmWydTerm::*slot)()) {
        QPushButton* b = buttons->addButton(text, QDialogButtonBox::ActionRole);
        b->setObjectName(text);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    add(QStringLiteral("Drukuj"), &TFmWydTerm::print);
    add(QStringLiteral("Podgląd"), &TFmWydTerm::preview)->setDefault(true);
    add(QStringLiteral("Drukarka"), &TFmWydTerm::printerSetup);
    body->addWidget(buttons);

    printerDialog = [this](QPrinter& p) {
        QPrintDialog dialog(&p, this);
        return dialog.exec() == QDialog::Accepted;
    };
}

TFmWydTerm::~TFmWydTerm() = default;

executions::PrintRequest TFmWydTerm::request() const
{
    executions::PrintRequest r = m_request;
    r.period = m_period->isChecked();
    r.from = m_from->date();
    r.to = m_to->date();
    return r;
}

std::shared_ptr<report::Job> TFmWydTerm::makeJob()
{
    try {
        return std::shared_ptr<report::Job>(executions::makeReport(m_context.db(), request()));
    } catch (const Error& e) {
        m_context.prompts.showError(e.message());
        return nullptr;
    }
}

QPrinter& TFmWydTerm::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void TFmWydTerm::print()
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

void TFmWydTerm::preview()
{
    const std::shared_ptr<report::Job> job = makeJob();
    if (!job)
        return;
    TReportPreview* window = TReportPreview::open(job, m_context.prompts, this);
    // A preview opened over a modal dialog would be blocked by it.
    if (isModal() && window) {
        window->hide();
        window->setWindowModality(Qt::ApplicationModal);
        window->showMaximized();
    }
}

void TFmWydTerm::printerSetup()
{
    if (printerDialog)
        printerDialog(printer());
}

namespace {

// The window each command opened, so that choosing the command again closes it.
QHash<Command*, QPointer<TFmWydTerm>>& openWindows()
{
    static QHash<Command*, QPointer<TFmWydTerm>> windows;
    return windows;
}

void openPrintWindow(RunContext& context, const QVariantMap& args)
{
    Command* command = area::command(args);
    if (command) {
        if (QPointer<TFmWydTerm> open = openWindows().value(command)) {
            open->close();
            return;
        }
    }
    auto* window = new TFmWydTerm(context, executions::fromArguments(args), QApplication::activeWindow());
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject* module = area::owner(args);
    if (command && module) {
        command->checked = true;
        openWindows().insert(command, window);
        // Tied to the module that owns the command, which may go first.
        QObject::connect(window, &QObject::destroyed, module, [command] {
            openWindows().remove(command);
            command->checked = false;
        });
    }
    if (context.settings.modalWindows) {
        window->setModal(true);
        window->exec();
    } else {
        window->show();
    }
}

}  // namespace

void registerExecutionPrintArea(AreaRegistry& areas)
{
    areas.add(executions::printArea(), openPrintWindow);
}
