// The settlement statement on a small store: balances of both signs and of
// float noise, the help-centre lines, computed charges of the month, history
// over three months, the landscape table with its optional columns and the
// debt filter (read back from PDF), and the fee-group modes 3 and 4.

#include "export_test_pages.h"
#include "support/store_fixture.h"

#include "printouts/amount_in_words.h"
#include "printouts/page_painter.h"
#include "printouts/statement_options.h"
#include "printouts/statement_printout.h"
#include "printouts/template_layout_text.h"
#include "store/query.h"

#include <QTemporaryDir>

using namespace printouts;

namespace {

class StatementPrintoutTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        exec(QStringLiteral("UPDATE FIRMA SET NAZWA='Przedszkole Słoneczko', ADRES='ul. Leśna 2'"));
        const int misie = insert(QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Misie', 1)"), QStringLiteral("KLASY"));
        fees = insert(QStringLiteral("INSERT INTO GRUPYOP (NAZWA, KOLEJ) VALUES ('Opłaty', 1)"), QStringLiteral("GRUPYOP"));
        meals = insert(QStringLiteral("INSERT INTO GRUPYOP (NAZWA, KOLEJ) VALUES ('Żywienie', 2)"), QStringLiteral("GRUPYOP"));
        czesne = insert(QStringLiteral("INSERT INTO MEDIA (NAZWA, GRUPAOP, KOLEJ) VALUES ('Czesne', %1, 1)").arg(fees),
                        QStringLiteral("MEDIA"));
        obiady = insert(QStringLiteral("INSERT INTO MEDIA (NAZWA, GRUPAOP, KOLEJ) VALUES ('Wyżywienie', %1, 2)").arg(meals),
                        QStringLiteral("MEDIA"));
        december = month(2023, 12);
        january = month(2024, 1);
        february = month(2024, 2);
        march = month(2024, 3);
        ala = child(QStringLiteral("Adamska Ala"), misie, QStringLiteral("19250112345"));
        bartek = child(QStringLiteral("Bober Bartek"), misie, {});
        celina = child(QStringLiteral("Cieślak Celina"), misie, {});

        // Ala: 250 charged and 300 paid in March, nothing before.
        charge(march, '1', ala, czesne, 1, 250, 250);
        payment(march, ala, 300);
        // Bartek: 10 owed from December, January paid, February unpaid, 50 paid on March's 120.
        charge(december, '1', bartek, czesne, 1, 10, 10);
        charge(january, '1', bartek, czesne, 1, 80, 80);
        payment(january, bartek, 80);
        charge(february, '1', bartek, czesne, 1, 100, 100);
        charge(march, '1', bartek, czesne, 1, 120, 120);
        payment(march, bartek, 50);
        // Celina: 0.1 + 0.2 charged and 0.3 paid, which is not exactly zero in binary.
        charge(march, '1', celina, obiady, 1, 0.1, 0.1);
        charge(march, '1', celina, obiady, 2, 0.1, 0.2);
        payment(march, celina, 0.3);
    }

    void exec(const QString& sql) { Query(*db, sql).exec(); }

    int insert(const QString& sql, const QString& table)
    {
        exec(sql);
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM %1").arg(table)).scalar().toInt();
    }

