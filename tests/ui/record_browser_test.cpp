#include "browser/key_value_settings.h"
#include "browser/ui/record_model.h"
#include "browser/ui/tfm_kartot.h"
#include "browser/ui/ui_window_opener.h"
#include "store/error.h"
#include "store/table.h"
#include "support/browser_run.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QSignalSpy>
#include <QToolButton>
#include <QFontMetrics>

#include <algorithm>
#include <gtest/gtest.h>

namespace {

class RecordBrowser : public ::testing::Test {
protected:
    RecordBrowser() : windows(settings), run(&windows)
    {
        windows.setContext(run.context.get());
        run.seed({{"Motylki", 1}, {"Żabki", 2}});
        DataSet& ds = run.module->klasy;
        Command open;
        open.name = "Okno";
        open.caption = "&Okno grup";
        open.label = "Okno";
        open.opensWindow = true;
        open.shortcut = "Ctrl+P";  // a generic key: the module's command wins
        open.handler = [this] { run.module->browse(run.module->klasy, "Drugie okno", run.module->klasy.command("Okno")); };
        Command other;
        other.name = "Inne";
        other.caption = "&Inne";
        other.label = "Inne";
        other.handler = [this] { ++otherRuns; };
        ds.commands = {open, Command::separatorLine(), other};
    }
    ~RecordBrowser() override
    {
        for (TFmKartot* w : windows.windows()) {
            if (w->table().isEditing())
                w->table().cancel();
            delete w;
        }
    }

    TFmKartot* openBrowser()
    {
        windows.browse(*run.module, run.module->klasy, "&Grupy", nullptr);
        TFmKartot* w = windows.last();
        w->resize(900, 400);
        return w;
    }

    // Types into the cell as a user would: the in-place editor, then Enter.
    static void typeInto(TFmKartot* w, int row, const QString& field, const QString& text)
    {
        QTableView* grid = w->grid();
        const QModelIndex i = w->model()->index(row, w->model()->columnOf(field));
        grid->setCurrentIndex(i);
        grid->edit(i);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (!editor)
            editor = grid->findChild<QLineEdit*>();
        ASSERT_TRUE(editor);
        editor->setText(text);
        emit grid->itemDelegate()->commitData(editor);
        emit grid->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }

