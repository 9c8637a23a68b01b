// The main window on the screen: the first showing, actions built from the
// commands, hints in the status line, and closing with the backup question.

#include "browser/area_registry.h"
#include "browser/key_value_settings.h"
#include "browser/message_log.h"
#include "browser/run_context.h"
#include "shell/tdm_ochrona.h"
#include "shell/ui/main_window.h"
#include "store/tdm_baza.h"
#include "support/recording_opener.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <QAction>
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
    EXPECT_LT(window.height(), 150);  // a bar, not a window with a body

    ASSERT_TRUE(window.action("Dzieci1"));
    EXPECT_TRUE(window.action("Dzieci1")->isVisible());
    EXPECT_FALSE(window.action("Wychowawcy1")->isVisible());
    EXPECT_TRUE(window.action("Datasystemu1")->text().startsWith("&Data systemu: "));
    EXPECT_TRUE(window.action("Filtrujnadat1")->isChecked());
    EXPECT_EQ(window.toolBar()->actions().first(), window.action("Dzieci1"));

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