    int month(int year, int month)
    {
        return insert(QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE, TEKST1) VALUES (%1, %2, '6,7', "
                                     "'Prosimy o wpłatę')").arg(year).arg(month),
                      QStringLiteral("MIESIACE"));
    }

    int child(const QString& name, int group, const QVariant& pesel)
    {
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY, PESEL) VALUES (:N, 'Polna 1', :K, 'T', :P)"))
            .bind(QStringLiteral("N"), name)
            .bind(QStringLiteral("K"), group)
            .bind(QStringLiteral("P"), pesel)
            .exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM DZIECI")).scalar().toInt();
    }

    void charge(int month, char type, int child, int medium, double quantity, double price, double value,
                const QString& rozlicz = QStringLiteral("N"), const QVariant& dot = {}, const QVariant& helpCentre = {})
    {
        const bool withHelp = db->hasColumn(QStringLiteral("NALICZ"), QStringLiteral("IDOPIE"));
        Query q(*db, QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, ROZLICZ, DOT%1) "
                                    "VALUES (:K, :T, :O, :M, :I, 'mies.', :C, :W, :R, :D%2)")
                         .arg(withHelp ? QStringLiteral(", IDOPIE") : QString(),
                              withHelp ? QStringLiteral(", :H") : QString()));
        q.bind(QStringLiteral("K"), month)
            .bind(QStringLiteral("T"), QString(QLatin1Char(type)))
            .bind(QStringLiteral("O"), child)
            .bind(QStringLiteral("M"), medium)
            .bind(QStringLiteral("I"), quantity)
            .bind(QStringLiteral("C"), price)
            .bind(QStringLiteral("W"), value)
            .bind(QStringLiteral("R"), rozlicz)
            .bind(QStringLiteral("D"), dot);
        if (withHelp)
            q.bind(QStringLiteral("H"), helpCentre);
        q.exec();
    }

    void payment(int month, int child, double value)
    {
        Query(*db, QStringLiteral("INSERT INTO WPLATY (KOD, DATA, OSOBA, WARTOSC) VALUES (:K, :D, :O, :W)"))
            .bind(QStringLiteral("K"), month)
            .bind(QStringLiteral("D"), QDate(2024, 3, 5))
            .bind(QStringLiteral("O"), child)
            .bind(QStringLiteral("W"), value)
            .exec();
    }

    static TemplateElement field(const char* name, int top)
    {
        TemplateElement e = TemplateElement::created(ElementKind::DataField, QPoint(0, top));
        e.content = QString::fromUtf8(name);
        e.box.setWidth(400);
        return e;
    }

    // Header: the child; footer: the sign and value of the balance, the charge total and the first text.
    BuiltTemplate layout(bool landscape) const
    {
        PrintTemplate t;
        t.landscape = landscape;
        t.elements = {field("Nazwa", 0), field("Separator końcowy", 40), field("Znak salda", 50),
                      field("Wartość salda", 70), field("Wartość naliczenia", 90), field("Tekst 1", 110)};
        BuiltTemplate built;
        built.id = landscape ? 2 : 1;
        built.layout = readLayout(writeLayout(t));
        return built;
    }

    StatementOptions options(int month) const
    {
        StatementOptions o;
        o.month = month;
        o.day = QDate(2024, 4, 2);
        return o;
    }

    // Every text of the pages in order, trimmed, the lines of a text joined by spaces.
    QStringList texts(const StatementOptions& o, bool landscape = false) const
    {
        const BuiltTemplate built = layout(landscape);
        QStringList out;
        for (const report::Page& page : makeStatementsJob(*db, o, &built)->run(report::Purpose::Pages).pages)
            for (const report::Primitive& p : page.items)
                if (const auto* t = std::get_if<report::TextBox>(&p))
                    out << t->lines.join(QLatin1Char(' ')).trimmed();
        return out;
    }

    // The text after `caption`, looking from `from`.
    static QString after(const QStringList& t, const QString& caption, int from = 0, int step = 1)
    {
        const int at = int(t.indexOf(caption, from));
        return at < 0 ? QStringLiteral("<none>") : t.value(at + step);
    }

    int fees = 0, meals = 0, czesne = 0, obiady = 0;
    int december = 0, january = 0, february = 0, march = 0;
    int ala = 0, bartek = 0, celina = 0;
};

}  // namespace

