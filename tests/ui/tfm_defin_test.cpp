// The definition editor and the calculator as the user works them: buttons,
// the quantity lists, typed keys, OK and the refusal of an overlong text.

#include "browser/ui/calculator_window.h"
#include "fees/ui/tfm_defin.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Each key goes to the element that is current, as the focus follows it
// when the strip is rebuilt.
void typeKeys(TFmDefin& editor, const QString& keys)
{
    for (const QChar c : keys)
        QTest::keyClick(editor.stripElements()[editor.tokens().current()], c.toLatin1());
}

}  // namespace

TEST(TFmDefinWidgetTest, BuildsAMethodWithButtonsAndKeys)
{
    TFmDefin editor({{3, QStringLiteral("Rytmika")}, {12, QStringLiteral("Angielski")}});
    QStringList messages;
    editor.showMessage = [&](const QString& m) { messages << m; };
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Definicja liczenia"));
    editor.setWindowTitle(QStringLiteral("Opis definicji sposobu liczenia"));
    editor.load(QStringLiteral("IA x+2"));
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));

    // Opened with the end marker current; the skipped blank and x are gone.
    QList<QWidget*> strip = editor.stripElements();
    ASSERT_EQ(strip.size(), 4);
    EXPECT_EQ(static_cast<QLineEdit*>(strip[0])->text(), QStringLiteral(" Ilość wszystkich dni w miesiącu"));
    EXPECT_EQ(editor.tokens().current(), 3);

    QTest::mouseClick(editor.button(QStringLiteral("*")), Qt::LeftButton);
    QTest::mouseClick(editor.button(QStringLiteral("(")), Qt::LeftButton);
    EXPECT_EQ(editor.tokens().definition(), QStringLiteral("IA+2*("));

    // The extra-class and mark lists appear for IP.
    editor.quantityList()->setCurrentIndex(15);
    EXPECT_FALSE(editor.classList()->isHidden());
    EXPECT_FALSE(editor.markList()->isHidden());
    EXPECT_EQ(editor.markList()->currentText(), QStringLiteral("obecności"));
    editor.classList()->setCurrentIndex(1);
    editor.markList()->setCurrentIndex(1);
    EXPECT_EQ(editor.insertButton()->toolTip(), QStringLiteral("Przenosi wartość"));
    QTest::mouseClick(editor.insertButton(), Qt::LeftButton);
    editor.quantityList()->setCurrentIndex(0);
    EXPECT_TRUE(editor.classList()->isHidden());

    // Keys typed on the end marker: a quantity letter in lower case, digits.
    typeKeys(editor, QStringLiteral("+it*1,5)"));
    EXPECT_EQ(editor.tokens().definition(), QStringLiteral("IA+2*(IP[12,1]+IT*1,5)"));
    EXPECT_EQ(editor.quantityList()->currentIndex(), 4);

    // Clicking a box makes it current; new tokens go before it, Backspace
    // and "Usuń pozycje" delete it.
    QTest::mouseClick(editor.stripElements()[1], Qt::LeftButton);
    EXPECT_EQ(editor.tokens().current(), 1);
    typeKeys(editor, QStringLiteral("9"));
    EXPECT_EQ(editor.tokens().definition(), QStringLiteral("IA9+2*(IP[12,1]+IT*1,5)"));
    QTest::mouseClick(editor.stripElements()[2], Qt::LeftButton);
    QTest::mouseClick(editor.button(QStringLiteral("Usuń pozycje")), Qt::LeftButton);
    EXPECT_EQ(editor.tokens().definition(), QStringLiteral("IA92*(IP[12,1]+IT*1,5)"));
    QTest::mouseClick(editor.stripElements()[0], Qt::LeftButton);
    QTest::keyClick(editor.stripElements()[0], Qt::Key_Backspace);
    EXPECT_EQ(editor.tokens().definition(), QStringLiteral("92*(IP[12,1]+IT*1,5)"));
    EXPECT_TRUE(editor.tokens().endMarkerCurrent());
    EXPECT_TRUE(messages.isEmpty());

    // Too long for the table: OK refuses and the editor stays open.
    typeKeys(editor, QString(190, QLatin1Char('1')));
    QTest::mouseClick(editor.okButton(), Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Definicja jest za długa")));
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.result(), 0);
}

TEST(CalculatorWindowTest, ButtonsResultAndInsertWithoutABrowser)
{
    CalculatorWindow w;
    w.open(QStringLiteral("12,5"));
    for (const char* b : {"+", "2", "*"})
        QTest::mouseClick(w.button(QString::fromLatin1(b)), Qt::LeftButton);
    EXPECT_EQ(w.expressionBox()->text(), QStringLiteral("12,5+2*"));
    EXPECT_EQ(w.resultBox()->text(), QString());
    QTest::mouseClick(w.button(QStringLiteral("3")), Qt::LeftButton);
    EXPECT_EQ(w.resultBox()->text(), QStringLiteral("18,5"));

    // "Usuń z." takes the character before the caret; typing counts as well.
    QTest::mouseClick(w.button(QStringLiteral("Usuń z.")), Qt::LeftButton);
    EXPECT_EQ(w.expressionBox()->text(), QStringLiteral("12,5+2*"));
    EXPECT_EQ(w.resultBox()->text(), QString());
    w.expressionBox()->setFocus();
    QTest::keyClick(w.expressionBox(), Qt::Key_4);
    EXPECT_EQ(w.resultBox()->text(), QStringLiteral("20,5"));
    w.expressionBox()->setCursorPosition(2);
    QTest::mouseClick(w.button(QStringLiteral("0")), Qt::LeftButton);
    EXPECT_EQ(w.expressionBox()->text(), QStringLiteral("120,5+2*4"));
    QTest::mouseClick(w.button(QStringLiteral("Usuń w")), Qt::LeftButton);
    EXPECT_EQ(w.expressionBox()->text(), QString());
    EXPECT_EQ(w.resultBox()->text(), QStringLiteral("0"));
    w.feed(QStringLiteral("7"));

    // Without a browser "Wstaw" only closes, and closing empties the expression.
    QTest::mouseClick(w.button(QStringLiteral("Wstaw")), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.expressionBox()->text(), QString());
}
