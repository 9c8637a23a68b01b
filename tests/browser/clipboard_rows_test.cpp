#include "browser/cell_colours.h"
#include "browser/clipboard_text.h"
#include "browser/field_editors.h"
#include "browser/pick_assignment.h"
#include "browser/row_actions.h"
#include "support/browser_run.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

#include <gtest/gtest.h>

namespace {

const QList<clip::Column> kColumns = {{"KOD", "Kod", true}, {"NAZWA", "Nazwa", false}, {"KOLEJ", "Kolejność", false}};

}  // namespace

TEST(Clipboard, CopyWithAndWithoutHeader)
{
    BrowserRun run;
    run.seed({{"Motylki", 1}, {"Żabki", 2}, {"Biedronki", 3}});
    Table& t = *run.module->klasy.table;
    const QList<clip::Column> cols = {{"NAZWA", "Nazwa"}, {"KOLEJ", "Kolejność"}};
    // One selected row never gets a header, even when Yes is answered.
    run.prompts.expectYesNo("Z nagłówkami?", true);
    EXPECT_EQ(clip::copy(run.prompts, t, cols, {1}), "Żabki\t2\r\n");
    // Several rows in selection order, the header only with Yes.
    run.prompts.expectYesNo("Z nagłówkami?", true);
    EXPECT_EQ(clip::copy(run.prompts, t, cols, {2, 0}), "Nazwa\tKolejność\r\nBiedronki\t3\r\nMotylki\t1\r\n");
    run.prompts.expectYesNo("Z nagłówkami?", false);
    EXPECT_EQ(clip::copy(run.prompts, t, cols, {0, 1}), "Motylki\t1\r\nŻabki\t2\r\n");
    // No selection: the current row.
    t.setPosition(2);
    run.prompts.expectYesNo("Z nagłówkami?", true);
    EXPECT_EQ(clip::copy(run.prompts, t, cols, {}), "Biedronki\t3\r\n");
    // "Wybrane": only the checked columns.
    run.prompts.expectChecksWithOption("Skopiuj kolumny", {"Kolejność"}, "Tak");
    EXPECT_EQ(clip::copyChosen(run.prompts, t, cols, {0, 1}), "Kolejność\r\n1\r\n2\r\n");
    EXPECT_TRUE(run.prompts.done());
}

TEST(Clipboard, PasteOneLineLeavesTheRowOpenThreeLinesSaveThree)
{
    BrowserRun run;
    run.seed({});
    Table& t = *run.module->klasy.table;
    // The read-only, auto-numbered KOD piece is never written.
    clip::PasteResult r = clip::paste(run.prompts, t, kColumns, "77\tMotylki\t5\r\n");
    EXPECT_EQ(r.rows, 1);
    EXPECT_TRUE(r.leftOpen);
    EXPECT_EQ(t.state(), Table::State::Insert);
    EXPECT_EQ(t.text("NAZWA"), "Motylki");
    EXPECT_EQ(t.asInt("KOLEJ"), 5);
    t.post();
    EXPECT_NE(t.asInt("KOD"), 77);

    // A trailing line break makes no empty row.
    r = clip::paste(run.prompts, t, kColumns, "\tA\t1\r\n\tB\t2\r\n\tC\r\n");
    EXPECT_EQ(r.rows, 3);
    EXPECT_FALSE(r.leftOpen);
    EXPECT_EQ(t.state(), Table::State::Browse);
    EXPECT_EQ(run.namesInOrder(), (QStringList{"C", "A", "B", "Motylki"}));

    // A value that does not fit its field is left out, the row still comes.
    r = clip::paste(run.prompts, t, kColumns, "\tD\tdużo\n\tE\t9\n");
    EXPECT_EQ(r.rows, 2);
    EXPECT_EQ(run.positions().size(), 6);
    EXPECT_TRUE(run.prompts.done());
}

