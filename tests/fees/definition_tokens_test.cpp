// The definition editor's token row: reading stored definitions, inserting
// before the current element, the panel's quantity codes, typed keys and
// the length a method table can store.

#include "fees/definition_tokens.h"

#include <gtest/gtest.h>

using namespace fees;

namespace {

QStringList codes(const DefinitionTokens& d)
{
    QStringList out;
    for (const DefinitionToken& t : d.tokens())
        out << t.code;
    return out;
}

QStringList descriptions(const DefinitionTokens& d)
{
    QStringList out;
    for (const DefinitionToken& t : d.tokens())
        out << t.description;
    return out;
}

QList<ExtraClass> classes()
{
    return {{3, QStringLiteral("Rytmika")}, {12, QStringLiteral("Angielski")}};
}

}  // namespace

TEST(DefinitionTokensTest, ReadsAStoredDefinitionAndWritesItBack)
{
    DefinitionTokens d(classes());
    d.load(QStringLiteral("IE*1,5+IP[3]*12-IZ*2/(IP[12,2]+IO[3])"));
    EXPECT_EQ(codes(d), (QStringList{"IE", "*", "1", ",", "5", "+", "IP[3]", "*", "1", "2", "-", "IZ", "*", "2", "/",
                                     "(", "IP[12,2]", "+", "IO[3]", ")"}));
    EXPECT_EQ(d.definition(), QStringLiteral("IE*1,5+IP[3]*12-IZ*2/(IP[12,2]+IO[3])"));
    EXPECT_TRUE(d.endMarkerCurrent());
    const QStringList shown = descriptions(d);
    EXPECT_EQ(shown[0], QStringLiteral(" Zadeklarowany czas obecności w miesiącu"));
    EXPECT_EQ(shown[1], QStringLiteral(" *"));
    EXPECT_EQ(shown[6], QStringLiteral(" Ilość obecności na zajęciach dodatkowych - Rytmika"));
    EXPECT_EQ(shown[16], QStringLiteral(" Ilość obecności na zajęciach dodatkowych - Angielski (zgłosz. nieobecn.)"));
    EXPECT_EQ(shown[18], QStringLiteral(" Zadeklarowana ilość zajęć dod. w miesiącu - Rytmika"));

    // Characters the editor never writes are skipped.
    d.load(QStringLiteral("2 +x"));
    EXPECT_EQ(codes(d), (QStringList{"2", "+"}));
    EXPECT_EQ(d.definition(), QStringLiteral("2+"));

    // A mark of 1 is absence, any other digit presence; a class no longer
    // in the list shows its code; damaged codes keep their text.
    d.load(QStringLiteral("IP[3,1]IP[3,0]IP[99]IYIP[3"));
    EXPECT_EQ(codes(d), (QStringList{"IP[3,1]", "IP[3,0]", "IP[99]", "IY", "IP[3"}));
    EXPECT_EQ(descriptions(d),
              (QStringList{" Ilość obecności na zajęciach dodatkowych - Rytmika (nieobecności)",
                           " Ilość obecności na zajęciach dodatkowych - Rytmika",
                           " Ilość obecności na zajęciach dodatkowych - 99", " IY", " IP[3"}));
    EXPECT_EQ(d.definition(), QStringLiteral("IP[3,1]IP[3,0]IP[99]IYIP[3"));

    d.load(QString());
    EXPECT_EQ(d.count(), 0);
    EXPECT_EQ(d.definition(), QString());
}

TEST(DefinitionTokensTest, InsertsBeforeTheCurrentElementAndDeletes)
{
    DefinitionTokens d(classes());
    d.load(QStringLiteral("2+3"));
    d.setCurrent(1);  // the "+"
    EXPECT_TRUE(d.insertChar(QLatin1Char('*')));
    EXPECT_TRUE(d.insertChar(QLatin1Char('4')));
    // The inserted tokens do not become current: "+" still is.
    EXPECT_EQ(d.definition(), QStringLiteral("2*4+3"));
    EXPECT_EQ(d.tokens()[d.current()].code, QStringLiteral("+"));
    EXPECT_FALSE(d.insertChar(QLatin1Char('x')));

    EXPECT_TRUE(d.removeCurrent());
    EXPECT_EQ(d.definition(), QStringLiteral("2*43"));
    EXPECT_TRUE(d.endMarkerCurrent());
    EXPECT_FALSE(d.removeCurrent());  // the end marker stays
    d.insertChar(QLatin1Char(')'));
    EXPECT_EQ(d.definition(), QStringLiteral("2*43)"));
}