    MemorySettings settings;
    UiWindowOpener windows;
    BrowserRun run;
    int otherRuns = 0;
};

QStringList captions(const QList<QAction*>& actions)
{
    QStringList out;
    for (QAction* a : actions)
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

}  // namespace

TEST_F(RecordBrowser, OpensWithMenusToolbarAndLayout)
{
    TFmKartot* w = openBrowser();
    EXPECT_EQ(w->windowTitle(), "Grupy");
    const QList<QAction*> menus = w->menuBar()->actions();
    EXPECT_EQ(captions(menus), (QStringList{"&Plik", "&Edycja", "&Dane", "&Ustawienia"}));
    EXPECT_EQ(captions(menus[0]->menu()->actions()),
              (QStringList{"&Wyszukaj", "-", "&Sortuj", "&Filtruj", "&Drukuj", "-", "Poprzednie", "Następne", "&Zamknij"}));
    EXPECT_EQ(captions(menus[1]->menu()->actions()), (QStringList{"Wy&tnij", "&Kopiuj", "Wk&lej"}));
    EXPECT_EQ(captions(menus[2]->menu()->actions()), (QStringList{"&Okno grup", "-", "&Inne"}));
    EXPECT_EQ(captions(menus[3]->menu()->actions()),
              (QStringList{"&Data systemu", "&Filtruj na datę systemu", "&Na wierzchu", "&Podwójne kliknięcie",
                           "Pasek &szybkiego dostępu", "&Arkusz danych"}));
    // Hidden items keep their keys.
    EXPECT_TRUE(w->actions().contains(w->action("Szukanie")));
    EXPECT_EQ(w->action("Szukanie")->shortcut(), QKeySequence("F3"));
    EXPECT_EQ(w->action("Wybrane")->shortcut(), QKeySequence("Ctrl+Shift+C"));
    // The module's Ctrl+P wins over "Poprzednie".
    EXPECT_TRUE(w->action("Poprzednie")->shortcut().isEmpty());
    EXPECT_EQ(w->commandAction(run.module->klasy.command("Okno"))->shortcut(), QKeySequence("Ctrl+P"));
    // Nothing stored: every command with an action on the toolbar, columns in field order.
    EXPECT_EQ(captions(w->toolbarActions()), (QStringList{"&Okno grup", "&Inne"}));
    EXPECT_EQ(w->model()->fieldAt(w->grid()->horizontalHeader()->logicalIndex(1)), "NAZWA");
    EXPECT_EQ(w->model()->rowCount(), 2);
    EXPECT_EQ(w->model()->index(1, 1).data().toString(), "Żabki");

    w->show();
    QApplication::processEvents();
    w->grab().save("/tmp/lunawa_browser.png");

    // The layout is kept under the window's key when it closes.
    w->grid()->horizontalHeader()->moveSection(2, 0);
    const int kolejWidth = w->grid()->columnWidth(w->model()->columnOf("KOLEJ"));
    w->close();
    QApplication::processEvents();
    EXPECT_EQ(settings.text("Grupy", "Pole: KOLEJ"), QString::number(100000 + kolejWidth));
    EXPECT_EQ(settings.text("Grupy", "Buttons"), "&Okno grup\r\n&Inne");
    TFmKartot* again = openBrowser();
    EXPECT_EQ(again->model()->fieldAt(again->grid()->horizontalHeader()->logicalIndex(0)), "KOLEJ");
}

TEST_F(RecordBrowser, TypeSaveAndCloseWithTheQuestion)
{
    TFmKartot* w = openBrowser();
    w->show();
    typeInto(w, 0, "NAZWA", "Motyle");
    EXPECT_EQ(w->table().state(), Table::State::Edit);
    EXPECT_EQ(w->model()->index(0, 1).data().toString(), "Motyle");
    run.prompts.expectYesNo("Zapisać zmiany?", true);
    EXPECT_TRUE(w->close());
    QApplication::processEvents();
    EXPECT_EQ(run.namesInOrder(), (QStringList{"Motyle", "Żabki"}));
    EXPECT_TRUE(run.prompts.done());
}

TEST_F(RecordBrowser, ClosingWhileInsertingAndAnsweringNoStoresNothing)
{
    TFmKartot* w = openBrowser();
    w->show();
    w->table().insert();
    EXPECT_EQ(w->model()->rowCount(), 3);
    typeInto(w, 2, "NAZWA", "Nowa");
    EXPECT_EQ(w->table().text("NAZWA"), "Nowa");
    run.prompts.expectYesNo("Zapisać zmiany?", false);
    EXPECT_TRUE(w->close());
    QApplication::processEvents();
    EXPECT_EQ(run.namesInOrder(), (QStringList{"Motylki", "Żabki"}));
    EXPECT_TRUE(run.prompts.done());
}

TEST_F(RecordBrowser, NavigatorInsertMakesTheNewRowCurrentOnAnEditableColumn)
{
    TFmKartot* w = openBrowser();
    w->show();
    auto* add = w->findChild<QToolButton*>(QStringLiteral("Dodaj"));
    ASSERT_TRUE(add);
    add->click();
    ASSERT_EQ(w->table().state(), Table::State::Insert);
    EXPECT_TRUE(w->model()->isInsertRow(w->grid()->currentIndex().row()));
    EXPECT_FALSE(w->model()->readOnly(w->grid()->currentIndex().column()));
    w->table().cancel();
}

TEST_F(RecordBrowser, SavedNewRowLosesItsInsertMarker)
{
    TFmKartot* w = openBrowser();
    w->show();
    w->table().insert();
    typeInto(w, 2, "NAZWA", "Nowa");
    EXPECT_EQ(w->model()->headerData(2, Qt::Vertical, Qt::DisplayRole).toString(), "*");
    QSignalSpy markers(w->model(), &QAbstractItemModel::headerDataChanged);
    w->table().post();
    ASSERT_EQ(w->model()->rowCount(), 3);
    bool verticalRepainted = false;
    for (const QList<QVariant>& args : markers)
        verticalRepainted |= args.at(0).value<Qt::Orientation>() == Qt::Vertical;
    EXPECT_TRUE(verticalRepainted);
    const int saved = w->table().position();
    EXPECT_EQ(w->model()->headerData(saved, Qt::Vertical, Qt::DisplayRole).toString(), "▶");
}

TEST_F(RecordBrowser, RefusedSaveOnCloseKeepsTheWindowOpen)
{
    run.module->klasy.table->events().beforePost = [](Table& t) {
        if (t.text("NAZWA").isEmpty())
            throw Error("Pole \"Nazwa\" musi posiadać wartość");
    };
    TFmKartot* w = openBrowser();
    w->show();
    typeInto(w, 1, "NAZWA", "");
    run.prompts.expectYesNo("Zapisać zmiany?", true);
    EXPECT_FALSE(w->close());
    EXPECT_EQ(run.prompts.shown().last(), "Pole \"Nazwa\" musi posiadać wartość");
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->table().isEditing());
    EXPECT_EQ(windows.windows().size(), 1);
    EXPECT_TRUE(run.prompts.done());
}