TEST_P(StatementPrintoutTest, PortraitBalancesOfBothSignsFloatNoiseHelpCentreAndComputedCharges)
{
    QStringList t = texts(options(march));
    // Ala: overpaid; zero before the month counts as arrears.
    int at = int(t.indexOf(QStringLiteral("Adamska Ala")));
    ASSERT_GE(at, 0) << t.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(after(t, QStringLiteral("Naliczenie:"), at), QStringLiteral("250,00 zł"));
    EXPECT_EQ(after(t, QStringLiteral("Wpłaty:"), at), QStringLiteral("300,00 zł"));
    EXPECT_EQ(after(t, QStringLiteral("Zaległość początkowa:"), at), QStringLiteral("0,00 zł"));
    EXPECT_EQ(after(t, QStringLiteral("Nadpłata:"), at), QStringLiteral("50,00 zł"));
    // The footer band: sign, balance, charge total, the month's text.
    EXPECT_EQ(after(t, QStringLiteral("Nadpłata:"), at, 2), QStringLiteral("Nadpłata"));
    EXPECT_EQ(after(t, QStringLiteral("Nadpłata:"), at, 3), QStringLiteral("50,00 zł"));
    EXPECT_EQ(after(t, QStringLiteral("Nadpłata:"), at, 4), QStringLiteral("250,00 zł"));
    EXPECT_EQ(after(t, QStringLiteral("Nadpłata:"), at, 5), QStringLiteral("Prosimy o wpłatę"));
    // Bartek: 110 owed before March, 120 charged, 50 paid.
    at = int(t.indexOf(QStringLiteral("Bober Bartek")));
    EXPECT_EQ(after(t, QStringLiteral("Zaliczka"), at), QStringLiteral("Czesne"));
    EXPECT_EQ(after(t, QStringLiteral("Razem zaliczka"), at), QStringLiteral("120,00 zł"));
    EXPECT_EQ(after(t, QStringLiteral("Zaległość początkowa:"), at), QStringLiteral("110,00 zł"));
    EXPECT_EQ(after(t, QStringLiteral("Zaległość:"), at), QStringLiteral("180,00 zł"));
    EXPECT_EQ(after(t, QStringLiteral("Zaległość:"), at, 2), QStringLiteral("Zaległość"));
    // Celina: a balance of binary noise is settled, not an overpayment of 0,00.
    at = int(t.indexOf(QStringLiteral("Cieślak Celina")));
    EXPECT_EQ(after(t, QStringLiteral("Zaległość:"), at), QStringLiteral("0,00 zł"));
    EXPECT_EQ(after(t, QStringLiteral("Zaległość:"), at, 2), QStringLiteral("Zaległość"));
    EXPECT_EQ(t.indexOf(QStringLiteral("Nadpłata:"), at), -1);

    // Without payments neither balances nor their fields print.
    StatementOptions o = options(march);
    o.payments = false;
    t = texts(o);
    EXPECT_EQ(t.indexOf(QStringLiteral("Wpłaty:")), -1);
    EXPECT_EQ(after(t, QStringLiteral("Naliczenie:"), int(t.indexOf(QStringLiteral("Adamska Ala"))), 2), QString());

    // Computed charges of the month replace its approved ones; earlier months stay approved.
    charge(march, '0', bartek, czesne, 1, 130, 130);
    o = options(march);
    o.unapproved = true;
    t = texts(o);
    at = int(t.indexOf(QStringLiteral("Bober Bartek")));
    EXPECT_EQ(after(t, QStringLiteral("Naliczenie:"), at), QStringLiteral("130,00 zł"));
    EXPECT_EQ(after(t, QStringLiteral("Zaległość początkowa:"), at), QStringLiteral("110,00 zł"));
    EXPECT_EQ(after(t, QStringLiteral("Naliczenie:"), int(t.indexOf(QStringLiteral("Adamska Ala")))),
              QStringLiteral("0,00 zł"));  // her March charge is approved, not computed

    if (!db->hasColumn(QStringLiteral("NALICZ"), QStringLiteral("IDOPIE")))
        return;
    // A charge the help centre covers: marked, or left out after "Yes".
    charge(march, '1', ala, obiady, 2, 20, 40, QStringLiteral("N"), {}, 1);
    t = texts(options(march));
    EXPECT_GE(t.indexOf(QStringLiteral("Wyżywienie (ośrodek pomocy)")), 0);
    EXPECT_EQ(after(t, QStringLiteral("Naliczenie:"), int(t.indexOf(QStringLiteral("Adamska Ala")))),
              QStringLiteral("290,00 zł"));
    o = options(march);
    o.withoutHelpCentre = true;
    t = texts(o);
    EXPECT_EQ(t.indexOf(QStringLiteral("Wyżywienie (ośrodek pomocy)")), -1);
    EXPECT_EQ(after(t, QStringLiteral("Naliczenie:"), int(t.indexOf(QStringLiteral("Adamska Ala")))),
              QStringLiteral("250,00 zł"));
}

TEST_P(StatementPrintoutTest, HistoryOverThreeMonthsAndItsEarliestStart)
{
    EXPECT_EQ(earliestHistoryStart(*db, march), 202312);
    exec(QStringLiteral("UPDATE MIESIACE SET DNIWOLNE='-' WHERE KOD=%1").arg(january));
    EXPECT_EQ(earliestHistoryStart(*db, march), 202402);
    EXPECT_EQ(clampHistoryStart(202401, 202402), 202402);

    StatementOptions o = options(march);
    o.child = bartek;
    o.historyFrom = 202401;
    const QStringList t = texts(o);
    const int at = int(t.indexOf(QStringLiteral("Data")));
    ASSERT_GE(at, 0) << t.join(QLatin1Char('\n')).toStdString();
    const QStringList expected{
        "Data", "Operacja", "Naliczenie", "Wpłata",
        "", "Saldo początkowe", "10,00 zł",               // December, under "Naliczenie"
        "01.01.2024", "Zaliczka", "80,00 zł",
        "05.03.2024", "Wpłata", "80,00 zł",
        "01.02.2024", "Zaliczka", "100,00 zł",
        "01.03.2024", "Zaliczka", "120,00 zł",
        "05.03.2024", "Wpłata", "50,00 zł",
        "Bober Bartek", "Zaległość:", "180,00 zł",
        "Zaległość", "180,00 zł", "120,00 zł",  // the footer: the last section's sum is the charge total
    };
    EXPECT_EQ(t.mid(at, expected.size()), expected);
    EXPECT_EQ(t.indexOf(QStringLiteral("Adamska Ala")), -1);
}