TEST(Clipboard, PasteAsksBeforeDiscardingAPendingEdit)
{
    BrowserRun run;
    run.seed({{"Motylki", 1}});
    Table& t = *run.module->klasy.table;
    t.edit();
    t.setValue("NAZWA", "Motyle");
    run.prompts.expectYesNoCancel("Zapisać zmiany?", Answer::Cancel);
    EXPECT_TRUE(clip::paste(run.prompts, t, kColumns, "\tX\t2\r\n\tY\t3").stopped);
    EXPECT_TRUE(t.isEditing());
    run.prompts.expectYesNoCancel("Zapisać zmiany?", Answer::Yes);
    EXPECT_EQ(clip::paste(run.prompts, t, kColumns, "\tX\t2\r\n\tY\t3").rows, 2);
    EXPECT_EQ(run.namesInOrder(), (QStringList{"Motyle", "X", "Y"}));

    // A row the rules refuse is shown and ends the paste.
    t.events().beforePost = [](Table& row) {
        if (row.text("NAZWA") == "Zła")
            throw Error("Nazwa nie może być \"Zła\"");
    };
    const clip::PasteResult r = clip::paste(run.prompts, t, kColumns, "\tDobra\t4\r\n\tZła\t5\r\n\tInna\t6\r\n");
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.rows, 1);
    EXPECT_EQ(run.prompts.shown().last(), "Nazwa nie może być \"Zła\"");
    EXPECT_EQ(run.namesInOrder(), (QStringList{"Motyle", "X", "Y", "Dobra"}));
    EXPECT_TRUE(run.prompts.done());
}

TEST(BrowserMultiDelete, ConfirmsOneOrSeveral)
{
    BrowserRun run;
    run.seed({{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}});
    Table& t = *run.module->klasy.table;
    run.prompts.expectYesNo("Usunąć wszystkie wskazane dane?", false);
    EXPECT_EQ(rows::removeSelected(run.prompts, t, {0, 2}), 0);
    EXPECT_EQ(t.rowCount(), 4);
    run.prompts.expectYesNo("Usunąć wszystkie wskazane dane?", true);
    EXPECT_EQ(rows::removeSelected(run.prompts, t, {2, 0}), 2);
    EXPECT_EQ(run.namesInOrder(), (QStringList{"B", "D"}));
    t.setPosition(1);
    run.prompts.expectYesNo("Usunąć dane?", true);
    EXPECT_EQ(rows::removeSelected(run.prompts, t, {}), 1);
    EXPECT_EQ(run.namesInOrder(), (QStringList{"B"}));
    EXPECT_TRUE(run.prompts.done());
}

TEST(RowOrder, MovesKeepPositionsUniqueAtEveryStep)
{
    BrowserRun run;
    run.seed({{"A", 1}, {"B", 2}, {"C", 5}});
    Table& t = *run.module->klasy.table;
    QList<QList<int>> seen;
    t.events().afterPost = [&](Table&) { seen << run.positions(); };

    t.setPosition(0);
    EXPECT_FALSE(rows::move(t, false));  // the first row up: nothing
    EXPECT_TRUE(seen.isEmpty());

    ASSERT_TRUE(rows::move(t, true));
    EXPECT_EQ(run.namesInOrder(), (QStringList{"B", "A", "C"}));
    EXPECT_EQ(t.text("NAZWA"), "A");  // the moved row stays current
    ASSERT_TRUE(rows::move(t, true));
    EXPECT_EQ(run.namesInOrder(), (QStringList{"B", "C", "A"}));
    EXPECT_EQ(run.positions(), (QList<int>{1, 2, 5}));
    EXPECT_FALSE(rows::move(t, true));  // the last row down: nothing
    ASSERT_EQ(seen.size(), 6);
    for (const QList<int>& step : seen)
        EXPECT_EQ(QSet<int>(step.begin(), step.end()).size(), 3);

    t.setOrdering("NAZWA");
    try {
        rows::move(t, true);
        FAIL() << "moved a row of a table not ordered by KOLEJ";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), "Sort zbioru musi być wg definiowalnej kolejności");
    }
    EXPECT_EQ(run.positions(), (QList<int>{1, 2, 5}));
}

