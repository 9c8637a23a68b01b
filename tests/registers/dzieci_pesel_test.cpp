// The PESEL checks: the date-of-birth prefix and another active child with
// the same number. Both only inform.

#include "dzieci_fixture.h"

#include "registers/child_pesel.h"

namespace {

using DzieciPeselTest = DzieciTest;

TEST(ChildPesel, BirthPrefix)
{
    EXPECT_EQ(pesel::birthPrefix(QDate(2003, 3, 5)), QStringLiteral("032305"));
    EXPECT_EQ(pesel::birthPrefix(QDate(1999, 11, 30)), QStringLiteral("991130"));
    EXPECT_TRUE(pesel::agreesWithBirthDate(QStringLiteral("00210112345"), QDate(2000, 1, 1)));
    EXPECT_FALSE(pesel::agreesWithBirthDate(QStringLiteral("00010112345"), QDate(2000, 1, 1)));
    EXPECT_FALSE(pesel::agreesWithBirthDate(QStringLiteral("0021"), QDate(2000, 1, 1)));
}

TEST_P(DzieciPeselTest, MessagesWhileEditing)
{
    const int misie = addGroup(QStringLiteral("Misie"), 1);
    const QString number = QStringLiteral("00210112345");
    addChild(QStringLiteral("Zięba Ada"), misie, number);
    addChild(QStringLiteral("Nieaktywny Jan"), 0, number);
    const int olek = addChild(QStringLiteral("Olek"), misie);
    addChild(QStringLiteral("Żak Ewa"), misie, number);
    Table& t = kids();
    goTo(olek);

    t.edit();
    t.setValue(QStringLiteral("PESEL"), number);
    // The first active namesake by key, not the inactive one.
    EXPECT_EQ(prompts.shown(), QStringList{QStringLiteral("Powtórzony PESEL (Zięba Ada)")});
    t.setValue(QStringLiteral("DATAUR"), QDate(2000, 1, 1));
    EXPECT_EQ(prompts.shown().size(), 1);  // the date agrees and the number did not change
    t.setValue(QStringLiteral("DATAUR"), QDate(2000, 1, 2));
    EXPECT_EQ(prompts.shown().last(), QStringLiteral("PESEL nie zgadza się z datą urodzenia"));
    t.post();  // information never blocks the save
    EXPECT_EQ(count(QStringLiteral("select count(*) from DZIECI where PESEL = '00210112345'")), 4);

    // Only inactive namesakes, or none, say nothing; nor does an empty PESEL.
    Query(*db, QStringLiteral("update DZIECI set AKTYWNY = 'N' where KOD <> :O")).bind(QStringLiteral("O"), olek).exec();
    const qsizetype before = prompts.shown().size();
    t.edit();
    t.clear(QStringLiteral("DATAUR"));
    t.setValue(QStringLiteral("PESEL"), QStringLiteral("00210212345"));
    t.setValue(QStringLiteral("PESEL"), number);
    t.clear(QStringLiteral("PESEL"));
    t.setValue(QStringLiteral("DATAUR"), QDate(1999, 1, 1));
    t.cancel();
    EXPECT_EQ(prompts.shown().size(), before);
}

INSTANTIATE_ENGINES(DzieciPeselTest);

}  // namespace