TEST_P(StatementPrintoutTest, LandscapeTableWithPeselTotalsExtraColumnsAndTheDebtFilterInPdf)
{
    bool ok = false;
    exporttest::runTool(QStringLiteral("pdftotext"), {QStringLiteral("-v")}, &ok);
    if (!ok)
        GTEST_SKIP() << "poppler-utils are not installed";
    exec(QStringLiteral("UPDATE OPCJE SET PARAMS='[PARAMETRY]\r\nDANE ZESTAWIENIA=ULICA/x/Ulica,NIEMA/50/Brak'"));
    const int ewa = child(QStringLiteral("Ewa Równa"), 1, {});
    const int filip = child(QStringLiteral("Filip Ponad"), 1, {});
    charge(march, '1', ewa, czesne, 1, 100, 100);
    charge(march, '1', filip, czesne, 1, 100.01, 100.01);

    StatementOptions o = options(march);
    o.pesel = o.sum = o.extra = true;
    QStringList t = texts(o, true);
    const int line = int(t.indexOf(QStringLiteral("Adamska Ala")));
    ASSERT_GE(line, 0) << t.join(QLatin1Char('\n')).toStdString();
    // L.p., name, PESEL, street, the missing field, opening debt, fees, charges, payments, closing overpayment.
    EXPECT_EQ(t.mid(line - 1, 8), (QStringList{"1", "Adamska Ala", "19250112345", "Polna 1", "", "0,00", "", "250,00"}));
    EXPECT_EQ(t.mid(line + 7, 5), (QStringList{"0,00", "250,00", "300,00", "", "50,00"}));
    const int totals = int(t.indexOf(QStringLiteral("Razem")));
    ASSERT_GT(totals, line);
    // Opening debts 110 (Bartek); fees 250 + 120 + 100 + 100,01 and 0,30; payments 350,30.
    EXPECT_EQ(t.mid(totals + 4, 7), (QStringList{"110,00", "0,00", "570,01", "0,30", "570,31", "350,30", "380,01"}));
    EXPECT_GE(t.indexOf(QStringLiteral("Strona: 1")), 0);
    // Exports read the headings right-aligned.
    const BuiltTemplate table = layout(true);
    bool rightAligned = false;
    for (const report::Page& page : makeStatementsJob(*db, o, &table)->run(report::Purpose::TableExport).pages)
        for (const report::Primitive& p : page.items)
            if (const auto* box = std::get_if<report::TextBox>(&p);
                box && box->lines.join(QLatin1Char(' ')) == QStringLiteral("Nazwisko i imię"))
                rightAligned = box->alignment & Qt::AlignRight;
    EXPECT_TRUE(rightAligned);

    // The defined order: by PESEL, which the number column then shows.
    exec(QStringLiteral("UPDATE OPCJE SET PARAMS='[PARAMETRY]\r\nSORT ZESTAWIENIA=PESEL,40'"));
    o = options(march);
    o.definedSort = true;
    t = texts(o, true);
    EXPECT_EQ(t.value(int(t.indexOf(QStringLiteral("Adamska Ala"))) - 1), QStringLiteral("19250112345"));
    EXPECT_GT(t.indexOf(QStringLiteral("Adamska Ala")), t.indexOf(QStringLiteral("Bober Bartek")));

    o = options(march);
    o.debtOver = 100;
    const BuiltTemplate built = layout(true);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("zestawienie.pdf"));
    ASSERT_EQ(report::writePdf(makeStatementsJob(*db, o, &built)->run(report::Purpose::Pages), pdf), QString());
    const QString text = QString::fromUtf8(
        exporttest::runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}, &ok));
    ASSERT_TRUE(ok);
    EXPECT_TRUE(text.contains(QStringLiteral("Zestawienie naliczeń i wpłat na miesiąc"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("zadłużeni powyżej 100,00 zł")));
    EXPECT_TRUE(text.contains(QStringLiteral("Bober Bartek")));
    EXPECT_TRUE(text.contains(QStringLiteral("Filip Ponad")));
    EXPECT_FALSE(text.contains(QStringLiteral("Ewa Równa")));  // owes exactly 100,00
    EXPECT_FALSE(text.contains(QStringLiteral("Adamska Ala")));
}