TEST_F(RecordBrowser, CommandOpensAndClosesItsWindowAndKeysFire)
{
    TFmKartot* w = openBrowser();
    w->show();
    w->activateWindow();
    Command* c = run.module->klasy.command("Okno");
    QAction* a = w->commandAction(c);
    a->trigger();
    ASSERT_EQ(windows.windows().size(), 2);
    EXPECT_TRUE(c->checked);
    EXPECT_TRUE(a->isChecked());
    EXPECT_EQ(windows.last()->windowTitle(), "Drugie okno");
    a->trigger();  // chosen again: its window closes
    QApplication::processEvents();
    EXPECT_EQ(windows.windows().size(), 1);
    EXPECT_FALSE(c->checked);
    EXPECT_FALSE(a->isChecked());

    // Quick search box (role "Szukaj") stays on a matching row.
    auto* box = w->findChild<QLineEdit*>("SzukajNAZWA");
    ASSERT_TRUE(box);
    w->table().setPosition(1);
    box->setText("ż");
    emit box->textEdited(box->text());
    EXPECT_EQ(w->table().position(), 1);
    box->setText("m");
    emit box->textEdited(box->text());
    EXPECT_EQ(w->table().position(), 0);

    // Copy through the menu action and paste back as two new rows.
    w->grid()->selectAll();
    run.prompts.expectYesNo("Z nagłówkami?", false);
    w->action("&Kopiuj")->trigger();
    w->pasteText(QGuiApplication::clipboard()->text());
    EXPECT_EQ(run.namesInOrder().size(), 4);
    EXPECT_TRUE(run.prompts.done());
}

