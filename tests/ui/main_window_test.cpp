// The main window on the screen: the first showing, actions built from the
// commands, hints in the status line, window commands checked while their
// window is open, and closing with the backup question.

#include "browser/area_registry.h"
#include "browser/key_value_settings.h"
#include "browser/message_log.h"
#include "browser/run_context.h"
#include "browser/ui/tfm_kartot.h"
#include "browser/ui/ui_window_opener.h"
#include "shell/tdm_ochrona.h"
#include "shell/ui/main_window.h"
#include "store/tdm_baza.h"
#include "support/browser_run.h"
#include "support/recording_opener.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QToolButton>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

TEST(MainWindowUi, FirstShowingBuildsTheBarAndClosingAsksForBackup)
{
    TestStore store(Engine::SQLite);
    TDMBaza baza(store.location());
    TDMOchrona security(baza.database());
    ScriptedPrompts prompts;
    RecordingOpener opener;
    AreaRegistry areas;
    QStringList opened;
    areas.add("Dzieci", [&](RunContext&, const QVariantMap& args) { opened << args.value("title").toString(); });
    RunContext context{baza, prompts, opener, areas, {}, {}, {}, {}};
    MemorySettings settings;
    MessageLog messages;
    QTemporaryDir dir;

    TFmMain window;
    MainServices services{context, security, settings, window, window, messages, {}, {}, {"admin", "tebov"}, {},
                          dir.path()};
    window.attach(services);
    QSignalSpy started(&window, &TFmMain::started);
    window.show();
    ASSERT_TRUE(started.wait(5000));
    EXPECT_TRUE(started.first().first().toBool());

    EXPECT_EQ(window.windowTitle(), "Lunawa - admin");
    EXPECT_FALSE(window.about()->isVisible());
    EXPECT_TRUE(window.about()->text().startsWith("Przedszkole Testowe\n"));
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);  // no size of the user's own yet

    ASSERT_TRUE(window.action("Dzieci1"));
    EXPECT_TRUE(window.action("Dzieci1")->isVisible());
    EXPECT_FALSE(window.action("Wychowawcy1")->isVisible());
    EXPECT_TRUE(window.action("Datasystemu1")->text().startsWith("&Data systemu: "));
    EXPECT_TRUE(window.action("Filtrujnadat1")->isChecked());
    EXPECT_EQ(window.toolBar()->actions().first(), window.action("Dzieci1"));
    EXPECT_FALSE(window.action("Dzieci1")->icon().isNull());  // pictures come with the toolbar

    window.action("Dzieci1")->showStatusText(&window);
    EXPECT_EQ(window.statusBar()->currentMessage(), "Kartoteka dzieci");
    window.action("Dzieci1")->trigger();
    EXPECT_EQ(opened, QStringList{"Dzieci"});

    // Cancel keeps the program running; No closes and writes the settings.
    prompts.expectYesNoCancel("Chcesz wykonać kopie bazy?", Answer::Cancel);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    prompts.expectYesNoCancel("Chcesz wykonać kopie bazy?", Answer::No);
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(prompts.done());
    EXPECT_TRUE(settings.text("Main", "Buttons").startsWith("Dzieci1\r\n"));
    EXPECT_EQ(settings.value("Main", "Width").toInt(), window.width());
}

