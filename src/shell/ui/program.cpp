#include "program.h"

#include "attendance/attendance_areas.h"
#include "attendance/ui/terminal_window.h"
#include "communication/communication_areas.h"
#include "communication/ui/attachment_upload_window.h"
#include "communication/follow_up_areas.h"
#include "communication/ui/tfm_wyd_term.h"
#include "browser/area_registry.h"
#include "browser/key_value_settings.h"
#include "browser/message_log.h"
#include "browser/run_context.h"
#include "browser/ui/calculator_window.h"
#include "browser/ui/message_window.h"
#include "browser/ui/tfm_kartot.h"
#include "browser/ui/ui_window_opener.h"
#include "browser/ui/widget_prompts.h"
#include "fees/catalogue_areas.h"
#include "fees/charges_areas.h"
#include "fees/extra_charges_areas.h"
#include "fees/methods_area.h"
#include "fees/settlement_areas.h"
#include "fees/ui/free_days_editor.h"
#include "fees/ui/marked_children_command.h"
#include "fees/ui/tfm_defin.h"
#include "maintenance/ui/maintenance_areas.h"
#include "maintenance/ui/paradox_migration_entry.h"
#include "printouts/template_areas.h"
#include "printouts/ui/attendance_print_command.h"
#include "printouts/ui/grid_print_command.h"
#include "printouts/ui/tfm_ust_szabl.h"
#include "printouts/ui/tfm_wyd_fakt.h"
#include "printouts/ui/tfm_wyd_potw.h"
#include "printouts/ui/tfm_wyd_kores.h"
#include "printouts/ui/tfm_wyd_rozr.h"
#include "registers/extra_class_areas.h"
#include "registers/register_areas.h"
#include "shell/basic_areas.h"
#include "shell/login_flow.h"
#include "shell/main_commands.h"
#include "shell/tdm_ochrona.h"
#include "shell/ui/help_window.h"
#include "shell/ui/login_dialog.h"
#include "shell/ui/main_window.h"
#include "shell/ui/rights_window.h"
#include "shell/ui/startup_watch.h"
#include "shell/startup_trace.h"
#include "store/error.h"
#include "store/tdm_baza.h"
#include "sync/ui/sync_areas.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QDir>

// Declared in the order of making; members go in the reverse order, so the
// main window (declared last) goes first while everything it uses is alive.
struct Program::Parts {
    std::unique_ptr<TDMBaza> baza;
    std::unique_ptr<TDMOchrona> security;
    std::unique_ptr<WidgetPrompts> prompts;
    std::unique_ptr<LoginFlow> loginFlow;
    std::unique_ptr<PasswordChangeFlow> passwordFlow;
    MessageLog messages;
    std::unique_ptr<TFmKomunikaty> messageWindow;
    UserSettings settings;
    std::unique_ptr<UiWindowOpener> opener;
    AreaRegistry areas;
    std::unique_ptr<RunContext> context;
    int status = 0;
    std::unique_ptr<TFmMain> mainWindow;
};

