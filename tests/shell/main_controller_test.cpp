// The main window's logic on a real store: the first showing, one-group
// narrowing, logging in again and closing.

#include "browser/area_registry.h"
#include "browser/key_value_settings.h"
#include "browser/message_log.h"
#include "browser/run_context.h"
#include "shell/main_commands.h"
#include "shell/main_controller.h"
#include "shell/tdm_ochrona.h"
#include "store/database.h"
#include "store/ddl.h"
#include "store/query.h"
#include "store/schema.h"
#include "store/tdm_baza.h"
#include "support/browser_run.h"
#include "support/recording_opener.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct FakeView : MainView {
    QStringList log;
    QRect frame;
    void setTitle(const QString& t) override { log << "title " + t; }
    void setAboutText(const QString& t) override { log << "about " + t; }
    int commandChanges = 0;
    void commandsChanged() override { ++commandChanges; }
    void toolbarChanged() override {}
    bool maximized = false;
    void place(const QRect& f, bool max) override
    {
        frame = f;
        maximized = max;
        log << "place";
    }
    void setStayOnTop(bool) override {}
    void closeStartupNotice() override { log << "notice closed"; }
    void showAbout() override { log << "about shown"; }
    void setWaitCursor(bool) override {}
    void requestClose() override { log << "close requested"; }
    QRect availableGeometry() const override { return QRect(0, 0, 1024, 768); }
};

struct FakeWindows : OpenWindows {
    bool refuse = false;
    int calls = 0;
    bool closeAll() override
    {
        ++calls;
        return !refuse;
    }
};

class MainControllerTest : public ::testing::Test {
protected:
    void SetUp() override { store = std::make_unique<TestStore>(Engine::SQLite); }
    // The controller listens to the opener, so it goes first.
    void TearDown() override { controller.reset(); }

    // After changes to the store made through `store->connect()`.
    void start(QStringList arguments = {"admin", "tebov"})
    {
        baza = std::make_unique<TDMBaza>(store->location());
        security = std::make_unique<TDMOchrona>(baza->database());
        context = std::make_unique<RunContext>(RunContext{*baza, prompts, opener, areas, {}, {}, {}, {}, nullptr});
        MainServices services{*context, *security, settings, view, windows, messages, {}, {}, arguments, {}, dir.path()};
        services.loginDialog = [this] {
            view.log << "login dialog";
            if (dialogAnswers.isEmpty())
                return LoginResult::Cancelled;
            const auto [name, password] = dialogAnswers.takeFirst();
            return security->login(name, password) ? LoginResult::Accepted : LoginResult::EndProgram;
        };
        controller = std::make_unique<MainController>(services);
    }

    void registerAreas(const QStringList& names)
    {
        for (const QString& n : names)
            areas.add(n, [this, n](RunContext&, const QVariantMap& args) {
                opened << n + ": " + args.value("title").toString();
            });
    }

    int indexOf(const QString& prefix) const
    {
        for (int i = 0; i < view.log.size(); ++i)
            if (view.log[i].startsWith(prefix))
                return i;
        return -1;
    }

    QTemporaryDir dir;
    std::unique_ptr<TestStore> store;
    std::unique_ptr<TDMBaza> baza;
    std::unique_ptr<TDMOchrona> security;
    std::unique_ptr<RunContext> context;
    std::unique_ptr<MainController> controller;
    ScriptedPrompts prompts;
    RecordingOpener opener;
    AreaRegistry areas;
    MemorySettings settings;
    FakeView view;
    FakeWindows windows;
    MessageLog messages;
    QList<QPair<QString, QString>> dialogAnswers;
    QStringList opened;
    std::vector<std::unique_ptr<KlasyModule>> modules;
};

}  // namespace

TEST_F(MainControllerTest, FirstShowingInOrderWithCommandLineLogin)
{
    registerAreas({"Dzieci", "Uzytkownicy", "Przypomnienia"});
    settings.setValue("Main", "Przypomnienie", "Przy starcie");
    settings.setValue("Main", "Left", 5000);
    start();
    ASSERT_TRUE(controller->firstShow());

    EXPECT_FALSE(view.log.contains("login dialog"));  // two arguments log in
    EXPECT_EQ(controller->title(), "Lunawa - admin");
    EXPECT_EQ(controller->aboutText(),
              QString::fromUtf8("Przedszkole Testowe\nul. Słoneczna 1, Łódź\nIdentyfikator: admin, Hasło: tebov"));
    EXPECT_LT(indexOf("about "), indexOf("title "));
    EXPECT_LT(indexOf("title "), indexOf("place"));
    EXPECT_LT(indexOf("place"), indexOf("notice closed"));
    EXPECT_EQ(context->institution.clientNumber, 1234);
    EXPECT_FALSE(context->settings.oneGroupMode);
    EXPECT_TRUE(view.maximized);  // no size of the user's own

    // Only commands whose area is built, and the shell's own.
    EXPECT_TRUE(controller->isShown("Dzieci1"));
    EXPECT_FALSE(controller->isShown("Wychowawcy1"));
    EXPECT_TRUE(controller->isShown("Eksportuj1"));
    EXPECT_TRUE(controller->isShown("Synchronizacja1"));
    EXPECT_FALSE(controller->isShown("Grupy1"));
    EXPECT_EQ(controller->toolbar(), (QStringList{"Dzieci1", "Przypomnienia1", "Synchronizacja1", ""}));
    // Reminders at start ran through their command.
    EXPECT_EQ(opened, QStringList{"Przypomnienia: Przypomnienia"});
    EXPECT_TRUE(controller->caption("Datasystemu1").startsWith("&Data systemu: "));

    // A second showing does not log in again.
    view.log.clear();
    EXPECT_TRUE(controller->firstShow());
    EXPECT_TRUE(view.log.isEmpty());
}