TEST(DefinitionTokensTest, ThePanelsQuantityCodes)
{
    ASSERT_EQ(quantityCaptions().size(), 22);
    EXPECT_EQ(quantityCaptions()[4], QStringLiteral("Ilość obecności w miesiącu"));
    EXPECT_EQ(quantityCaptions()[21],
              QStringLiteral("Rzecz. czas ponad zadekl. z odlicz. zajęć dod., na które jest dekl."));

    DefinitionTokens d(classes());
    d.chooseQuantity(8);  // IE
    EXPECT_FALSE(d.classListShown());
    EXPECT_EQ(d.insertChosen(), QString());

    d.chooseQuantity(15);  // IP
    EXPECT_TRUE(d.classListShown());
    EXPECT_TRUE(d.markListShown());
    EXPECT_EQ(d.chosenMark(), 0);
    // No class chosen: refused rather than writing a code that cannot be evaluated.
    EXPECT_EQ(d.insertChosen(), QStringLiteral("Wybierz zajęcia dodatkowe"));
    d.chooseClass(1);
    d.insertChosen();
    d.chooseMark(2);
    d.insertChosen();
    d.chooseMark(1);
    d.insertChosen();

    d.chooseQuantity(17);  // IR: a class but no mark
    EXPECT_FALSE(d.markListShown());
    d.chooseClass(0);
    d.insertChosen();
    EXPECT_EQ(d.definition(), QStringLiteral("IEIP[12]IP[12,2]IP[12,1]IR[3]"));

    // Choosing IP again opens the marks on "obecności".
    d.chooseQuantity(15);
    EXPECT_EQ(d.chosenCode(), QStringLiteral("IP[3]"));
}

TEST(DefinitionTokensTest, TypedKeys)
{
    DefinitionTokens d(classes());
    bool handled = false;
    for (const QChar c : QStringLiteral("ie*1,5-"))
        d.typedKey(c, &handled);
    EXPECT_EQ(d.definition(), QStringLiteral("IE*1,5-"));
    EXPECT_EQ(d.chosenQuantity(), 8);

    d.typedKey(QLatin1Char('?'), &handled);
    EXPECT_FALSE(handled);
    d.typedKey(QLatin1Char('i'), &handled);  // no quantity IIx
    EXPECT_FALSE(handled);

    // A class letter inserts the class chosen in the list.
    EXPECT_EQ(d.typedKey(QLatin1Char('q'), &handled), QStringLiteral("Wybierz zajęcia dodatkowe"));
    d.chooseClass(0);
    d.typedKey(QLatin1Char('Q'), &handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(d.definition(), QStringLiteral("IE*1,5-IQ[3]"));

    d.setCurrent(0);
    d.typedKey(QLatin1Char('\b'), &handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(d.definition(), QStringLiteral("*1,5-IQ[3]"));
    EXPECT_TRUE(d.endMarkerCurrent());
}

TEST(DefinitionTokensTest, RefusesADefinitionTheTableCannotHold)
{
    DefinitionTokens d;
    d.load(QString(kMaxDefinitionLength, QLatin1Char('1')));
    EXPECT_EQ(d.refusal(), QString());
    d.insertChar(QLatin1Char('2'));
    EXPECT_EQ(d.refusal(), QStringLiteral("Definicja jest za długa: ma 201 znaków, a może mieć najwyżej 200."));
    // Nothing is cut: the whole text is still there to be shortened.
    EXPECT_EQ(d.definition().size(), 201);
}