// A register command is checked, its button pressed, while its browser is
// open; chosen again it closes the browser.
TEST(MainWindowUi, RegisterCommandIsCheckedWhileItsWindowIsOpen)
{
    TestStore store(Engine::SQLite);
    TDMBaza baza(store.location());
    TDMOchrona security(baza.database());
    ScriptedPrompts prompts;
    MemorySettings settings;
    UiWindowOpener opener(settings);
    AreaRegistry areas;
    areas.add("Klasy", [](RunContext& ctx, const QVariantMap& args) {
        auto module = std::make_unique<KlasyModule>(ctx);
        TDMDane::openAsWindow(std::move(module), args.value("title").toString());
    });
    RunContext context{baza, prompts, opener, areas, {}, {}, {}, {}};
    opener.setContext(&context);
    MessageLog messages;
    QTemporaryDir dir;
    settings.setValue("Main", "Buttons", "Klasy1\r\n");

    TFmMain window;
    MainServices services{context, security, settings, window, window, messages, {}, {}, {"admin", "tebov"}, {},
                          dir.path()};
    window.attach(services);
    QSignalSpy started(&window, &TFmMain::started);
    window.show();
    ASSERT_TRUE(started.wait(5000));

    QAction* groups = window.action("Klasy1");
    ASSERT_TRUE(groups && groups->isVisible());
    auto* button = qobject_cast<QToolButton*>(window.toolBar()->widgetForAction(groups));
    ASSERT_TRUE(button);
    EXPECT_FALSE(groups->isCheckable());  // no check box in the menu until it opens a window

    groups->trigger();
    ASSERT_EQ(opener.windows().size(), 1);
    QPointer<TFmKartot> browser = opener.windows().first();
    EXPECT_EQ(browser->windowTitle(), "Grupy dzieci");
    EXPECT_TRUE(groups->isChecked());
    EXPECT_TRUE(button->isChecked());

    // Closed by the user: the mark goes.
    browser->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(groups->isChecked());
    EXPECT_FALSE(button->isChecked());

    // Open again, then the button again: the window closes, nothing opens.
    button->click();
    ASSERT_EQ(opener.windows().size(), 1);
    browser = opener.windows().first();
    EXPECT_TRUE(button->isChecked());
    button->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(browser.isNull());
    EXPECT_TRUE(opener.windows().isEmpty());
    EXPECT_FALSE(groups->isChecked());
    EXPECT_FALSE(button->isChecked());

    prompts.expectYesNoCancel("Chcesz wykonać kopie bazy?", Answer::No);
    EXPECT_TRUE(window.close());
}

// A window of one main-window command docked in another's is opened and
// docked again with it, and each command keeps its own window.
TEST(MainWindowUi, DockedWindowOfAnotherCommandComesBackInside)
{
    TestStore store(Engine::SQLite);
    TDMBaza baza(store.location());
    TDMOchrona security(baza.database());
    ScriptedPrompts prompts;
    MemorySettings settings;
    UiWindowOpener opener(settings);
    AreaRegistry areas;
    for (const char* area : {"Klasy", "Wychowawcy"})
        areas.add(area, [](RunContext& ctx, const QVariantMap& args) {
            TDMDane::openAsWindow(std::make_unique<KlasyModule>(ctx), args.value("title").toString());
        });
    RunContext context{baza, prompts, opener, areas, {}, {}, {}, {}};
    opener.setContext(&context);
    MessageLog messages;
    QTemporaryDir dir;

    TFmMain window;
    MainServices services{context, security, settings, window, window, messages, {}, {}, {"admin", "tebov"}, {},
                          dir.path()};
    window.attach(services);
    QSignalSpy started(&window, &TFmMain::started);
    window.show();
    ASSERT_TRUE(started.wait(5000));
    MainController& main = *window.controller();

    main.run("Klasy1");
    main.run("Wychowawcy1");
    ASSERT_EQ(opener.windows().size(), 2);
    TFmKartot* groups = opener.windows().at(0);
    TFmKartot* educators = opener.windows().at(1);
    ASSERT_TRUE(groups->dock(*educators));
    QPointer<TFmKartot> hostGone = groups;
    groups->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(hostGone.isNull());
    EXPECT_TRUE(opener.windows().isEmpty());
    EXPECT_EQ(settings.text("Grupy dzieci", "Inside"), "&Wychowawcy");
    EXPECT_FALSE(main.isChecked("Wychowawcy1"));

    main.run("Klasy1");
    ASSERT_EQ(opener.windows().size(), 2);
    groups = opener.windows().at(0);
    ASSERT_EQ(groups->dockedWindows().size(), 1);
    EXPECT_EQ(groups->dockedWindows().first()->windowTitle(), "Wychowawcy");
    EXPECT_TRUE(main.isChecked("Klasy1"));
    EXPECT_TRUE(main.isChecked("Wychowawcy1"));
    EXPECT_EQ(main.windowsOf("Klasy1").size(), 1);  // the docked one is its own command's

    // Its own command closes the docked window; the host stays.
    main.run("Wychowawcy1");
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(groups->dockedWindows().isEmpty());
    EXPECT_TRUE(main.isChecked("Klasy1"));
    EXPECT_FALSE(main.isChecked("Wychowawcy1"));

    prompts.expectYesNoCancel("Chcesz wykonać kopie bazy?", Answer::No);
    EXPECT_TRUE(window.close());
    for (TFmKartot* w : opener.windows())
        delete w;
}