TEST_F(MainControllerTest, WrongArgumentsFallBackToTheDialogAndCancelEnds)
{
    start({"admin", "zle"});
    EXPECT_FALSE(controller->firstShow());
    EXPECT_TRUE(view.log.contains("login dialog"));
    EXPECT_FALSE(controller->settingsLoaded());
    EXPECT_TRUE(controller->confirmClose());  // no question on the way out
    controller->saveSettings(QRect(1, 2, 3, 4));
    EXPECT_FALSE(settings.contains("Main", "Top"));
}

TEST_F(MainControllerTest, OneGroupStoreNarrowsTheMainCommands)
{
    {
        auto db = store->connect();
        Database::SystemAccess sys(*db);
        Query(*db, "DROP TABLE DZIECI").exec();
        for (const QString& sql : ddl::createTable(schema::oneGroupChildren(), Engine::SQLite))
            Query(*db, sql).exec();
    }
    registerAreas(mainmenu::areaNames());
    start();
    ASSERT_TRUE(controller->firstShow());
    EXPECT_TRUE(context->settings.oneGroupMode);
    for (const char* kept : {"Dzieci1", "Obecnosci1", "Naldodat1", "Informacje1", "Uzytkownicy1", "Grupy1",
                             "Eksportuj1", "Eksportujgrup1", "Stawkivat1", "Wprowadzanieczasu1"})
        EXPECT_TRUE(controller->isShown(kept)) << kept;
    for (const char* gone : {"Wychowawcy1", "Rozrachunki1", "Media1", "Zajciadodatkowe1", "Klasy1", "Konfiguracja1",
                             "Graniceobecnoci1", "Synchronizacja1"})
        EXPECT_FALSE(controller->isShown(gone)) << gone;
    EXPECT_TRUE(context->login.functions.contains("Zajecia dodatkowe obecnosci"));
    EXPECT_FALSE(context->login.functions.contains("Zajecia dodatkowe"));
    // The toolbar's default follows: only what is left of "&Dane".
    EXPECT_EQ(controller->toolbar().first(), "Dzieci1");
    EXPECT_FALSE(controller->toolbar().contains("Wychowawcy1"));

    // Narrowing holds after logging in again.
    dialogAnswers << qMakePair(QString("admin"), QString("tebov"));
    controller->run("Logowanie1");
    EXPECT_FALSE(controller->isShown("Wychowawcy1"));
    EXPECT_TRUE(controller->isShown("Dzieci1"));
}

