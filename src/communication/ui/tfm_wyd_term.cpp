#include "tfm_wyd_term.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "browser/module.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "printouts/report_job.h"
#include "store/error.h"

#include <QApplication>
#include <QDateEdit>
#include <QFormLayout>
#include <QHash>
#include <QPointer>
#include <QRadioButton>
#include <QVBoxLayout>

TFmWydTerm::TFmWydTerm(RunContext& context, const executions::PrintRequest& request, QWidget* parent)
    : ReportPrintDialog(context, QStringLiteral("TFmWydTerm"), executions::windowTitle(request.kind, request.child != 0),
                        parent),
      m_request(request)
{
    QVBoxLayout* body = this->body();
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

    addPrintButtons();
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
