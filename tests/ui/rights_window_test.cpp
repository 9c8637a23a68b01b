// The rights window and its level dialog as the administrator works them:
// the tree following the users register, granting a table and a field, and
// a level dialog that waits for a click and always lets the user cancel.

#include "browser/area_registry.h"
#include "browser/run_context.h"
#include "shell/rights_descriptors.h"
#include "shell/tdm_uzyt.h"
#include "shell/ui/rights_level_dialog.h"
#include "shell/ui/rights_window.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/table.h"
#include "store/tdm_baza.h"
#include "support/recording_opener.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <QAction>
#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

TEST(RightsLevelDialogTest, WaitsForAClickAndAlwaysCancels)
{
    TDlPrawa table(QStringLiteral("Prawa tabeli DZIECI"), false, 3);
    EXPECT_EQ(table.levels()->buttons().size(), 6);
    EXPECT_TRUE(table.levels()->button(3)->isChecked());
    EXPECT_FALSE(table.okButton()->isEnabled());
    EXPECT_TRUE(table.cancelButton()->isEnabled());
    table.show();
    QTest::keyClick(&table, Qt::Key_Escape);
    EXPECT_EQ(table.result(), QDialog::Rejected);

    // A field shown above "Czyta" starts on "Wszystko"; OK returns 0, 1 or 5.
    TDlPrawa field(QStringLiteral("Prawa pola PESEL"), true, 4);
    ASSERT_EQ(field.levels()->buttons().size(), 3);
    EXPECT_EQ(field.levels()->button(2)->text(), QStringLiteral("Wszystko"));
    EXPECT_TRUE(field.levels()->button(2)->isChecked());
    field.show();
    field.levels()->button(0)->click();
    EXPECT_TRUE(field.okButton()->isEnabled());
    EXPECT_EQ(field.level(), 0);
    field.levels()->button(2)->click();
    EXPECT_EQ(field.level(), 5);
    field.cancelButton()->click();
    EXPECT_EQ(field.result(), QDialog::Rejected);
}

TEST(RightsWindowTest, FollowsTheRegisterAndGrantsTablesAndFields)
{
    TestStore store(Engine::SQLite);
    TDMBaza baza(store.location());
    Database& db = baza.database();
    db.setCredentials({rights::masterCredential()});
    for (const char* name : {"ala", "ola"})
        Query(db, QStringLiteral("INSERT INTO UZYT (NAZWA, OPIS, AKTYWNY) VALUES (:N, :N, 'T')"))
            .bind(QStringLiteral("N"), QString::fromLatin1(name))
            .exec();
    ScriptedPrompts prompts;
    RecordingOpener opener;
    AreaRegistry areas;
    RunContext context{baza, prompts, opener, areas, CurrentLogin{}, Parameters{}, Institution{}, RunSettings{}, nullptr};
    context.login.functions = {QStringLiteral("Prawa dostepu")};
    TDMUzyt module(context);
    Table& users = *module.users().table;
    users.open();
    ASSERT_TRUE(users.locate({QStringLiteral("NAZWA")}, {QStringLiteral("ala")}));
    const QString ala = rights_editing::Subject::user(users.value(QStringLiteral("KOD")).toInt()).credential();

    TFmPrawa window(context, users, QLatin1Char('U'));
    QList<int> presets;
    int answer = 1;
    window.setLevelDialog([&](const QString&, bool, int& level) {
        presets << level;
        level = answer;
        return true;
    });
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Prawa dostępu ala"));
    EXPECT_EQ(window.tree()->topLevelItemCount(), db.tableNames().size());
    QTreeWidgetItem* children = window.tableNode(QStringLiteral("DZIECI"));
    ASSERT_NE(children, nullptr);
    ASSERT_EQ(children->childCount(), 1);  // the placeholder until expanded
    EXPECT_EQ(children->child(0)->text(0), QStringLiteral("Prawa"));

    // "&Dane praw" on the table: "Czyta" for the whole table.
    window.tree()->setCurrentItem(children);
    window.rightsAction()->trigger();
    EXPECT_EQ(rights_editing::readLevels(db, QStringLiteral("DZIECI"), ala).level, 1);

    // Expanded, the fields show; PESEL to "Nic".
    children = window.tableNode(QStringLiteral("DZIECI"));
    children->setExpanded(true);
    ASSERT_EQ(children->childCount(), db.fields(QStringLiteral("DZIECI")).size());
    QTreeWidgetItem* pesel = nullptr;
    for (int i = 0; i < children->childCount(); ++i)
        if (children->child(i)->text(0) == QLatin1String("PESEL"))
            pesel = children->child(i);
    ASSERT_NE(pesel, nullptr);
    window.tree()->setCurrentItem(pesel);
    answer = 0;
    window.rightsAction()->trigger();
    EXPECT_EQ(presets, (QList<int>{0, 5}));
    const rights_editing::TableLevels levels = rights_editing::readLevels(db, QStringLiteral("DZIECI"), ala);
    EXPECT_EQ(levels.level, 1);
    for (const rights_editing::FieldLevel& f : levels.fields)
        EXPECT_EQ(f.level, f.name == QLatin1String("PESEL") ? 0 : 5) << f.name.toStdString();
    EXPECT_EQ(window.tree()->currentItem()->text(0), QStringLiteral("PESEL"));

    // "Prawa &wybranych tabel": one level for the tables checked.
    answer = 2;
    prompts.expectChecks(QStringLiteral("Wybierz tabele"), {QStringLiteral("KLASY"), QStringLiteral("WPLATY")});
    window.selectedTablesAction()->trigger();
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(rights_editing::readLevels(db, QStringLiteral("KLASY"), ala).level, 2);
    EXPECT_EQ(rights_editing::readLevels(db, QStringLiteral("WPLATY"), ala).level, 2);

    // Another row of the register: the title and the tree follow it.
    ASSERT_TRUE(users.locate({QStringLiteral("NAZWA")}, {QStringLiteral("ola")}));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Prawa dostępu ola"));
    EXPECT_EQ(window.tableNode(QStringLiteral("DZIECI"))->data(0, Qt::UserRole).toInt(), 0);
}