TEST_F(MainControllerTest, CloseQuestionOnlyWithBackupRight)
{
    start();
    ASSERT_TRUE(controller->firstShow());
    prompts.expectYesNoCancel(MainController::closeQuestion(), Answer::Cancel);
    EXPECT_FALSE(controller->confirmClose());
    prompts.expectYesNoCancel(MainController::closeQuestion(), Answer::No);
    EXPECT_TRUE(controller->confirmClose());

    // Yes with a target that cannot be made: the message comes before closing.
    QFile blocker(dir.filePath("plik"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    prompts.expectYesNoCancel(MainController::closeQuestion(), Answer::Yes);
    prompts.expectSaveFile("Kopiuj bazę do", dir.filePath("plik/Kopia"));
    EXPECT_TRUE(controller->confirmClose());
    EXPECT_EQ(prompts.shown().last(), QString::fromUtf8("Nie można utworzyć ")
                                          + QDir::toNativeSeparators(dir.filePath("plik/Kopia")));
    EXPECT_TRUE(prompts.done());

    // A user without "Prawa dostepu" is not asked.
    {
        auto db = store->connect();
        Query(*db, "UPDATE UZYT SET FUNKCJE = 'Dzieci' WHERE NAZWA = 'admin'").exec();
    }
    dialogAnswers << qMakePair(QString("admin"), QString("tebov"));
    controller->run("Logowanie1");
    EXPECT_FALSE(controller->isShown("Eksportuj1"));
    EXPECT_TRUE(controller->confirmClose());
}

TEST_F(MainControllerTest, LoggingInAgainClosesWindowsFirstAndCancelKeepsTheLogin)
{
    registerAreas({"Dzieci"});
    start();
    ASSERT_TRUE(controller->firstShow());
    const QStringList credentials = baza->database().credentials();
    ASSERT_FALSE(credentials.isEmpty());

    // A window that keeps its unsaved edits stops the new login.
    windows.refuse = true;
    view.log.clear();
    controller->run("Logowanie1");
    EXPECT_EQ(windows.calls, 1);
    EXPECT_FALSE(view.log.contains("login dialog"));

    // Cancelling the dialog keeps the present login and its credentials.
    windows.refuse = false;
    controller->run("Logowanie1");
    EXPECT_TRUE(view.log.contains("login dialog"));
    EXPECT_EQ(baza->database().credentials(), credentials);
    EXPECT_EQ(context->login.userName, "admin");
    EXPECT_FALSE(view.log.contains("close requested"));

    // Another user: new title, commands and settings loaded again.
    settings.setValue("Main", "Buttons", "Dzieci1\r\nInformacje1\r\n");
    dialogAnswers << qMakePair(QString("kqvzat"), QString("wolpemix"));
    controller->run("Logowanie1");
    EXPECT_EQ(controller->title(), "Lunawa - ");
    EXPECT_EQ(controller->toolbar(), QStringList{"Dzieci1"});  // Informacje1 has no area here
}

TEST_F(MainControllerTest, SettingsTogglesAndSaving)
{
    start();
    ASSERT_TRUE(controller->firstShow());
    EXPECT_TRUE(controller->isChecked("Filtrujnadat1"));
    controller->run("Filtrujnadat1");
    EXPECT_FALSE(baza->systemDateFilter());
    controller->run("Wypukeprzyciski1");
    controller->run("Autoedycja1");
    EXPECT_TRUE(context->settings.raisedButtons);
    EXPECT_FALSE(context->settings.autoEdit);

    prompts.expectDate("Domyślna data systemu", QDate(2024, 3, 5));
    controller->run("Datasystemu1");
    EXPECT_EQ(controller->caption("Datasystemu1"), "&Data systemu: 05.03.2024");
    EXPECT_EQ(baza->systemDate(), QDate(2024, 3, 5));

    prompts.expectOrderedChecks("Lista dostępnych operacji");
    controller->customizeToolbar();
    controller->saveSettings(QRect(10, 20, 600, 80));
    EXPECT_EQ(settings.value("Main", "Left").toInt(), 10);
    EXPECT_EQ(settings.value("Main", "Width").toInt(), 600);
    EXPECT_EQ(settings.value("Main", "Wypukle przyciski").toBool(), true);
    EXPECT_EQ(settings.value("Main", "Auto edycja").toBool(), false);
    EXPECT_EQ(settings.value("Main", "Buttons").toString(), "Synchronizacja1\r\n");  // the picker drops a closing separator
    EXPECT_TRUE(prompts.done());
}

TEST_F(MainControllerTest, WindowCommandsStayCheckedWhileTheirWindowIsOpen)
{
    // "Dzieci" opens a browser; "Klasy" opens one and a modal one closes at once;
    // "Wychowawcy" opens nothing.
    const auto browse = [this](RunContext& ctx, const QString& title) {
        modules.push_back(std::make_unique<KlasyModule>(ctx));
        modules.back()->browse(modules.back()->klasy, title);
    };
    areas.add("Dzieci", [browse](RunContext& ctx, const QVariantMap& args) { browse(ctx, args.value("title").toString()); });
    areas.add("Klasy", [this, browse](RunContext& ctx, const QVariantMap&) {
        browse(ctx, "Modalne");
        opener.closeWindow(opener.open().last().id);
    });
    registerAreas({"Wychowawcy"});
    start();
    ASSERT_TRUE(controller->firstShow());

    controller->run("Dzieci1");
    EXPECT_EQ(opener.log(), QStringList{"opened Dzieci"});
    EXPECT_TRUE(controller->isChecked("Dzieci1"));
    EXPECT_EQ(controller->windowsOf("Dzieci1").size(), 1);

    // Chosen again: the window closes and nothing opens.
    controller->run("Dzieci1");
    EXPECT_EQ(opener.log(), (QStringList{"opened Dzieci", "closed Dzieci"}));
    EXPECT_FALSE(controller->isChecked("Dzieci1"));
    EXPECT_TRUE(opener.open().isEmpty());

    // A window that keeps its edits stays open, and its command checked.
    controller->run("Dzieci1");
    opener.clear();
    opener.refuseNextClose();
    controller->run("Dzieci1");
    EXPECT_TRUE(opener.log().isEmpty());
    EXPECT_TRUE(controller->isChecked("Dzieci1"));

    // Closed by the user: the check mark goes and the window is told to redraw.
    const int before = view.commandChanges;
    opener.closeWindow(opener.open().first().id);
    EXPECT_FALSE(controller->isChecked("Dzieci1"));
    EXPECT_GT(view.commandChanges, before);

    // A window closed before the command returns (modal) and a command that
    // opens nothing leave no check mark; running them again opens again.
    controller->run("Klasy1");
    EXPECT_FALSE(controller->isChecked("Klasy1"));
    controller->run("Wychowawcy1");
    controller->run("Wychowawcy1");
    EXPECT_FALSE(controller->isChecked("Wychowawcy1"));
    EXPECT_EQ(opened, (QStringList{"Wychowawcy: Wychowawcy", "Wychowawcy: Wychowawcy"}));
}