TEST(BrowserCellColours, AttendanceTimesAndExtraCharges)
{
    using namespace paint;
    CellInput in;
    in.role = roles::attendance();
    in.fieldName = "D5";
    in.freeDays = QString("1,15");
    const auto at = [&](const QString& text) {
        in.text = text;
        return style(in);
    };
    EXPECT_EQ(at("T").background, rgb(0, 128, 0));
    EXPECT_TRUE(at("T").bold);
    EXPECT_EQ(at("T").text, kBlack);
    EXPECT_EQ(at("t").background, rgb(0, 240, 15));
    EXPECT_EQ(at("N").background, rgb(255, 0, 0));
    EXPECT_EQ(at("Z").background, rgb(255, 79, 0));
    EXPECT_EQ(at("_").background, rgb(255, 255, 0));
    EXPECT_FALSE(at("_").text);
    EXPECT_EQ(at(".").background, rgb(255, 255, 159));
    EXPECT_FALSE(at(" ").background);
    EXPECT_FALSE(at("").background);  // day 5 is not free
    in.fieldName = "D15";
    EXPECT_EQ(at("").background, kSilver);
    in.fieldName = "D1";
    in.freeDays = QString("11,15");
    EXPECT_FALSE(at("").background);  // by whole items: 1 is not in "11,15"
    in.freeDays = QString("1,15");
    in.mark = 2;
    EXPECT_FALSE(at("").background);
    in.mark = 0;
    in.freeDays.reset();
    EXPECT_FALSE(at("").background);

    CellInput time;
    time.role = roles::arrival();
    EXPECT_TRUE(style(time).bold);
    EXPECT_EQ(style(time).text, kBlack);

    CellInput ex;
    ex.role = roles::extraCharge();
    ex.expectedAmount = "10.00004";
    const auto charge = [&](const QVariant& v) {
        ex.value = v;
        return style(ex).background;
    };
    EXPECT_FALSE(charge(10.0));
    EXPECT_EQ(charge(9.9), kOrange);
    EXPECT_EQ(charge(12.0), kGreen);
    EXPECT_EQ(charge(QVariant()), kSilver);
    ex.expectedAmount = "10";
    EXPECT_EQ(charge(0.0), kRed);
    ex.groupCode = "3";
    ex.rowGroup = "4";
    EXPECT_FALSE(charge(0.0));  // a column of another group
    ex.rowGroup = "3";
    EXPECT_EQ(charge(0.0), kRed);

    CellInput calc;
    calc.calculated = true;
    EXPECT_EQ(style(calc).text, rgb(128, 0, 0));
    EXPECT_FALSE(style(CellInput{}).custom);
}

TEST(BrowserPick, EllipsisRulesAndAssignment)
{
    Table::Field f;
    f.def = FieldDef::of("ODDATY", FieldType::Date);
    EXPECT_EQ(editors::kindOf(f), editors::Kind::Date);
    f.def = FieldDef::of("CZASP", FieldType::Time);
    EXPECT_EQ(editors::kindOf(f), editors::Kind::Time);
    f.def = FieldDef::of("UWAGI", FieldType::Memo);
    EXPECT_EQ(editors::kindOf(f), editors::Kind::Memo);
    f.def = FieldDef::of("PLIK", FieldType::String, 200);
    EXPECT_EQ(editors::kindOf(f), editors::Kind::File);
    f.def = FieldDef::of("NAZWA", FieldType::String, 30);
    EXPECT_EQ(editors::kindOf(f), editors::Kind::None);
    f.kind = Table::FieldKind::Calculated;
    f.def = FieldDef::of("ODDATY", FieldType::Date);
    EXPECT_EQ(editors::kindOf(f), editors::Kind::None);

    BrowserRun run;
    run.seed({{"Motylki", 1}, {"Żabki", 2}, {"Biedronki", 3}});
    Table& groups = *run.module->klasy.table;
    Table target(run.baza->database(), "DZIEKLA");
    target.open();
    const pick::Target to{&target, {"KLASA"}, {"KOD"}};
    groups.setPosition(1);
    const int zabki = groups.asInt("KOD");
    target.insert();
    target.setValue("OSOBA", 7);
    ASSERT_TRUE(pick::assign(groups, to));
    EXPECT_EQ(target.asInt("KLASA"), zabki);
    target.post();

    // Multi-insert: the pending edit is offered first, then one row per selected row.
    target.edit();
    target.setValue("UWAGI", "zmiana");
    run.prompts.expectYesNoCancel("Zapisać zmiany?", Answer::No);
    EXPECT_EQ(pick::insertMany(run.prompts, groups, {0, 2}, to), 2);
    Query q(run.baza->database(), "SELECT COUNT(*) FROM DZIEKLA WHERE UWAGI IS NULL");
    q.exec();
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 3);
    EXPECT_EQ(target.rowCount(), 3);
    EXPECT_TRUE(run.prompts.done());
}
