// The attendance register in a real browser window: codes typed into the
// grid, commands acting on the column chosen in it, and the columns, title
// and command texts following the module from the day to the month view
// and back.

#include "attendance/obecn_columns.h"
#include "attendance/tdm_obecn.h"
#include "browser/area_registry.h"
#include "browser/key_value_settings.h"
#include "browser/ui/record_grid.h"
#include "browser/ui/record_model.h"
#include "browser/ui/tfm_kartot.h"
#include "browser/ui/ui_window_opener.h"
#include "shell/function_names.h"
#include "store/database.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/table.h"
#include "store/tdm_baza.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const QString editQ = QStringLiteral("Chcesz edytować listę obecności?");

class AttendanceWindow : public EngineTest {
protected:
    AttendanceWindow() : windows(settings) {}

    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        baza = std::make_unique<TDMBaza>(store->location());
        baza->database().setCredentials({rights::masterCredential()});
        context = std::make_unique<RunContext>(RunContext{*baza, prompts, windows, areas, CurrentLogin{}, Parameters{},
                                                          Institution{}, RunSettings{}, nullptr});
        context->login.userCode = -1;
        context->login.functions = functions::allFunctionNames();
        context->login.visibleGroups = {QStringLiteral("-1")};
        windows.setContext(context.get());
        baza->setSystemDate(QDate(2024, 3, 5));  // a Tuesday

        sql("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Motylki', 1)");
        const int group = sql("SELECT KOD FROM KLASY").toInt();
        for (const char* name : {"Ala", "Bartek"})
            Query(baza->database(), "INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY) VALUES (:N, 'Polna', :K, 'T')")
                .bind("N", QString::fromUtf8(name))
                .bind("K", group)
                .exec();
        ala = sql("SELECT KOD FROM DZIECI WHERE NAZWA = 'Ala'").toInt();
    }
    void TearDown() override
    {
        for (TFmKartot* w : windows.windows())
            delete w;
    }

    QVariant sql(const QString& text)
    {
        Query q(baza->database(), text);
        q.exec();
        return q.returnsRows() && q.next() ? q.value(0) : QVariant();
    }
    QString storedCode(int child, QDate day)
    {
        Query q(baza->database(), "SELECT OBECNY FROM OBECN WHERE OSOBA = :O AND DATA = :D");
        q.bind("O", child).bind("D", day).exec();
        return q.next() ? q.value(0).toString() : QString();
    }
    static QStringList headers(TFmKartot* w)
    {
        QStringList out;
        const QHeaderView* h = w->grid()->horizontalHeader();
        for (int visual = 0; visual < w->model()->columns(); ++visual)
            out << w->model()->headerData(h->logicalIndex(visual), Qt::Horizontal, Qt::DisplayRole).toString().replace(
                '\n', ' ');  // a day's caption stands over its weekday
        return out;
    }
    static void goTo(TFmKartot* w, int row, const QString& field)
    {
        const int column = w->model()->columnOf(field);
        ASSERT_GE(column, 0) << field.toStdString();
        w->grid()->setCurrentIndex(w->model()->index(row, column));
    }
    static QString toolbarText(TFmKartot* w, QAction* a)
    {
        auto* b = qobject_cast<QToolButton*>(w->toolbar()->widgetForAction(a));
        return b ? b->text() : QStringLiteral("(brak przycisku)");
    }

    MemorySettings settings;
    UiWindowOpener windows;
    ScriptedPrompts prompts;
    AreaRegistry areas;
    std::unique_ptr<TDMBaza> baza;
    std::unique_ptr<RunContext> context;
    int ala = 0;
};

}  // namespace

