// The module's own choice of a field's value, and refusals without a
// message, as the browser's operations meet them.

#include "browser/browser_controller.h"
#include "browser/clipboard_text.h"
#include "browser/key_value_settings.h"
#include "browser/row_actions.h"
#include "store/error.h"
#include "store/table.h"
#include "support/browser_run.h"

#include <gtest/gtest.h>

namespace {

class ModuleHooks : public ::testing::Test {
protected:
    ModuleHooks() { run.seed({{"Motylki", 1}, {"Żabki", 2}}); }
    Table& t() { return *run.module->klasy.table; }

    BrowserRun run;
    MemorySettings settings;
};

}  // namespace

TEST_F(ModuleHooks, ChoosingAValueKeepsOrUndoesTheEditAndStaysQuietOnASilentRefusal)
{
    DataSet& ds = run.module->klasy;
    browser::Controller c(run.module.get(), ds, *run.context, settings, browser::OpenRequest{});
    FieldView* name = ds.field("NAZWA");
    EXPECT_FALSE(c.hasChoice("NAZWA"));
    EXPECT_FALSE(c.chooseValue("NAZWA"));  // no choice: the field editor's turn
    EXPECT_FALSE(t().isEditing());

    QString next = "Wybrana";
    QString refusal;
    name->choose = [&] {
        t().edit();
        t().setValue("NAZWA", next);
        if (!refusal.isNull())
            throw Error(refusal);
        return true;
    };
    ASSERT_TRUE(c.hasChoice("NAZWA"));
    t().setPosition(0);
    EXPECT_TRUE(c.chooseValue("NAZWA"));
    // A chosen value waits in the edited row like a typed one.
    EXPECT_TRUE(t().isEditing());
    EXPECT_EQ(t().text("NAZWA"), "Wybrana");
    t().post();

    // Refused without a word: the edit the choice began is undone, nothing shown.
    refusal = "";
    next = "Odrzucona";
    EXPECT_TRUE(c.chooseValue("NAZWA"));
    EXPECT_FALSE(t().isEditing());
    EXPECT_EQ(t().text("NAZWA"), "Wybrana");
    EXPECT_TRUE(run.prompts.shown().isEmpty());

    // Refused with a message while the user was editing: the message, and the
    // user's own change stays.
    t().edit();
    t().setValue("KOLEJ", 7);
    refusal = "Nie wolno";
    EXPECT_TRUE(c.chooseValue("NAZWA"));
    EXPECT_TRUE(t().isEditing());
    EXPECT_EQ(t().value("KOLEJ").toInt(), 7);
    EXPECT_EQ(run.prompts.shown(), QStringList{"Nie wolno"});
    t().cancel();
}

TEST_F(ModuleHooks, SilentRefusalsOfDeletingAndPastingShowNothing)
{
    QString refusal = "";
    t().events().beforeDelete = [&](Table&) { throw Error(refusal); };
    run.prompts.expectYesNo("Usunąć wszystkie wskazane dane?", true);
    EXPECT_EQ(rows::removeSelected(run.prompts, t(), {0, 1}), 0);
    EXPECT_EQ(run.prompts.shown(), QStringList{"Usunąć wszystkie wskazane dane?"});
    EXPECT_EQ(t().rowCount(), 2);

    refusal = "Grupa ma dzieci";
    run.prompts.expectYesNo("Usunąć dane?", true);
    EXPECT_EQ(rows::removeSelected(run.prompts, t(), {1}), 0);
    EXPECT_EQ(run.prompts.shown().last(), "Grupa ma dzieci");

    t().events().onNewRecord = [](Table&) { throw Error(QString()); };
    const QList<clip::Column> columns = {{"NAZWA", "Nazwa", false}, {"KOLEJ", "Kolejność", false}};
    const int before = int(run.prompts.shown().size());
    const clip::PasteResult r = clip::paste(run.prompts, t(), columns, "Sowy\t5\r\nKoty\t6\r\n");
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.rows, 0);
    EXPECT_EQ(run.prompts.shown().size(), before);
    EXPECT_FALSE(t().isEditing());
    EXPECT_TRUE(run.prompts.done());
}