Program::Program(const QStringList& arguments, const std::optional<StoreLocation>& location)
    : m(std::make_unique<Parts>())
{
    m->mainWindow = std::make_unique<TFmMain>();
    TFmMain* mainWindow = m->mainWindow.get();
    startup::mark("main window made");
    // The store opens once the login dialog is on the screen (or before a
    // login from the command line): its soundness check reads the whole
    // file, and nothing is read from it before the login.
    try {
        m->baza = std::make_unique<TDMBaza>(location ? *location : StoreLocation::resolveDefault(),
                                            TDMBaza::Opening::Later);
    } catch (const Error&) {
        mainWindow->about()->hide();
        throw;
    }
    m->security = std::make_unique<TDMOchrona>(m->baza->database());
    m->prompts = std::make_unique<WidgetPrompts>(mainWindow);
    m->prompts->setIconProvider([](int image) {
        for (const mainmenu::CommandDef& c : mainmenu::commands())
            if (c.image == image)
                return TFmMain::commandIcon(image, c.caption);
        return TFmMain::commandIcon(image, QString::number(image));
    });
    m->loginFlow = std::make_unique<LoginFlow>(*m->security, *m->prompts);
    m->loginFlow->setPreparation([baza = m->baza.get()] {
        baza->open();
        startup::mark("store opened");
    });
    m->passwordFlow = std::make_unique<PasswordChangeFlow>(*m->security, *m->prompts);
    // Owned by the main window, which deletes its children.
    auto* loginDialog = new TDlLogin(*m->loginFlow, mainWindow);
    // While the user types, the store opens; a store that cannot be opened
    // ends the program with its message.
    startup::afterFirstShowing(loginDialog, [loginFlow = m->loginFlow.get(), loginDialog] {
        if (!loginFlow->prepare())
            loginDialog->reject();
    });
    auto* passwordDialog = new TDlPassword(*m->passwordFlow, mainWindow);
    m->messageWindow = std::make_unique<TFmKomunikaty>(m->messages);

    m->opener = std::make_unique<UiWindowOpener>(m->settings);
    AreaRegistry& areas = m->areas;
    registerBasicAreas(
        areas, [passwordDialog](RunContext&, const QString& userName) { passwordDialog->run(userName, false); },
        rightsWindowOpener());
    registerRegisterAreas(areas, &m->settings);
    registerAttendanceAreas(areas, &m->settings, openTerminalWindow);
    registerExtraClassAreas(areas);
    registerCatalogueAreas(areas);
    registerMethodsArea(areas, editDefinitionInWindow);
    registerSettlementAreas(areas, editFreeDaysInWindow);
    registerChargesAreas(areas);
    registerExtraChargeAreas(areas);
    fees::registerMarkedChildrenAreas(areas);
    registerSyncAreas(areas);
    registerMaintenanceAreas(areas, &m->settings);
    registerCommunicationAreas(areas, inform::uploadInWindow);
    // The reminders' "Pokaż" choice is the main window's setting, written when it closes.
    registerFollowUpAreas(areas, {[mainWindow] {
                                      MainController* c = mainWindow->controller();
                                      return c ? c->settings().reminder : QString();
                                  },
                                  [mainWindow](const QString& when) {
                                      if (MainController* c = mainWindow->controller())
                                          c->setReminder(when);
                                  }});
    registerExecutionPrintArea(areas);
    registerTemplateAreas(areas, printouts::designTemplateInWindow);
    printouts::registerInvoicePrintArea(areas);
    printouts::registerConfirmationPrintArea(areas);
    help::registerArea(areas);
    printouts::registerLettersPrintArea(areas);
    printouts::registerStatementPrintArea(areas);
    printouts::registerAttendancePrintArea(areas);
    CalculatorWindow::install();
    gridprint::install();
    m->context = std::make_unique<RunContext>(
        RunContext{*m->baza, *m->prompts, *m->opener, areas, {}, {}, {}, {}, &m->messages});
    m->opener->setContext(m->context.get());

    MainServices services{*m->context, *m->security, m->settings, *mainWindow, *mainWindow, m->messages, {}, {}, {}, {}, {}};
    services.loginDialog = [loginDialog, baza = m->baza.get()] {
        bool endProgram = false;
        if (loginDialog->run(&endProgram))
            return LoginResult::Accepted;
        return endProgram || !baza->isOpen() ? LoginResult::EndProgram : LoginResult::Cancelled;
    };
    services.passwordDialog = [passwordDialog](const QString& userName) { passwordDialog->run(userName, true); };
    services.arguments = arguments;
    services.programFile = QCoreApplication::applicationFilePath();
    services.currentFolder = QDir::currentPath();
    mainWindow->attach(services);
    startup::mark("areas registered, main window attached");
    installParadoxMigrationEntry(mainWindow->menuBar()->findChild<QMenu*>(mainmenu::fileMenu()), *m->context,
                                 [mainWindow] {
                                     if (MainController* c = mainWindow->controller())
                                         c->run(QStringLiteral("Logowanie1"));
                                 });

    // F1 anywhere: the guide's page of the window in front.
    auto* f1 = new QShortcut(QKeySequence::HelpContents, mainWindow);
    f1->setContext(Qt::ApplicationShortcut);
    QObject::connect(f1, &QShortcut::activated, mainWindow, [] {
        const QWidget* active = QApplication::activeWindow();
        help::show(help::pageFor(active ? active->windowTitle() : QString()));
    });

    QObject::connect(mainWindow, &TFmMain::started, mainWindow, [this](bool ok) {
        if (!ok)
            m->status = 1;
    });
}

Program::~Program()
{
    // Windows closed on the way out are deleted by the event loop, which may
    // have stopped: their modules must go while the store is still open.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m->mainWindow.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TFmMain& Program::mainWindow() { return *m->mainWindow; }

int Program::status() const { return m->status; }
