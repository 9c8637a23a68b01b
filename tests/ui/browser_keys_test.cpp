// The browser's keys and editors as a user drives them: the calculator
// fed from the grid and the data sheet, the popups' keys, the clipboard
// outside the editors, "Auto edycja" off and a table the user may only read.

#include "browser/calculator.h"
#include "browser/key_value_settings.h"
#include "browser/ui/calculator_window.h"
#include "browser/ui/record_model.h"
#include "browser/ui/tfm_kartot.h"
#include "browser/ui/ui_window_opener.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/table.h"
#include "support/browser_run.h"

#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class BrowserKeys : public ::testing::Test {
protected:
    BrowserKeys() : windows(settings), run(&windows)
    {
        windows.setContext(run.context.get());
        run.seed({{"Motylki", 1}, {"Żabki", 2}});
        CalculatorWindow::install();
    }
    ~BrowserKeys() override
    {
        CalculatorWindow::shared().close();
        for (TFmKartot* w : windows.windows()) {
            if (w->table().isEditing())
                w->table().cancel();
            delete w;
        }
    }

    TFmKartot* openShown()
    {
        windows.browse(*run.module, run.module->klasy, "&Grupy", nullptr);
        TFmKartot* w = windows.last();
        w->resize(900, 400);
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        return w;
    }
    static void setCell(TFmKartot* w, int row, const QString& field)
    {
        w->grid()->setCurrentIndex(w->model()->index(row, w->model()->columnOf(field)));
    }
    static QLineEdit* sheetEditor(TFmKartot* w, const QString& field)
    {
        return w->findChild<QLineEdit*>(QStringLiteral("Arkusz") + field);
    }
    static QString expression() { return CalculatorWindow::shared().expressionBox()->text(); }

    MemorySettings settings;
    UiWindowOpener windows;
    BrowserRun run;
};

}  // namespace

// A value added after a number makes a sum; a negative one brings its own sign.
TEST(CalculatorTerms, DoubleClickedValuesAreAdded)
{
    calc::Calculator c;
    EXPECT_TRUE(c.feedTerm(QStringLiteral("309,10")));
    EXPECT_TRUE(c.feedTerm(QStringLiteral("266,20")));
    EXPECT_EQ(c.expression(), QStringLiteral("309,10+ 266,20"));
    EXPECT_EQ(c.result(), QStringLiteral("575,3"));
    EXPECT_TRUE(c.feedTerm(QStringLiteral("-5")));
    EXPECT_EQ(c.expression(), QStringLiteral("309,10+ 266,20-5"));
    c.setExpression(QStringLiteral("2*"), 2);
    EXPECT_TRUE(c.feedTerm(QStringLiteral("3")));
    EXPECT_EQ(c.expression(), QStringLiteral("2*3"));
    EXPECT_FALSE(c.feedTerm(QStringLiteral("Kowalska")));
    EXPECT_EQ(c.expression(), QStringLiteral("2*3"));
}