TEST_F(RecordBrowser, PickModeChoosesTheRowForTheField)
{
    Table target(run.baza->database(), "DZIEKLA");
    target.open();
    target.insert();
    target.setValue("OSOBA", 3);

    browser::OpenRequest request{browser::OpenedFrom::PickField, "Grupa", true, false};
    QPointer<TFmKartot> w = new TFmKartot(run.module.get(), run.module->klasy, *run.context, settings, request, nullptr);
    w->setPickTarget(pick::Target{&target, {"KLASA"}, {"KOD"}});
    EXPECT_EQ(w->windowTitle(), "Grupa - WYBÓR");
    w->show();
    auto* chooseButton = w->findChild<QPushButton*>();
    ASSERT_TRUE(chooseButton);
    EXPECT_EQ(chooseButton->text(), "&Wybierz");
    EXPECT_TRUE(chooseButton->isVisible());
    w->selectOnly(1);
    const int zabki = w->table().asInt("KOD");
    // A double-click on the grid chooses in pick mode.
    const QModelIndex cell = w->model()->index(1, 1);
    const QPoint at = w->grid()->visualRect(cell).center();
    QTest::mouseClick(w->grid()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(w->grid()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(target.asInt("KLASA"), zabki);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    target.cancel();

    TFmKartot* plain = openBrowser();
    plain->show();
    bool anyChooseVisible = false;
    for (QPushButton* b : plain->findChildren<QPushButton*>())
        anyChooseVisible = anyChooseVisible || (b->text() == "&Wybierz" && b->isVisible());
    EXPECT_FALSE(anyChooseVisible);
}

namespace {

class FreeTimeModule : public TDMDane {
public:
    explicit FreeTimeModule(RunContext& context)
        : TDMDane(context, "TDMCzas"), czas(addDataSet("Czas", "CZASBEZP", "ODDATY"))
    {
        czas.table->open();  // the fields are known once it is open
        czas.addRemainingFields();
        czas.fields[0].caption = "Od daty";
    }
    DataSet& czas;
};

}  // namespace

TEST_F(RecordBrowser, FieldEditorsBehindTheEllipsis)
{
    FreeTimeModule m(*run.context);
    windows.browse(m, m.czas, "Czas bezpłatny", nullptr);
    TFmKartot* w = windows.last();
    w->show();
    w->table().insert();
    // The grid's cell editor of a date has a "..." button; a text column has none.
    const QModelIndex date = w->model()->index(0, w->model()->columnOf("ODDATY"));
    w->grid()->edit(date);
    bool dots = false;
    for (QToolButton* b : w->grid()->viewport()->findChildren<QToolButton*>())
        dots = dots || b->text() == "...";
    EXPECT_TRUE(dots);
    w->grid()->setFocus();

    run.prompts.expectDate("Od daty", QDate(2024, 9, 1));
    w->editField("ODDATY");
    EXPECT_EQ(w->table().asDate("ODDATY"), QDate(2024, 9, 1));
    run.prompts.expectTime("CZASP", QTime(7, 30));
    w->editField("CZASP");
    EXPECT_EQ(w->table().asTime("CZASP"), QTime(7, 30));
    run.prompts.expectYesNo("Zapisać zmiany?", true);
    EXPECT_TRUE(w->close());
    Table check(run.baza->database(), "CZASBEZP");
    check.open();
    ASSERT_EQ(check.rowCount(), 1);
    EXPECT_EQ(check.asTime("CZASP"), QTime(7, 30));
    EXPECT_TRUE(run.prompts.done());
}

// While the calculator is shown, a double-click in the grid hands it the cell.
TEST_F(RecordBrowser, DoubleClickFeedsTheShownCalculator)
{
    TFmKartot* w = openBrowser();
    QStringList fed;
    bool shown = false;
    TFmKartot::hooks().calculatorShown = [&] { return shown; };
    TFmKartot::hooks().feedCalculator = [&](const QString& v) { fed << v; };
    const QModelIndex kolej = w->model()->index(1, w->model()->columnOf(QStringLiteral("KOLEJ")));
    w->grid()->setCurrentIndex(kolej);
    emit w->grid()->doubleClicked(kolej);
    EXPECT_TRUE(fed.isEmpty());
    shown = true;
    emit w->grid()->doubleClicked(kolej);
    EXPECT_EQ(fed, QStringList{QStringLiteral("2")});
    TFmKartot::hooks().calculatorShown = nullptr;
    TFmKartot::hooks().feedCalculator = nullptr;
}

// The field a value goes to is the data-sheet editor last focused, else the grid's column.
TEST_F(RecordBrowser, CurrentFieldFollowsTheDataSheet)
{
    TFmKartot* w = openBrowser();
    w->show();
    const QModelIndex kolej = w->model()->index(0, w->model()->columnOf(QStringLiteral("KOLEJ")));
    w->grid()->setCurrentIndex(kolej);
    w->grid()->setFocus();
    EXPECT_EQ(w->currentField(), QStringLiteral("KOLEJ"));
    auto* sheetName = w->findChild<QLineEdit*>(QStringLiteral("ArkuszNAZWA"));
    ASSERT_TRUE(sheetName);
    sheetName->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(w->currentField(), QStringLiteral("NAZWA"));
}

// A window that is not a browser, opened by a command, toggles like one.
TEST_F(RecordBrowser, TrackedWindowKeepsItsCommandChecked)
{
    struct Watch : WindowOpener::Listener {
        QList<int> opened, closed;
        void windowOpened(WindowOpener::WindowId w, Command*) override { opened << w; }
        void windowClosed(WindowOpener::WindowId w) override { closed << w; }
    } watch;
    windows.addListener(&watch);
    Command* c = run.module->klasy.command("Okno");
    QPointer<QWidget> editor = new QWidget;
    editor->show();
    const WindowOpener::WindowId id = windows.track(editor, c);
    EXPECT_EQ(watch.opened, QList<int>{id});
    EXPECT_TRUE(c->checked);
    EXPECT_TRUE(windows.isOpen(id));
    EXPECT_TRUE(windows.windows().isEmpty());  // browsers only

    // Chosen again through the module's toggle: closed and gone.
    run.module->browse(run.module->klasy, "Drugie okno", c);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull());
    EXPECT_FALSE(c->checked);
    EXPECT_FALSE(windows.isOpen(id));
    EXPECT_EQ(watch.closed, QList<int>{id});
    EXPECT_FALSE(windows.closeWindow(id));
    windows.removeListener(&watch);
}

TEST_F(RecordBrowser, ValueChosenByTheModuleFromTheCell)
{
    int chosen = 0;
    run.module->klasy.field("NAZWA")->choose = [&] {
        ++chosen;
        run.module->klasy.table->edit();
        run.module->klasy.table->setValue("NAZWA", QStringLiteral("Wybrana %1").arg(chosen));
        return true;
    };
    TFmKartot* w = openBrowser();
    const QModelIndex name = w->model()->index(0, w->model()->columnOf("NAZWA"));
    w->grid()->setCurrentIndex(name);
    w->grid()->setFocus();

    // Enter and a double-click choose; typing does not reach the field.
    QTest::keyClick(w->grid(), Qt::Key_Return);
    EXPECT_EQ(chosen, 1);
    emit w->grid()->doubleClicked(name);
    EXPECT_EQ(chosen, 2);
    EXPECT_FALSE(w->model()->setData(name, "Wpisana", Qt::EditRole));
    EXPECT_EQ(w->table().text("NAZWA"), "Wybrana 2");

    // The cell's editor is a read-only line with the "..." that chooses.
    w->grid()->edit(name);
    QToolButton* dots = nullptr;
    for (QToolButton* b : w->grid()->viewport()->findChildren<QToolButton*>())
        if (b->text() == "...")
            dots = b;
    ASSERT_TRUE(dots);
    auto* line = dots->parentWidget()->findChild<QLineEdit*>();
    ASSERT_TRUE(line);
    EXPECT_TRUE(line->isReadOnly());
    dots->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(chosen, 3);
    w->table().post();
    EXPECT_TRUE(run.prompts.done());
}

TEST_F(RecordBrowser, RefusalsWithoutAMessageLeaveNothingBehind)
{
    run.module->klasy.table->events().onFieldChange = [](Table&, const QString& field) {
        if (field == "KOLEJ")
            throw Error(QString());
    };
    TFmKartot* w = openBrowser();
    w->show();
    run.prompts.setStrictMessages(true);  // an empty message box would fail here
    typeInto(w, 0, "KOLEJ", "9");
    QApplication::processEvents();
    EXPECT_FALSE(w->table().isEditing());
    EXPECT_EQ(w->table().valueAt(0, "KOLEJ").toInt(), 1);

    // A value typed before stays when a later one is refused.
    typeInto(w, 0, "NAZWA", "Sowy");
    QApplication::processEvents();
    typeInto(w, 0, "KOLEJ", "9");
    EXPECT_TRUE(w->table().isEditing());
    EXPECT_EQ(w->table().text("NAZWA"), "Sowy");
    w->table().cancel();
    EXPECT_TRUE(run.prompts.shown().isEmpty());
}

TEST_F(RecordBrowser, ColumnsAsWideAsTheirContentAndTheUsersWidthsKept)
{
    const QString longName = QStringLiteral("Wiewiórki integracyjne żółte");
    run.seed({{"Ala", 1}, {longName, 2}});
    TFmKartot* w = openBrowser();
    const QFontMetrics metrics(w->grid()->font());
    const auto width = [](TFmKartot* k, const char* field) { return k->grid()->columnWidth(k->model()->columnOf(field)); };
    // The longest name fits; "Kolejność" needs its caption, not its digits.
    EXPECT_GE(width(w, "NAZWA"), metrics.horizontalAdvance(longName));
    EXPECT_LE(width(w, "NAZWA"), metrics.horizontalAdvance(longName) + 40);
    EXPECT_GE(width(w, "KOLEJ"), metrics.horizontalAdvance(QStringLiteral("Kolejność")));
    EXPECT_LT(width(w, "KOLEJ"), width(w, "NAZWA"));

    // The user widens "Kod"; the others stay the content's.
    w->grid()->horizontalHeader()->resizeSection(w->model()->columnOf("KOD"), 177);
    w->close();
    QApplication::processEvents();
    EXPECT_EQ(settings.text("Grupy", "AutoWidths"), "NAZWA\r\nKOLEJ");

    // Reopened over other rows: the user's width stays, the others follow.
    run.seed({{"Ala", 1}, {"Ola", 2}});
    TFmKartot* again = openBrowser();
    EXPECT_EQ(width(again, "KOD"), 177);
    EXPECT_LT(width(again, "NAZWA"), metrics.horizontalAdvance(longName));
    EXPECT_GE(width(again, "NAZWA"), metrics.horizontalAdvance(QStringLiteral("Nazwa")));
}

TEST_F(RecordBrowser, HeaderClickSortsByAnOrderingOrInTheView)
{
    run.seed({{"Żabki", 1}, {"Ćmy", 2}, {"Biedronki", 3}, {"Czaple", 4}});
    TFmKartot* w = openBrowser();
    QHeaderView* h = w->grid()->horizontalHeader();
    const int nazwa = w->model()->columnOf("NAZWA");
    const int kolej = w->model()->columnOf("KOLEJ");
    const auto shown = [w, nazwa] {
        QStringList out;
        for (int r = 0; r < w->model()->rowCount(); ++r)
            out << w->model()->index(r, nazwa).data().toString();
        return out;
    };
    // The table's order is shown in the header.
    EXPECT_TRUE(h->isSortIndicatorShown());
    EXPECT_EQ(h->sortIndicatorSection(), kolej);

    // No ordering starts with the name: sorted in the view, Polish order.
    emit h->sectionClicked(nazwa);
    EXPECT_EQ(shown(), (QStringList{"Biedronki", "Czaple", "Ćmy", "Żabki"}));
    EXPECT_EQ(h->sortIndicatorSection(), nazwa);
    EXPECT_EQ(h->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(w->table().ordering(), "KOLEJ");
    emit h->sectionClicked(nazwa);
    EXPECT_EQ(shown(), (QStringList{"Żabki", "Ćmy", "Czaple", "Biedronki"}));
    EXPECT_EQ(h->sortIndicatorOrder(), Qt::DescendingOrder);
    // A grid row stands for its own table row: choosing, editing, copying.
    w->grid()->setCurrentIndex(w->model()->index(1, nazwa));
    EXPECT_EQ(w->table().text("NAZWA"), "Ćmy");
    EXPECT_EQ(w->model()->headerData(1, Qt::Vertical, Qt::DisplayRole).toString(), "▶");
    typeInto(w, 2, "NAZWA", "Czaple szare");
    ASSERT_TRUE(w->table().isEditing());
    EXPECT_EQ(w->table().text("KOLEJ"), "4");
    w->table().post();
    EXPECT_EQ(shown(), (QStringList{"Żabki", "Ćmy", "Czaple szare", "Biedronki"}));
    w->grid()->setCurrentIndex(w->model()->index(3, nazwa));
    EXPECT_EQ(w->selectedRows(), QList<int>{w->table().position()});
    EXPECT_EQ(w->table().text("NAZWA"), "Biedronki");

    // "Kod" has an ordering of the table: the table is ordered by it.
    emit h->sectionClicked(w->model()->columnOf("KOD"));
    EXPECT_EQ(w->table().ordering(), "KOD");
    EXPECT_EQ(shown(), (QStringList{"Żabki", "Ćmy", "Biedronki", "Czaple szare"}));
    EXPECT_EQ(h->sortIndicatorSection(), w->model()->columnOf("KOD"));
    EXPECT_EQ(w->table().text("NAZWA"), "Biedronki");
}