TEST_P(StatementPrintoutTest, FeeGroupModesSumPricesOrSettleOneGroup)
{
    // February's meals settled in March: 20 days paid in advance at 10, Ala ate 18, Bartek 22.
    charge(march, '1', ala, obiady, -20, 10, -200, QStringLiteral("T"), -february);
    charge(march, '1', ala, obiady, 18, 10, 180, QStringLiteral("T"), february);
    charge(march, '1', bartek, obiady, -20, 10, -200, QStringLiteral("T"), -february);
    charge(march, '1', bartek, obiady, 22, 10, 220, QStringLiteral("T"), february);

    StatementOptions o = options(march);
    o.mode = SettlementMode::FeeGroupSettlement;
    o.feeGroup = meals;
    QStringList t = texts(o, true);
    EXPECT_EQ(t.indexOf(QStringLiteral("Wpłaty")), -1);  // no payments in the group modes
    EXPECT_EQ(t.indexOf(QStringLiteral("Cieślak Celina")), -1);  // her meals are advances
    EXPECT_GE(t.indexOf(QStringLiteral("Żywienie - luty 2024")), 0) << t.join(QLatin1Char('\n')).toStdString();
    int at = int(t.indexOf(QStringLiteral("Adamska Ala")));
    // price, advance (quantity, value), charged more (clamped), refunded, actual.
    EXPECT_EQ(t.mid(at + 1, 9), (QStringList{"10,00", "20", "200,00", "0", "0,00", "2", "20,00", "18", "180,00"}));
    at = int(t.indexOf(QStringLiteral("Bober Bartek")));
    EXPECT_EQ(t.mid(at + 1, 9), (QStringList{"10,00", "20", "200,00", "2", "20,00", "0", "0,00", "22", "220,00"}));

    o.mode = SettlementMode::FeeGroupPrices;
    t = texts(o, true);
    at = int(t.indexOf(QStringLiteral("Wyżywienie")));
    ASSERT_GE(at, 0) << t.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(t.value(at - 1), QStringLiteral("1"));
    EXPECT_EQ(t.mid(at + 1, 9), (QStringList{"10,00", "40", "400,00", "2", "20,00", "2", "20,00", "40", "400,00"}));
    EXPECT_EQ(t.indexOf(QStringLiteral("Adamska Ala")), -1);
}

INSTANTIATE_ENGINES(StatementPrintoutTest);

TEST_P(StatementPrintoutTest, QuantityAndPriceModeAndATableTooWideScaledToEightPoints)
{
    charge(march, '1', ala, obiady, -20, 10, -200, QStringLiteral("T"), -february);
    charge(march, '1', ala, obiady, 18, 10, 180, QStringLiteral("T"), february);
    charge(march, '1', bartek, obiady, 22, 10, 220, QStringLiteral("T"), february);
    exec(QStringLiteral("UPDATE OPCJE SET PARAMS='[PARAMETRY]\r\nDANE ZESTAWIENIA=ULICA/300/Ulica,MIASTO/300/Miasto'"));
    StatementOptions o = options(march);
    o.mode = SettlementMode::QuantityAndPrice;
    o.extra = true;
    const BuiltTemplate built = layout(true);
    const report::PreparedPages pages = makeStatementsJob(*db, o, &built)->run(report::Purpose::Pages);
    QStringList t;
    const report::TextBox* name = nullptr;
    for (const report::Page& page : pages.pages)
        for (const report::Primitive& p : page.items)
            if (const auto* box = std::get_if<report::TextBox>(&p)) {
                t << box->lines.join(QLatin1Char(' ')).trimmed();
                if (!name && t.last() == QStringLiteral("Adamska Ala"))
                    name = box;
            }
    ASSERT_NE(name, nullptr) << t.join(QLatin1Char('\n')).toStdString();
    // The name column at 31 moves to 24 and the type to 8 points.
    EXPECT_EQ(name->font.pointSize, 8);
    EXPECT_DOUBLE_EQ(name->rect.left() - report::defaultMargin, 25);
    const int at = int(t.indexOf(QStringLiteral("Adamska Ala")));
    // Street, town, opening balance, the advances of both groups, then the meals' price block:
    // price, reversed advance, charged more (none), refunded; the charges, payments, closing balance.
    EXPECT_EQ(t.mid(at + 3, 15), (QStringList{"0,00", "", "250,00", "0,00", "10,00", "20", "200,00", "0", "0,00", "2",
                                              "20,00", "230,00", "300,00", "", "70,00"}));
    EXPECT_GE(t.indexOf(QStringLiteral("przypis")), 0);
    EXPECT_GE(t.indexOf(QStringLiteral("odpis")), 0);
    EXPECT_EQ(t.indexOf(QStringLiteral("rzeczywiste")), -1);
}