TEST_F(BrowserKeys, CalculatorIsFedFromTheGridAndTheDataSheet)
{
    TFmKartot* w = openShown();
    // Ctrl+K from the grid: the current cell.
    w->grid()->setFocus();
    setCell(w, 0, "KOLEJ");
    QTest::keyClick(w->grid(), Qt::Key_K, Qt::ControlModifier);
    ASSERT_TRUE(CalculatorWindow::shared().isVisible());
    EXPECT_EQ(expression(), QStringLiteral("1"));
    EXPECT_EQ(CalculatorWindow::shared().target(), w);

    // A double-click on a cell while it is shown adds that cell.
    const QModelIndex second = w->model()->index(1, w->model()->columnOf("KOLEJ"));
    const QPoint at = w->grid()->visualRect(second).center();
    QTest::mouseClick(w->grid()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(w->grid()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(expression(), QStringLiteral("1+ 2"));

    // So does a double-click in a data-sheet editor.
    QLineEdit* kolej = sheetEditor(w, "KOLEJ");
    ASSERT_TRUE(kolej);
    EXPECT_EQ(kolej->text(), QStringLiteral("2"));
    QTest::mouseDClick(kolej, Qt::LeftButton);
    EXPECT_EQ(expression(), QStringLiteral("1+ 2+ 2"));
    EXPECT_EQ(CalculatorWindow::shared().logic().result(), QStringLiteral("5"));

    // Ctrl+K in the sheet hands over the focused editor's value, not the
    // grid's cell (here a name, which is no number).
    CalculatorWindow::shared().close();
    setCell(w, 1, "NAZWA");
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    kolej->setFocus();
    QTest::keyClick(kolej, Qt::Key_K, Qt::ControlModifier);
    ASSERT_TRUE(CalculatorWindow::shared().isVisible());
    EXPECT_EQ(expression(), QStringLiteral("2"));
    EXPECT_EQ(kolej->text(), QStringLiteral("2"));  // the key did not cut the editor's text
}

TEST_F(BrowserKeys, PopupKeysWorkFromTheGridAndStayWithADockedWindow)
{
    TFmKartot* w = openShown();
    // Insert from the grid adds a row.
    w->grid()->setFocus();
    setCell(w, 0, "NAZWA");
    QTest::keyClick(w->grid(), Qt::Key_Insert);
    EXPECT_EQ(w->table().state(), Table::State::Insert);
    w->table().cancel();

    // A second window docked here keeps its own Ctrl+K: its cell goes to the
    // calculator, not the host's.
    KlasyModule other(*run.context);
    other.browse(other.klasy, "Drugie okno");
    TFmKartot* docked = windows.last();
    ASSERT_NE(docked, w);
    docked->show();
    ASSERT_TRUE(w->dock(*docked));
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    setCell(w, 0, "KOLEJ");
    docked->table().setPosition(1);
    setCell(docked, 1, "KOLEJ");
    docked->grid()->setFocus();
    QTest::keyClick(docked->grid(), Qt::Key_K, Qt::ControlModifier);
    ASSERT_TRUE(CalculatorWindow::shared().isVisible());
    EXPECT_EQ(expression(), QStringLiteral("2"));
    EXPECT_EQ(CalculatorWindow::shared().target(), docked);
    CalculatorWindow::shared().close();
    // And the host's own grid still has its key.
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    w->grid()->setFocus();
    QTest::keyClick(w->grid(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(expression(), QStringLiteral("1"));
    CalculatorWindow::shared().close();
    delete docked;
}

TEST_F(BrowserKeys, CopyFromTheSearchBoxCopiesRowsAndEditorsKeepTheirOwn)
{
    TFmKartot* w = openShown();
    auto* box = w->findChild<QLineEdit*>("SzukajNAZWA");
    ASSERT_TRUE(box);
    box->setText(QStringLiteral("mo"));
    box->selectAll();
    box->setFocus();
    w->table().setPosition(0);
    QGuiApplication::clipboard()->clear();
    run.prompts.expectYesNo("Z nagłówkami?", true);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(run.prompts.done());
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              w->table().text("KOD") + QStringLiteral("\tMotylki\t1\r\n"));
    EXPECT_EQ(box->text(), QStringLiteral("mo"));

    // A data-sheet editor copies its own selection, with no question.
    QLineEdit* nazwa = sheetEditor(w, "NAZWA");
    ASSERT_TRUE(nazwa);
    nazwa->setFocus();
    nazwa->setSelection(0, 4);
    QTest::keyClick(nazwa, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Moty"));
    EXPECT_TRUE(run.prompts.done());
}

TEST_F(BrowserKeys, WithoutAutoEditTypingStartsNoEdit)
{
    run.context->settings.autoEdit = false;
    TFmKartot* w = openShown();
    w->table().setPosition(0);
    QLineEdit* nazwa = sheetEditor(w, "NAZWA");
    ASSERT_TRUE(nazwa);
    nazwa->setFocus();
    nazwa->end(false);
    QTest::keyClick(nazwa, Qt::Key_X);
    EXPECT_EQ(nazwa->text(), QStringLiteral("Motylki"));
    EXPECT_FALSE(w->table().isEditing());

    // The grid's cell editor takes no typing either.
    w->grid()->setFocus();
    setCell(w, 0, "NAZWA");
    QTest::keyClick(w->grid(), Qt::Key_F2);
    if (auto* cell = qobject_cast<QLineEdit*>(QApplication::focusWidget()); cell && cell != nazwa) {
        QTest::keyClick(cell, Qt::Key_X);
        QTest::keyClick(cell, Qt::Key_Return);
    }
    EXPECT_FALSE(w->table().isEditing());
    setCell(w, 1, "NAZWA");
    Query q(run.baza->database(), QStringLiteral("SELECT NAZWA FROM KLASY WHERE KOLEJ = 1"));
    q.exec();
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("Motylki"));

    // Once the row is put into edit mode, the sheet takes typing.
    w->table().setPosition(0);
    w->findChild<QToolButton*>(QStringLiteral("Edytuj"))->click();
    ASSERT_TRUE(w->table().isEditing());
    nazwa->setFocus();
    nazwa->end(false);
    QTest::keyClick(nazwa, Qt::Key_X);
    QTest::keyClick(nazwa, Qt::Key_Return);
    EXPECT_EQ(w->table().text("NAZWA"), QStringLiteral("Motylkix"));
}

TEST_F(BrowserKeys, ATableTheUserMayOnlyReadIsMaroonAndTakesNoTyping)
{
    Database& db = run.baza->database();
    RightsDescriptor reader;
    reader.credential = rights::userCredential(7);
    reader.tableRights = rights::tableMaskOfLevel(1);
    for (int i = 0; i < db.fields(QStringLiteral("KLASY")).size(); ++i)
        reader.fieldRights << rights::All;
    rights::writeDescriptors(db, QStringLiteral("KLASY"), rights::masterCredential(), {reader});

    const QColor maroon(128, 0, 0);
    TFmKartot* master = openShown();
    const QModelIndex name = master->model()->index(0, master->model()->columnOf("NAZWA"));
    EXPECT_NE(name.data(Qt::ForegroundRole).value<QBrush>().color(), maroon);
    EXPECT_TRUE(name.flags() & Qt::ItemIsEditable);
    delete master;

    db.setCredentials({rights::userCredential(7)});
    TFmKartot* w = openShown();
    const QModelIndex cell = w->model()->index(0, w->model()->columnOf("NAZWA"));
    EXPECT_EQ(cell.data(Qt::ForegroundRole).value<QBrush>().color(), maroon);
    EXPECT_FALSE(cell.flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(sheetEditor(w, "NAZWA")->isReadOnly());

    // "Wstaw" into it says why nothing was written.
    QString said;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            said = box->text();
            box->close();
        }
    });
    CalculatorWindow& calculator = CalculatorWindow::shared();
    calculator.open(QStringLiteral("5"));
    calculator.setTarget(w);
    setCell(w, 0, "NAZWA");
    calculator.insertIntoBrowser();
    QApplication::processEvents();  // the timer has run either way
    EXPECT_EQ(said, QStringLiteral("Brak dostępu"));
    EXPECT_FALSE(w->table().isEditing());
    db.setCredentials({rights::masterCredential()});
}
