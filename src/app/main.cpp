// The program: the modules are created in a fixed order, each needing the
// ones before it, and the data module goes last when the window closes.

#include "browser/area_registry.h"
#include "browser/key_value_settings.h"
#include "browser/message_log.h"
#include "browser/run_context.h"
#include "browser/ui/message_window.h"
#include "browser/ui/tfm_kartot.h"  // ui_window_opener.h holds QPointers to it
#include "browser/ui/ui_window_opener.h"
#include "browser/ui/widget_prompts.h"
#include "browser/ui/calculator_window.h"
#include "attendance/attendance_areas.h"
#include "communication/communication_areas.h"
#include "fees/catalogue_areas.h"
#include "fees/charges_areas.h"
#include "fees/methods_area.h"
#include "fees/settlement_areas.h"
#include "fees/ui/free_days_editor.h"
#include "fees/ui/tfm_defin.h"
#include "printouts/template_areas.h"
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
#include "sync/ui/sync_areas.h"
#include "shell/ui/login_dialog.h"
#include "shell/ui/main_window.h"
#include "store/error.h"
#include "store/tdm_baza.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lunawa"));
    QApplication::setApplicationDisplayName(QStringLiteral("Lunawa"));
    QApplication::setOrganizationName(QStringLiteral("Vendrix"));

    QTranslator qtPolish;
    if (qtPolish.load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtPolish);

    // Declared first so that it goes last: every window and module below
    // still uses the store while it is torn down.
    std::unique_ptr<TDMBaza> baza;

    auto mainWindow = std::make_unique<TFmMain>();
    try {
        baza = std::make_unique<TDMBaza>();
    } catch (const Error& e) {
        mainWindow->about()->hide();
        QMessageBox::critical(nullptr, QStringLiteral("Lunawa"), e.message());
        return 1;
    }
    TDMOchrona security(baza->database());

    WidgetPrompts prompts(mainWindow.get());
    prompts.setIconProvider([](int image) {
        for (const mainmenu::CommandDef& c : mainmenu::commands())
            if (c.image == image)
                return TFmMain::commandIcon(image, c.caption);
        return TFmMain::commandIcon(image, QString::number(image));
    });
    LoginFlow loginFlow(security, prompts);
    PasswordChangeFlow passwordFlow(security, prompts);
    TDlLogin loginDialog(loginFlow, mainWindow.get());
    TDlPassword passwordDialog(passwordFlow, mainWindow.get());

    MessageLog messages;
    TFmKomunikaty messageWindow(messages);

    UserSettings settings;
    UiWindowOpener opener(settings);
    AreaRegistry areas;
    registerBasicAreas(areas, [&passwordDialog](RunContext&, const QString& userName) {
        passwordDialog.run(userName, false);
    });
    registerRegisterAreas(areas, &settings);
    registerAttendanceAreas(areas, &settings);
    registerExtraClassAreas(areas);
    registerCatalogueAreas(areas);
    registerMethodsArea(areas, editDefinitionInWindow);
    registerSettlementAreas(areas, editFreeDaysInWindow);
    registerChargesAreas(areas);
    registerSyncAreas(areas);
    registerCommunicationAreas(areas);
    registerTemplateAreas(areas, printouts::designTemplateInWindow);
    printouts::registerInvoicePrintArea(areas);
    printouts::registerConfirmationPrintArea(areas);
    printouts::registerLettersPrintArea(areas);
    printouts::registerStatementPrintArea(areas);
    CalculatorWindow::install();
    gridprint::install();
    RunContext context{*baza, prompts, opener, areas, {}, {}, {}, {}, &messages};
    opener.setContext(&context);

    MainServices services{context, security, settings, *mainWindow, *mainWindow, messages, {}, {}, {}, {}, {}};
    services.loginDialog = [&loginDialog] {
        bool endProgram = false;
        if (loginDialog.run(&endProgram))
            return LoginResult::Accepted;
        return endProgram ? LoginResult::EndProgram : LoginResult::Cancelled;
    };
    services.passwordDialog = [&passwordDialog](const QString& userName) { passwordDialog.run(userName, true); };
    services.arguments = QCoreApplication::arguments().mid(1);
    services.programFile = QCoreApplication::applicationFilePath();
    services.currentFolder = QDir::currentPath();
    mainWindow->attach(services);

    int status = 0;
    QObject::connect(mainWindow.get(), &TFmMain::started, &app, [&status](bool ok) {
        if (!ok)
            status = 1;
    });
    mainWindow->show();
    const int result = app.exec();
    mainWindow.reset();
    return status != 0 ? status : result;
}