TEST_P(AttendanceWindow, TypedCodesCommandsAndTheGridFollowingTheView)
{
    using namespace obecn;
    auto owned = std::make_unique<TDMObecn>(*context, &settings);
    TDMObecn* m = owned.get();
    TDMDane::openAsWindow(std::move(owned), m->title());
    TFmKartot* w = windows.last();
    ASSERT_TRUE(w);
    w->resize(1200, 500);
    DataSet& ds = m->children();
    QAction* monthView = w->commandAction(ds.command("Miesiac1"));
    QAction* nextStep = w->commandAction(ds.command("Nastepny1"));
    QAction* present = w->commandAction(ds.command("Obecnosc1"));
    ASSERT_TRUE(monthView && nextStep && present);

    EXPECT_EQ(w->windowTitle(), "Lista obecności na: wtorek 5 marca 2024");
    const QStringList dayHeaders = headers(w);
    EXPECT_TRUE(dayHeaders.contains("Obecność, Wt 5 mar 2024"));
    EXPECT_TRUE(dayHeaders.contains("Czas przyjścia"));
    EXPECT_FALSE(dayHeaders.contains("5 Wt"));

    // A code typed into the day's column is stored and shown.
    ASSERT_TRUE(ds.table->locate({"KOD"}, {ala}));
    const int alaRow = ds.table->position();
    goTo(w, alaRow, field::code());
    prompts.expectYesNo(editQ, true);
    QTest::keyClick(w->grid(), Qt::Key_T);
    EXPECT_EQ(storedCode(ala, QDate(2024, 3, 5)), "T");
    EXPECT_EQ(w->model()->index(alaRow, w->model()->columnOf(field::code())).data().toString(), "T");

    // The user's width of a column survives the columns being redone.
    const int streetColumn = w->model()->columnOf("ULICA");
    w->grid()->setColumnWidth(streetColumn, 222);

    prompts.expectText("Widok miesiąca", "Zakres dni:", "1-31");
    monthView->trigger();
    EXPECT_EQ(w->windowTitle(), "Lista obecności na: marzec 2024");
    QStringList monthHeaders = headers(w);
    EXPECT_FALSE(monthHeaders.contains("Czas przyjścia"));
    EXPECT_FALSE(monthHeaders.contains("Obecność, Wt 5 mar 2024"));
    EXPECT_TRUE(monthHeaders.contains("5 Wt"));
    EXPECT_TRUE(monthHeaders.contains("31 N"));
    EXPECT_EQ(w->model()->columns(), 4 + 1 + 31 + 1);
    // The days come in after the paid time; the time less classes stays last.
    EXPECT_EQ(monthHeaders.indexOf("1 Pt"), monthHeaders.indexOf("Czas płatny") + 1);
    EXPECT_EQ(monthHeaders.last(), "Czas pł.-zaj.dod.");
    EXPECT_EQ(w->grid()->columnWidth(w->model()->columnOf("ULICA")), 222);
    EXPECT_EQ(nextStep->text(), "Następny miesiąc sprawdzania obecności");
    EXPECT_EQ(toolbarText(w, nextStep), "Następny miesiąc");
    // Present without times: "t" in the month grid.
    EXPECT_EQ(w->model()->index(alaRow, w->model()->columnOf(field::day(5))).data().toString(), "t");

    // Ctrl+T acts on the day column chosen in the grid.
    goTo(w, alaRow, field::day(7));
    prompts.expectYesNo(editQ, true);
    present->trigger();
    EXPECT_EQ(storedCode(ala, QDate(2024, 3, 7)), "T");
    EXPECT_EQ(w->model()->index(alaRow, w->model()->columnOf(field::day(7))).data().toString(), "t");

    nextStep->trigger();
    EXPECT_EQ(w->windowTitle(), "Lista obecności na: kwiecień 2024");
    monthHeaders = headers(w);
    EXPECT_TRUE(monthHeaders.contains("5 Pt"));
    EXPECT_TRUE(monthHeaders.contains("30 Wt"));
    EXPECT_EQ(w->model()->columns(), 4 + 1 + 30 + 1);

    monthView->trigger();  // back to the day view, on 5 April
    EXPECT_EQ(w->windowTitle(), "Lista obecności na: piątek 5 kwietnia 2024");
    EXPECT_TRUE(headers(w).contains("Obecność, Pt 5 kwi 2024"));
    EXPECT_EQ(headers(w).size(), dayHeaders.size());
    EXPECT_EQ(w->grid()->columnWidth(w->model()->columnOf("ULICA")), 222);
    EXPECT_EQ(toolbarText(w, nextStep), "Następny dzień");

    // The children list takes no rows and gives none away: no question, no message.
    const qsizetype messages = prompts.shown().size();
    auto* add = w->findChild<QToolButton*>("Dodaj");
    ASSERT_TRUE(add);
    add->click();
    EXPECT_FALSE(ds.table->isEditing());
    QTest::keyClick(w->grid(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(ds.table->rowCount(), 2);
    w->pasteText("Zenon\tPolna\r\n");
    EXPECT_FALSE(ds.table->isEditing());
    EXPECT_EQ(prompts.shown().size(), messages);
    EXPECT_TRUE(prompts.done());
}

TEST_P(AttendanceWindow, TheMonthFitsAScreenWithTheNamesInPlace)
{
    using namespace obecn;
    auto owned = std::make_unique<TDMObecn>(*context, &settings);
    TDMObecn* m = owned.get();
    TDMDane::openAsWindow(std::move(owned), m->title());
    TFmKartot* w = windows.last();
    ASSERT_TRUE(w);
    w->resize(1280, 700);
    prompts.expectText("Widok miesiąca", "Zakres dni:", "1-31");
    w->commandAction(m->children().command("Miesiac1"))->trigger();
    w->show();
    QApplication::processEvents();

    auto* grid = qobject_cast<RecordGrid*>(w->grid());
    ASSERT_TRUE(grid);
    const auto column = [w](const QString& field) { return w->model()->columnOf(field); };
    // The names stay in place over the days scrolling under them.
    ASSERT_EQ(grid->frozenCount(), grid->horizontalHeader()->visualIndex(column("NAZWA")) + 1);
    QTableView* frozen = grid->frozenView();
    ASSERT_TRUE(frozen && frozen->isVisible());
    EXPECT_FALSE(frozen->isColumnHidden(column("NAZWA")));
    EXPECT_TRUE(frozen->isColumnHidden(column(field::day(1))));
    EXPECT_TRUE(frozen->isColumnHidden(column("ULICA")));
    EXPECT_EQ(frozen->width(), grid->columnWidth(column("NAZWA")));

    // A day is as narrow as its code and its caption over two lines.
    const int dayWidth = grid->columnWidth(column(field::day(15)));
    EXPECT_LT(dayWidth, QFontMetrics(grid->horizontalHeader()->font()).horizontalAdvance("15 Pt"));
    // Scrolled to the end, every day of March is in sight beside the names.
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    for (int d = 1; d <= 31; ++d) {
        const QRect r = grid->visualRect(w->model()->index(0, column(field::day(d))));
        EXPECT_GE(r.left(), grid->frozenWidth()) << d;
        EXPECT_LE(r.right(), grid->viewport()->width()) << d;
    }
    // Choosing a day column that sits under the names brings it out.
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    const QModelIndex street = w->model()->index(0, column("ULICA"));
    grid->scrollTo(street);
    EXPECT_GE(grid->visualRect(street).left(), grid->frozenWidth());
    EXPECT_TRUE(prompts.done());
}

// Attendance written past this window (another station) shows on "Odśwież"
// and when the window becomes active again, not only after a new day.
TEST_P(AttendanceWindow, RefreshAndActivationShowRowsWrittenElsewhere)
{
    using namespace obecn;
    auto owned = std::make_unique<TDMObecn>(*context, &settings);
    TDMObecn* m = owned.get();
    TDMDane::openAsWindow(std::move(owned), m->title());
    TFmKartot* w = windows.last();
    ASSERT_TRUE(w);
    ASSERT_TRUE(m->children().table->locate({"KOD"}, {ala}));
    const int alaRow = m->children().table->position();
    auto cell = [&](const QString& field) {
        return w->model()->index(alaRow, w->model()->columnOf(field)).data().toString();
    };
    EXPECT_EQ(cell(field::code()), "");

    Database other(store->location());
    other.open();
    other.setCredentials({rights::masterCredential()});
    Query(other, "INSERT INTO OBECN (OSOBA, DATA, OBECNY, CZASP) VALUES (:O, '2024-03-05', 'T', '07:40')")
        .bind("O", ala)
        .exec();
    w->refresh();
    EXPECT_EQ(cell(field::code()), "T");
    EXPECT_EQ(cell(field::arrival()), "07:40");

    Query(other, "UPDATE OBECN SET OBECNY = 'Z', CZASP = NULL WHERE OSOBA = :O").bind("O", ala).exec();
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(w, &deactivate);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(w, &activate);
    QApplication::processEvents();
    EXPECT_EQ(cell(field::code()), "Z");
    EXPECT_EQ(cell(field::arrival()), "");
    EXPECT_TRUE(prompts.done());
}

// With the cursor on an extra class, the commands (keys, menu, toolbar)
// enter the day's code and times; only a code typed into the cell marks
// the class.
TEST_P(AttendanceWindow, CommandsOnAnExtraClassColumnEnterTheDay)
{
    using namespace obecn;
    sql("INSERT INTO ZAJDOD (KOD, NAZWA, KOLEJ) VALUES (1, 'Rytmika', 1)");
    sql("INSERT INTO ZAJDAT (ZAJECIE, DZIENTYG, ODDATY, CZASP, CZASW) VALUES (1, '2', '2024-01-01', '14:00', '14:45')");
    Query(baza->database(), "INSERT INTO DZIEZAJ (OSOBA, ZAJECIE, ODDATY) VALUES (:O, 1, '2024-01-01')").bind("O", ala).exec();
    auto owned = std::make_unique<TDMObecn>(*context, &settings);
    TDMObecn* m = owned.get();
    TDMDane::openAsWindow(std::move(owned), m->title());
    TFmKartot* w = windows.last();
    ASSERT_TRUE(w);
    w->resize(1200, 500);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    ASSERT_TRUE(headers(w).contains("Rytmika (14:00 - 14:45)"));
    ASSERT_TRUE(m->children().table->locate({"KOD"}, {ala}));
    const int alaRow = m->children().table->position();
    const QString classField = field::extraClass(1);

    goTo(w, alaRow, classField);
    prompts.expectYesNo(editQ, true);
    prompts.expectTimeText("Określ", "07:30");
    QTest::keyClick(w->grid(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(storedCode(ala, QDate(2024, 3, 5)), "T");
    EXPECT_EQ(sql("SELECT CZASP FROM OBECN WHERE OSOBA = " + QString::number(ala)).toTime(), QTime(7, 30));

    goTo(w, alaRow, classField);
    auto* present = qobject_cast<QToolButton*>(w->toolbar()->widgetForAction(w->commandAction(m->children().command("Nieobecnosc1"))));
    ASSERT_TRUE(present);
    prompts.expectYesNo(QStringLiteral("Skasować czas przyjścia i wyjścia dla Ala, Polna?"), true);
    present->click();
    EXPECT_EQ(storedCode(ala, QDate(2024, 3, 5)), "N");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM ZAJODB").toInt(), 0);

    // Typed into the class cell, the code marks the class (held from now on).
    goTo(w, alaRow, classField);
    QTest::keyClick(w->grid(), Qt::Key_T);
    EXPECT_EQ(sql("SELECT COUNT(*) FROM ZAJODB").toInt(), 1);
    EXPECT_EQ(sql("SELECT OBECNY FROM ZAJOBEC").toString(), "T");
    EXPECT_EQ(storedCode(ala, QDate(2024, 3, 5)), "N");
    EXPECT_TRUE(prompts.done());
}

INSTANTIATE_ENGINES(AttendanceWindow);
