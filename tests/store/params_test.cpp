// The [PARAMETRY] reader: what it takes, what it ignores, what it keeps.

#include "store/params.h"
#include "store/query.h"
#include "support/store_fixture.h"

namespace {

TEST(Parameters, DefaultsAndTheReadersRules)
{
    Parameters p;
    EXPECT_TRUE(p.sposobyJednolite);
    EXPECT_EQ(p.iloscPoPrzecinku, 4);
    EXPECT_EQ(p.fakturyFormat, QStringLiteral("/mm/rrrr"));
    EXPECT_EQ(p.tekstNaZaleglosc, QStringLiteral("Zaległość"));

    p.read(QStringLiteral("[IMPORT]\r\nSPOSOBY JEDNOLITE=N\r\n[parametry]\r\n"
                          "obecności sumarycznie=T\r\n"
                          "SPOSOBY JEDNOLITE=Nie\r\n"
                          "ILOŚĆ PO PRZECINKU=260\r\n"
                          "DOKŁADNOŚĆ MINUT=dwa\r\n"
                          "\r\n"
                          "NALICZANIE MINUT=15\r\n"
                          "NALICZANIE MINUT=30\r\n"
                          "DZIECI DANE 1= Alergie \r\n"
                          "DZIECI DANE 3=Rodzeństwo\r\n"
                          "FAKTURY TYTULEM=\r\n"
                          "NIEZNANY=X\r\n"
                          "GRUPUJ OPLATY\r\n"
                          "[INNE]\r\n"
                          "WPROWADZANIE MINUT=5\r\n"));
    EXPECT_TRUE(p.obecnosciSumarycznie);  // keys are upper-cased, Polish letters too
    EXPECT_FALSE(p.sposobyJednolite);
    EXPECT_EQ(p.iloscPoPrzecinku, 4);     // 260 modulo 256
    EXPECT_EQ(p.dokladnoscMinut, 1);      // not a number: kept
    EXPECT_EQ(p.naliczanieMinut, 30);     // a later line wins
    EXPECT_EQ(p.dzieciDane[0], QStringLiteral(" Alergie "));  // values are not trimmed
    EXPECT_FALSE(p.invoicing());
    EXPECT_FALSE(p.grupujOplaty);
    EXPECT_EQ(p.wprowadzanieMinut, 1);    // another section ends the reading

    p.read(QStringLiteral("[PARAMETRY]\nOBECNOŚCI SUMARYCZNIE = T\nSPOSOBY JEDNOLITE=X\nFAKTURY TYTULEM=Opłata za przedszkole\n"
                          "ILOŚĆ PO PRZECINKU=-1\nGRUPUJ OPLATY=t\n"));
    EXPECT_FALSE(p.obecnosciSumarycznie);  // "KEY " with a blank is another key, and the flag was reset
    EXPECT_TRUE(p.sposobyJednolite);
    EXPECT_TRUE(p.invoicing());
    EXPECT_EQ(p.iloscPoPrzecinku, 255);
    EXPECT_FALSE(p.grupujOplaty);          // only a capital T switches a flag on
    EXPECT_TRUE(p.dzieciDane[0].isEmpty());  // reset before each reading
    EXPECT_EQ(p.dzieciDane[2], QStringLiteral("Rodzeństwo"));  // not reset: kept
    EXPECT_EQ(p.naliczanieMinut, 30);

    p.read(QStringLiteral("[PARAMETRY]\n"));
    EXPECT_TRUE(p.invoicing());  // a removed key keeps its value until the next start
    EXPECT_EQ(p.listing().size(), 23);
    EXPECT_EQ(p.listing().first(), qMakePair(QStringLiteral("OBECNOŚCI SUMARYCZNIE"), QStringLiteral("N")));
}

TEST(Parameters, MemoLinesCountLikeTheRestOfTheProgram)
{
    EXPECT_TRUE(memoLines(QString()).isEmpty());
    EXPECT_EQ(memoLines(QStringLiteral("a\r\nb\r\n")), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(memoLines(QStringLiteral("\r\nx")), (QStringList{QString(), QStringLiteral("x")}));
}

class ParametersStoreTest : public EngineTest {};

TEST_P(ParametersStoreTest, ReadFromTheOptionsRow)
{
    Query(*db, QStringLiteral("UPDATE OPCJE SET PARAMS = :P"))
        .bind(QStringLiteral("P"), QStringLiteral("[PARAMETRY]\r\nTEKST NA WPLATY=Wpłacono\r\n"))
        .exec();
    Parameters p;
    p.load(*db);
    EXPECT_EQ(p.tekstNaWplaty, QStringLiteral("Wpłacono"));
}

INSTANTIATE_ENGINES(ParametersStoreTest);

}  // namespace
