// The calculator's expression box, result and the writing of its result
// into a browser's field.

#include "browser/calculator.h"
#include "store/table.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

using calc::Calculator;

TEST(CalculatorTest, ResultAfterEveryChange)
{
    EXPECT_EQ(calc::resultOf(QStringLiteral("2+")), QString());
    EXPECT_EQ(calc::resultOf(QStringLiteral(" 2+3 ")), QStringLiteral("5"));
    EXPECT_EQ(calc::resultOf(QStringLiteral("1/3")), QStringLiteral("0,3333333333"));
    EXPECT_EQ(calc::resultOf(QStringLiteral("1/0")), QString());
    EXPECT_EQ(calc::resultOf(QStringLiteral("2,5*-1")), QString());
    EXPECT_EQ(calc::resultOf(QString()), QStringLiteral("0"));

    Calculator c;
    for (const char* button : {"1", "2", "+", "3"})
        c.insert(QString::fromLatin1(button));
    EXPECT_EQ(c.expression(), QStringLiteral("12+3"));
    EXPECT_EQ(c.result(), QStringLiteral("15"));

    // Buttons go in at the caret and replace the selection.
    c.setCaret(2);
    c.insert(QStringLiteral("*"));
    EXPECT_EQ(c.expression(), QStringLiteral("12*+3"));
    EXPECT_EQ(c.result(), QString());
    EXPECT_EQ(c.caret(), 3);
    c.setSelection(2, 2);
    c.insert(QStringLiteral("-"));
    EXPECT_EQ(c.expression(), QStringLiteral("12-3"));
    EXPECT_EQ(c.result(), QStringLiteral("9"));

    // "Usuń z." takes the selection, else the character before the caret.
    c.setSelection(0, 1);
    c.deleteBack();
    EXPECT_EQ(c.expression(), QStringLiteral("2-3"));
    EXPECT_EQ(c.result(), QStringLiteral("-1"));
    c.setCaret(0);
    c.deleteBack();
    EXPECT_EQ(c.expression(), QStringLiteral("2-3"));
    c.setCaret(3);
    c.deleteBack();
    EXPECT_EQ(c.result(), QString());

    c.clear();
    EXPECT_EQ(c.expression(), QString());
    EXPECT_EQ(c.caret(), 0);
}

TEST(CalculatorTest, FedValuesAreInsertedOnlyWhenNumbers)
{
    Calculator c;
    EXPECT_TRUE(c.feed(QStringLiteral("12,50")));
    c.insert(QStringLiteral("+"));
    EXPECT_TRUE(c.feed(QStringLiteral("1 200")));
    EXPECT_FALSE(c.feed(QStringLiteral("05.03.2024")));
    EXPECT_FALSE(c.feed(QStringLiteral("Kowalska")));
    EXPECT_FALSE(c.feed(QString()));
    EXPECT_EQ(c.expression(), QStringLiteral("12,50+1200"));
    EXPECT_EQ(c.result(), QStringLiteral("1212,5"));
}

class CalculatorStoreTest : public EngineTest {};

TEST_P(CalculatorStoreTest, InsertPutsTheRowIntoEditModeAndAnEmptyResultDoesNothing)
{
    Table t(*db, QStringLiteral("SPOSOBY"));
    t.open();
    t.insert();
    t.setValue(QStringLiteral("NAZWA"), QStringLiteral("Stawka"));
    t.post();

    EXPECT_EQ(calc::writeResult(t, QStringLiteral("NAZWA"), QString()), QString());
    EXPECT_EQ(t.state(), Table::State::Browse);
    EXPECT_EQ(t.text(QStringLiteral("NAZWA")), QStringLiteral("Stawka"));

    EXPECT_EQ(calc::writeResult(t, QStringLiteral("NAZWA"), QStringLiteral("0,3333333333")), QString());
    EXPECT_EQ(t.state(), Table::State::Edit);
    EXPECT_EQ(t.text(QStringLiteral("NAZWA")), QStringLiteral("0,3333333333"));
    t.cancel();

    // A whole-number field does not take a fraction.
    Table m(*db, QStringLiteral("MEDSPOS"));
    m.open();
    m.insert();
    EXPECT_EQ(calc::writeResult(m, QStringLiteral("SPOSOB"), QStringLiteral("2,5")),
              QStringLiteral("\"2,5\" nie jest prawidłową wartością pola \"SPOSOB\""));
    EXPECT_EQ(calc::writeResult(m, QStringLiteral("SPOSOB"), QStringLiteral("7")), QString());
    EXPECT_EQ(m.asInt(QStringLiteral("SPOSOB")), 7);
    EXPECT_EQ(m.state(), Table::State::Insert);
    m.cancel();
}

INSTANTIATE_ENGINES(CalculatorStoreTest);
