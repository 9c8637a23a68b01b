// The "Plik" menu's Paradox entry follows whether the store is empty, and
// chosen on a store that filled up meanwhile it asks nothing.

#include "browser/area_registry.h"
#include "browser/key_value_settings.h"
#include "browser/run_context.h"
#include "browser/ui/tfm_kartot.h"
#include "browser/ui/ui_window_opener.h"
#include "maintenance/ui/paradox_migration_entry.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/tdm_baza.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

TEST(ParadoxMigrationEntry, ShownOnlyWhileTheStoreIsEmpty)
{
    TestStore store(Engine::SQLite);
    TDMBaza baza(store.location());
    baza.database().setCredentials({rights::masterCredential()});
    MemorySettings settings;
    UiWindowOpener windows(settings);
    AreaRegistry areas;
    ScriptedPrompts prompts;
    prompts.setStrictMessages(true);
    RunContext context{baza, prompts, windows, areas, {}, {}, {}, {}, nullptr};
    QMenu menu;
    int logins = 0;
    QAction* entry = installParadoxMigrationEntry(&menu, context, [&] { ++logins; });
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(menu.actions().contains(entry));
    EXPECT_TRUE(entry->isVisible());

    Query(baza.database(), "INSERT INTO DZIECI (NAZWA, ULICA) VALUES ('Adamska Ala', 'Polna 1')").exec();
    entry->trigger();  // no folder question on a filled store
    EXPECT_FALSE(entry->isVisible());
    entry->setVisible(true);
    emit menu.aboutToShow();
    EXPECT_FALSE(entry->isVisible());
    EXPECT_EQ(logins, 0);
}
