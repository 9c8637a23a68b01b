// The charges register: "Dotyczy", hand-typed lines (child, component, price,
// value, VAT), the DOT question, the invoices list, and the corrections of
// invoiced lines.

#include "shell/register_fixture.h"

#include "browser/area_arguments.h"
#include "fees/charges_areas.h"
#include "fees/nalicz_correction.h"
#include "fees/tdm_nalicz.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

namespace {

class NaliczTest : public RegisterTest {
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        if (IsSkipped())
            return;
        if (!db->hasColumn(QStringLiteral("NALICZ"), QStringLiteral("IDF")) || !db->hasTable(QStringLiteral("FAKT")))
            GTEST_SKIP() << "store without invoicing columns";
        group = insert(QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Misie', 1)"), QStringLiteral("KLASY"));
        Query(*db, QStringLiteral("INSERT INTO JEDNOST (JM) VALUES ('dzień')")).exec();
    }

    int insert(const QString& sql, const QString& table, const QVariantMap& binds = {},
               const QString& key = QStringLiteral("KOD"))
    {
        Query q(*db, sql);
        for (auto it = binds.constBegin(); it != binds.constEnd(); ++it)
            q.bind(it.key(), it.value());
        q.exec();
        return Query(*db, QStringLiteral("SELECT MAX(%1) FROM %2").arg(key, table)).scalar().toInt();
    }
    int month(int year, int m)
    {
        return insert(QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (:R, :M)"), QStringLiteral("MIESIACE"),
                      {{QStringLiteral("R"), year}, {QStringLiteral("M"), m}});
    }
    int child(const QString& name)
    {
        return insert(QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY) VALUES (:N, 'Polna', :K, 'T')"),
                      QStringLiteral("DZIECI"), {{QStringLiteral("N"), name}, {QStringLiteral("K"), group}});
    }
    int component(const QString& name, int kolej)
    {
        return insert(QStringLiteral("INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES (:N, :K)"), QStringLiteral("MEDIA"),
                      {{QStringLiteral("N"), name}, {QStringLiteral("K"), kolej}});
    }
    int rate(const QString& name, double vat)
    {
        return insert(QStringLiteral("INSERT INTO STAVAT (NAZWA, VAT) VALUES (:N, :V)"), QStringLiteral("STAVAT"),
                      {{QStringLiteral("N"), name}, {QStringLiteral("V"), vat}});
    }
    void price(int medium, const QDate& from, double cena)
    {
        Query(*db, QStringLiteral("INSERT INTO TARMED (TARYFA, MEDIUM, ODDATY, CENA, JM) VALUES (0, :M, :O, :C, 'dzień')"))
            .bind(QStringLiteral("M"), medium)
            .bind(QStringLiteral("O"), from)
            .bind(QStringLiteral("C"), cena)
            .exec();
    }
    int invoice(int kod, int numer, int osoba, const QVariant& pierw = {})
    {
        return insert(QStringLiteral("INSERT INTO FAKT (KOD, NUMER, OSOBA, WYST, TERMIN, TYTUL, PIERW) "
                                     "VALUES (:K, :N, :O, :W, :T, 'Opłaty', :P)"),
                      QStringLiteral("FAKT"),
                      {{QStringLiteral("K"), kod},
                       {QStringLiteral("N"), numer},
                       {QStringLiteral("O"), osoba},
                       {QStringLiteral("W"), QDate(2024, 3, 1)},
                       {QStringLiteral("T"), QDate(2024, 3, 31)},
                       {QStringLiteral("P"), pierw}},
                      QStringLiteral("ID"));
    }
    // An approved line of 10 units at 10.00 with 23 % VAT.
    int line(int kod, int osoba, int medium, double ilosc, const QVariant& idf, const QVariant& lpf,
             const QVariant& idopie = {})
    {
        const double value = ilosc * 10;
        return insert(QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, ROZLICZ, "
                                     "IDF, LPF, STAWKA, VAT, IDOPIE) VALUES (:K, '1', :O, :M, :I, 'dzień', 10, :W, 'N', "
                                     ":F, :L, :S, :V, :H)"),
                      QStringLiteral("NALICZ"),
                      {{QStringLiteral("K"), kod},
                       {QStringLiteral("O"), osoba},
                       {QStringLiteral("M"), medium},
                       {QStringLiteral("I"), ilosc},
                       {QStringLiteral("W"), value},
                       {QStringLiteral("F"), idf},
                       {QStringLiteral("L"), lpf},
                       {QStringLiteral("S"), vat23},
                       {QStringLiteral("V"), qRound(value * 23 / 123 * 100) / 100.0},
                       {QStringLiteral("H"), idopie}},
                      QStringLiteral("ID"));
    }
    // Rows of a query as "a|b|c", numbers without trailing zeros.
    QStringList rows(const QString& sql, const QVariantMap& binds = {})
    {
        Query q(*db, sql);
        for (auto it = binds.constBegin(); it != binds.constEnd(); ++it)
            q.bind(it.key(), it.value());
        q.exec();
        QStringList out;
        while (q.next()) {
            QStringList cells;
            for (int c = 0; c < q.columnCount(); ++c) {
                const QVariant v = q.value(c);
                bool isNumber = false;
                const double d = v.toDouble(&isNumber);
                cells << (v.isNull() ? QString() : isNumber ? QString::number(d, 'g', 10) : v.toString());
            }
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }
    void useInvoices() { context().params.fakturyTytulem = QStringLiteral("Opłaty"); }
    static QString refusal(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const Error& e) {
            return e.message();
        }
        return QStringLiteral("(nie odmówiono)");
    }
    std::unique_ptr<TDMNalicz> open(int kod, const QString& type, int oneChild = 0)
    {
        NaliczOptions o;
        o.month = kod;
        o.type = type;
        o.child = oneChild;
        auto m = std::make_unique<TDMNalicz>(context(), o);
        m->lines().table->open();
        return m;
    }

    int group = 0;
    int vat23 = 0;
};

TEST_P(NaliczTest, DotyczyTextColumnsAndChoices)
{
    // Added out of calendar order: the choice list follows the calendar.
    const int march = month(2024, 3);
    const int feb = month(2024, 2);
    const int a = child(QStringLiteral("Adamska Ola"));
    const int c = component(QStringLiteral("Pobyt"), 1);
    for (const QVariant& dot : {QVariant(-feb), QVariant(feb), QVariant()})
        Query(*db, QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, WARTOSC, ROZLICZ, DOT) "
                                  "VALUES (:K, '0', :O, :M, 1, 'T', :D)"))
            .bind(QStringLiteral("K"), march)
            .bind(QStringLiteral("O"), a)
            .bind(QStringLiteral("M"), c)
            .bind(QStringLiteral("D"), dot)
            .exec();
    context().params.tekstNaRozliczenie = QStringLiteral("Korekta");

    auto m = open(march, QStringLiteral("0"));
    Table& t = *m->lines().table;
    QStringList texts;
    for (int r = 0; r < t.rowCount(); ++r)
        texts << t.valueAt(r, QStringLiteral("DOTYCZY")).toString();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("luty 2024, zaliczka"), QStringLiteral("luty 2024, korekta"), QString()}));
    EXPECT_EQ(t.valueAt(0, QStringLiteral("DZIECKO")).toString(), QStringLiteral("Adamska Ola, Polna"));
    EXPECT_EQ(t.valueAt(0, QStringLiteral("ROZLICZNAZWA")).toString(), QStringLiteral("Tak"));

    // Without invoicing the VAT columns are not offered; the settlement
    // column takes the parameter's word.
    EXPECT_EQ(captions(m->lines()), (QStringList{"Dziecko", "Składnik", "Ilość", "Jedn.", "Cena", "Wartość", "Korekta",
                                                 "Dotyczy"}));
    useInvoices();
    auto withVat = open(march, QStringLiteral("0"), a);
    EXPECT_EQ(captions(withVat->lines()), (QStringList{"Składnik", "Ilość", "Jedn.", "Cena", "Wartość", "Korekta",
                                                       "Dotyczy", "Stawka VAT", "Kwota VAT", "Ośrodek pomocy"}));
    EXPECT_EQ(captions(*withVat->invoiceLines()).contains(QStringLiteral("Poz. faktury")), true);

    QStringList choices;
    QVariantList dots;
    prompts.expectList(QStringLiteral("Dotyczy"), feb);
    ASSERT_TRUE(m->chooseDotyczy(m->lines()));
    for (const auto& e : fees::dotyczyChoices(*db, context().params)) {
        choices << e.text;
        dots << e.value;
    }
    EXPECT_EQ(choices, (QStringList{"luty 2024, zaliczka", "luty 2024, korekta", "marzec 2024, zaliczka",
                                    "marzec 2024, korekta"}));
    EXPECT_EQ(dots, (QVariantList{-feb, feb, -march, march}));
    EXPECT_EQ(t.asInt(QStringLiteral("DOT")), feb);
    t.cancel();
}

TEST_P(NaliczTest, HandEntryChildPriceValueAndVat)
{
    useInvoices();
    const int march = month(2024, 3);
    const int nowak = child(QStringLiteral("Nowak Jan"));
    const int adamska = child(QStringLiteral("Adamska Ola"));
    const int meals = component(QStringLiteral("Obiady"), 2);
    const int stay = component(QStringLiteral("Pobyt"), 1);
    price(stay, QDate(2024, 1, 1), 10.0);
    price(stay, QDate(2024, 3, 15), 12.5);  // later than the month's first day
    price(meals, QDate(2024, 1, 1), 7.25);
    vat23 = rate(QStringLiteral("23%"), 23);
    const int zero = rate(QStringLiteral("zw"), 0);

    auto m = open(march, QStringLiteral("0"));
    Table& t = *m->lines().table;
    prompts.expectChoice(QStringLiteral("Wybór"), -1).withText(QStringLiteral("Przy wprowadzaniu kolejnej pozycji"));
    t.insert();
    EXPECT_EQ(t.asInt(QStringLiteral("OSOBA")), adamska);  // the first child by name
    EXPECT_EQ(t.asInt(QStringLiteral("MEDIUM")), stay);    // the first component by KOLEJ
    EXPECT_EQ(t.asInt(QStringLiteral("KOD")), march);
    EXPECT_EQ(t.text(QStringLiteral("TYP")), QStringLiteral("0"));
    t.setValue(QStringLiteral("ILOSC"), 3);
    EXPECT_EQ(t.text(QStringLiteral("JM")), QStringLiteral("dzień"));
    EXPECT_DOUBLE_EQ(t.asDouble(QStringLiteral("CENA")), 10.0);
    EXPECT_DOUBLE_EQ(t.asDouble(QStringLiteral("WARTOSC")), 30.0);
    EXPECT_TRUE(t.isNull(QStringLiteral("VAT")));
    t.setValue(QStringLiteral("STAWKA"), vat23);
    EXPECT_DOUBLE_EQ(t.asDouble(QStringLiteral("VAT")), 5.61);
    // A price typed by hand stays when the component changes; the value follows it.
    t.setValue(QStringLiteral("CENA"), 3.335);
    EXPECT_DOUBLE_EQ(t.asDouble(QStringLiteral("WARTOSC")), 10.01);
    t.setValue(QStringLiteral("MEDIUM"), meals);
    EXPECT_DOUBLE_EQ(t.asDouble(QStringLiteral("CENA")), 3.335);
    EXPECT_DOUBLE_EQ(t.asDouble(QStringLiteral("VAT")), 1.87);
    t.setValue(QStringLiteral("STAWKA"), zero);
    EXPECT_TRUE(t.isNull(QStringLiteral("VAT")));
    t.post();

    // The next line takes the child after the current one, then the list ends.
    t.insert();
    EXPECT_EQ(t.asInt(QStringLiteral("OSOBA")), nowak);
    t.setValue(QStringLiteral("MEDIUM"), meals);
    t.setValue(QStringLiteral("ILOSC"), 2);
    EXPECT_DOUBLE_EQ(t.asDouble(QStringLiteral("CENA")), 7.25);
    EXPECT_DOUBLE_EQ(t.asDouble(QStringLiteral("WARTOSC")), 14.5);
    t.post();
    ASSERT_EQ(t.asInt(QStringLiteral("OSOBA")), nowak);
    prompts.expectInfo(QStringLiteral("To było ostatnie dziecko"));
    t.insert();
    EXPECT_TRUE(t.isNull(QStringLiteral("OSOBA")));
    t.cancel();
    EXPECT_EQ(rows(QStringLiteral("SELECT OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, STAWKA, VAT FROM NALICZ ORDER BY ID")),
              (QStringList{QStringLiteral("%1|%2|3|dzień|3.335|10.01|%3|").arg(adamska).arg(meals).arg(zero),
                           QStringLiteral("%1|%2|2|dzień|7.25|14.5||").arg(nowak).arg(meals)}));

    // "Wyświetl listę dzieci" asks for the child of every new line.
    auto again = open(march, QStringLiteral("0"));
    prompts.expectChoice(QStringLiteral("Wybór"), -2);
    prompts.expectRecord(QStringLiteral("Dziecko"), nowak);
    again->lines().table->insert();
    EXPECT_EQ(again->lines().table->asInt(QStringLiteral("OSOBA")), nowak);
    again->lines().table->cancel();
    prompts.expectRecord(QStringLiteral("Dziecko"), adamska);
    again->lines().table->insert();
    EXPECT_EQ(again->lines().table->asInt(QStringLiteral("OSOBA")), adamska);
    again->lines().table->cancel();
}

TEST_P(NaliczTest, SettlementMonthOnlyOnSettlementLines)
{
    const int march = month(2024, 3);
    const int a = child(QStringLiteral("Adamska Ola"));
    component(QStringLiteral("Pobyt"), 1);
    auto m = open(march, QStringLiteral("0"), a);
    Table& t = *m->lines().table;
    t.insert();
    EXPECT_EQ(t.asInt(QStringLiteral("OSOBA")), a);  // one child: no question
    t.setValue(QStringLiteral("WARTOSC"), 5);
    t.setValue(QStringLiteral("DOT"), march);
    prompts.expectYesNo(TDMNalicz::dotWithoutSettlementQuestion(), false);
    EXPECT_EQ(refusal([&] { t.post(); }), QString());  // refused without a message
    EXPECT_TRUE(t.isEditing());
    EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) FROM NALICZ")), QStringList{"0"});
    prompts.expectYesNo(TDMNalicz::dotWithoutSettlementQuestion(), true);
    t.post();
    t.insert();
    t.setValue(QStringLiteral("ROZLICZ"), QStringLiteral("T"));
    t.setValue(QStringLiteral("DOT"), -march);
    t.post();
    EXPECT_EQ(rows(QStringLiteral("SELECT ROZLICZ, DOT FROM NALICZ ORDER BY ID")),
              (QStringList{QStringLiteral("N|"), QStringLiteral("T|%1").arg(-march)}));
}

TEST_P(NaliczTest, InvoicesListNumbersKindsAndNoDeletion)
{
    useInvoices();
    context().params.fakturyFormat = QStringLiteral("FV/@@@/mm/rr");
    const int feb = month(2024, 2);
    const int march = month(2024, 3);
    const int a = child(QStringLiteral("Adamska Ola"));
    const int c = component(QStringLiteral("Pobyt"), 1);
    vat23 = rate(QStringLiteral("23%"), 23);
    const int first = invoice(feb, 17, a);
    invoice(march, 2, a);
    invoice(march, 1, a, first);  // a correction booked in March
    line(feb, a, c, 4, first, 2);
    line(feb, a, c, 5, first, 1);

    NaliczOptions o;
    o.month = march;
    o.invoicesFirst = true;
    TDMNalicz m(context(), o);
    ASSERT_EQ(m.mainDataSet(), m.invoices());
    Table& f = *m.invoices()->table;
    f.open();
    QStringList shown;
    for (int r = 0; r < f.rowCount(); ++r)
        shown << QStringList{f.valueAt(r, QStringLiteral("RODZAJ")).toString(),
                             f.valueAt(r, QStringLiteral("NUMERTEKST")).toString(),
                             f.valueAt(r, QStringLiteral("PIERWOTNA")).toString()}
                     .join(QLatin1Char('|'));
    EXPECT_EQ(shown, (QStringList{"Faktura korygująca VAT|FV/001/03/24|FV/017/02/24", "Faktura VAT|FV/002/03/24|"}));
    EXPECT_EQ(f.valueAt(0, QStringLiteral("CAPTION")).toString(),
              QStringLiteral("Faktura korygująca VAT FV/001/03/24, marzec 2024"));

    // Invoices are never deleted, and the refusal says nothing.
    EXPECT_FALSE(m.canDelete(*m.invoices()));
    EXPECT_EQ(refusal([&] { f.remove(); }), QString());
    EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) FROM FAKT")), QStringList{"3"});

    // "Pozycje": the lines of the invoice in LPF order.
    NaliczOptions feb0;
    feb0.month = feb;
    feb0.invoicesFirst = true;
    TDMNalicz fm(context(), feb0);
    fm.invoices()->table->open();
    Table& p = *fm.invoiceLines()->table;
    p.open();
    ASSERT_EQ(p.rowCount(), 2);
    EXPECT_EQ(p.valueAt(0, QStringLiteral("LPF")).toInt(), 1);
    EXPECT_DOUBLE_EQ(p.valueAt(0, QStringLiteral("ILOSC")).toDouble(), 5);
    EXPECT_EQ(fm.invoices()->command(QStringLiteral("Pozycje1"))->caption, QStringLiteral("Pozycje"));
}

// ---- corrections ---------------------------------------------------------------

class NaliczCorrectionTest : public NaliczTest {
protected:
    void SetUp() override
    {
        NaliczTest::SetUp();
        if (IsSkipped())
            return;
        useInvoices();
        march = month(2024, 3);
        april = month(2024, 4);
        a = child(QStringLiteral("Adamska Ola"));
        stay = component(QStringLiteral("Pobyt"), 1);
        vat23 = rate(QStringLiteral("23%"), 23);
    }
    void expectNewCorrection(const QString& title)
    {
        prompts.expectYesNo(fees::CorrectionBook::question(), true);
        prompts.expectMonth(QStringLiteral("Tworzenie korekty"), 2024, 4)
            .withText(QStringLiteral("Wybierz miesiąc księgowania"));
        prompts.expectDate(QStringLiteral("Tworzenie korekty"), issued).withText(QStringLiteral("Wybierz datę wystawienia"));
        prompts.expectDate(QStringLiteral("Tworzenie korekty"), due).withText(QStringLiteral("Wybierz termin płatności"));
        prompts.expectText(QStringLiteral("Tworzenie korekty"), QStringLiteral("Podaj tekst tytułem"), title);
    }
    static bool at(Table& t, int id)
    {
        return t.locate({QStringLiteral("ID")}, {id});
    }

    int march = 0, april = 0, a = 0, stay = 0;
    QDate issued{2024, 4, 5};
    QDate due{2024, 4, 19};
};

TEST_P(NaliczCorrectionTest, ChangeAndDeletionBookedOnCorrectionInvoices)
{
    // March has invoices up to 40; corrections are counted apart.
    int last = 0;
    for (int n = 1; n <= 40; ++n)
        last = invoice(march, n, a);
    const int l1 = line(march, a, stay, 10, last, 1);
    const int l2 = line(march, a, stay, 5, last, 2);
    const int other = line(march, a, stay, 3, last - 1, 1);

    auto m = open(march, QStringLiteral("1"));
    Table& t = *m->lines().table;
    ASSERT_TRUE(at(t, l1));
    expectNewCorrection(QStringLiteral("Korekta pobytu"));
    t.edit();
    t.setValue(QStringLiteral("ILOSC"), 8);
    EXPECT_DOUBLE_EQ(t.asDouble(QStringLiteral("WARTOSC")), 80);
    EXPECT_DOUBLE_EQ(t.asDouble(QStringLiteral("VAT")), 14.96);
    t.post();
    EXPECT_TRUE(prompts.done());

    const QString correctionSql = QStringLiteral("SELECT KOD, NUMER, OSOBA, WYST, TERMIN, TYTUL, PIERW FROM FAKT "
                                                 "WHERE PIERW IS NOT NULL ORDER BY ID");
    EXPECT_EQ(rows(correctionSql),
              QStringList{QStringLiteral("%1|1|%2|2024-04-05|2024-04-19|Korekta pobytu|%3").arg(april).arg(a).arg(last)});
    const int correction = Query(*db, QStringLiteral("SELECT MAX(ID) FROM FAKT")).scalar().toInt();
    const QString linesSql = QStringLiteral("SELECT KOD, TYP, OSOBA, MEDIUM, ILOSC, CENA, WARTOSC, LPF, STAWKA, VAT, IDF "
                                            "FROM NALICZ WHERE ID = :ID OR IDF = :F ORDER BY ID");
    const QString base = QStringLiteral("%1|1|%2|%3|").arg(march).arg(a).arg(stay);
    EXPECT_EQ(rows(linesSql, {{QStringLiteral("ID"), l1}, {QStringLiteral("F"), correction}}),
              (QStringList{base + QStringLiteral("10|10|100|1|%1|18.7|%2").arg(vat23).arg(last),
                           base + QStringLiteral("-10|10|-100|-1|%1|-18.7|%2").arg(vat23).arg(correction),
                           base + QStringLiteral("8|10|80|1|%1|14.96|%2").arg(vat23).arg(correction)}));
    // The month's approved total changes by the difference.
    EXPECT_EQ(rows(QStringLiteral("SELECT SUM(WARTOSC) FROM NALICZ WHERE KOD = :K AND TYP = '1'"), {{"K", march}}),
              QStringList{"160"});
    // The list shows the correction's lines, and the line kept its values.
    EXPECT_EQ(t.rowCount(), 5);
    ASSERT_TRUE(at(t, l1));
    EXPECT_DOUBLE_EQ(t.asDouble(QStringLiteral("ILOSC")), 10);

    // Another line of the same invoice goes onto the same correction without a question.
    ASSERT_TRUE(at(t, l2));
    t.edit();
    t.setValue(QStringLiteral("ILOSC"), 6);
    t.post();
    EXPECT_EQ(rows(QStringLiteral("SELECT ILOSC, LPF FROM NALICZ WHERE IDF = :F ORDER BY ID"), {{"F", correction}}),
              (QStringList{"-10|-1", "8|1", "-5|-2", "6|2"}));

    // A correction line itself never changes.
    ASSERT_TRUE(t.locate({QStringLiteral("LPF")}, {-1}));
    EXPECT_EQ(refusal([&] { t.edit(); }), fees::CorrectionBook::correctionLineRefusal());
    EXPECT_EQ(refusal([&] { t.remove(); }), fees::CorrectionBook::correctionLineRefusal());

    // Deleting a line of another invoice: a second correction, numbered 2,
    // holding only the reversing line; the line stays.
    ASSERT_TRUE(at(t, other));
    expectNewCorrection(QString());
    EXPECT_EQ(refusal([&] { t.remove(); }), QString());
    const int second = Query(*db, QStringLiteral("SELECT MAX(ID) FROM FAKT")).scalar().toInt();
    EXPECT_EQ(rows(QStringLiteral("SELECT NUMER, PIERW, TYTUL FROM FAKT WHERE ID = :ID"), {{"ID", second}}),
              QStringList{QStringLiteral("2|%1|").arg(last - 1)});
    EXPECT_EQ(rows(QStringLiteral("SELECT ILOSC, WARTOSC, LPF, VAT FROM NALICZ WHERE IDF = :F"), {{"F", second}}),
              QStringList{"-3|-30|-1|-5.61"});
    EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) FROM NALICZ WHERE ID = :ID"), {{"ID", other}}), QStringList{"1"});
}

TEST_P(NaliczCorrectionTest, DeclinedCancelledAndRefusedCorrections)
{
    const int inv = invoice(march, 1, a);
    const int l1 = line(march, a, stay, 10, inv, 1);
    auto m = open(march, QStringLiteral("1"));
    Table& t = *m->lines().table;
    ASSERT_TRUE(at(t, l1));

    // No: the line changes in place and stays on its invoice; a deletion is refused silently.
    prompts.expectYesNo(fees::CorrectionBook::question(), false);
    t.edit();
    t.setValue(QStringLiteral("ILOSC"), 9);
    t.post();
    EXPECT_EQ(rows(QStringLiteral("SELECT ILOSC, WARTOSC, IDF, LPF FROM NALICZ WHERE ID = :ID"), {{"ID", l1}}),
              QStringList{QStringLiteral("9|90|%1|1").arg(inv)});
    prompts.expectYesNo(fees::CorrectionBook::question(), false);
    EXPECT_EQ(refusal([&] { t.remove(); }), QString());

    // A booking month without a record stops the correction.
    prompts.expectYesNo(fees::CorrectionBook::question(), true);
    prompts.expectMonth(QStringLiteral("Tworzenie korekty"), 2024, 7);
    EXPECT_EQ(refusal([&] { t.edit(); }), fees::CorrectionBook::noMonthMessage());
    EXPECT_FALSE(t.isEditing());

    // A cancelled picker stops the change without a message.
    prompts.expectYesNo(fees::CorrectionBook::question(), true);
    prompts.expectMonth(QStringLiteral("Tworzenie korekty"), 2024, 4);
    prompts.expectCancel(ScriptedPrompts::Kind::Date, QStringLiteral("Tworzenie korekty"));
    EXPECT_EQ(refusal([&] { t.edit(); }), QString());

    // A change given up drops the prepared correction: the next change asks again.
    expectNewCorrection(QStringLiteral("x"));
    t.edit();
    t.setValue(QStringLiteral("ILOSC"), 1);
    t.cancel();
    prompts.expectYesNo(fees::CorrectionBook::question(), false);
    t.edit();
    t.cancel();
    EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) FROM FAKT")), QStringList{"1"});
    EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) FROM NALICZ")), QStringList{"1"});
    EXPECT_TRUE(prompts.done());
}

TEST_P(NaliczCorrectionTest, HelpCentreShareCorrectedOnItsOwnInvoice)
{
    const int centre = child(QStringLiteral("Ośrodek Pomocy"));
    const int centreInvoice = invoice(march, 2, centre);
    const int share = line(march, a, stay, 4, centreInvoice, 3, centre);
    // An earlier correction of that invoice with other dates is not reused.
    invoice(april, 1, centre, centreInvoice);

    auto m = open(march, QStringLiteral("1"), a);
    Table& t = *m->lines().table;
    ASSERT_TRUE(at(t, share));
    expectNewCorrection(QStringLiteral("Pomoc"));
    t.edit();
    t.setValue(QStringLiteral("ILOSC"), 2);
    t.post();
    const int correction = Query(*db, QStringLiteral("SELECT MAX(ID) FROM FAKT")).scalar().toInt();
    EXPECT_EQ(rows(QStringLiteral("SELECT OSOBA, NUMER, KOD FROM FAKT WHERE ID = :ID"), {{"ID", correction}}),
              QStringList{QStringLiteral("%1|2|%2").arg(centre).arg(april)});
    EXPECT_EQ(rows(QStringLiteral("SELECT OSOBA, IDOPIE, ILOSC, VAT, LPF FROM NALICZ WHERE IDF = :F ORDER BY ID"),
                   {{"F", correction}}),
              (QStringList{QStringLiteral("%1|%2|-4|-7.48|-3").arg(a).arg(centre),
                           QStringLiteral("%1|%2|2|3.74|3").arg(a).arg(centre)}));

    // Reopened with the same dates, the list continues that correction.
    auto again = open(march, QStringLiteral("1"), a);
    Table& t2 = *again->lines().table;
    ASSERT_TRUE(at(t2, share));
    prompts.expectYesNo(fees::CorrectionBook::question(), true);
    prompts.expectMonth(QStringLiteral("Tworzenie korekty"), 2024, 4);
    prompts.expectDate(QStringLiteral("Tworzenie korekty"), issued);
    prompts.expectDate(QStringLiteral("Tworzenie korekty"), due);
    t2.edit();
    t2.setValue(QStringLiteral("ILOSC"), 1);
    t2.post();
    EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) FROM FAKT WHERE PIERW IS NOT NULL")), QStringList{"2"});
    EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) FROM NALICZ WHERE IDF = :F"), {{"F", correction}}), QStringList{"4"});

    // In the list of every child, another child's share on the centre's
    // invoice is asked about anew; with the same dates it joins that correction.
    const int b = child(QStringLiteral("Bielska Ewa"));
    const int shareB = line(march, b, stay, 6, centreInvoice, 4, centre);
    auto all = open(march, QStringLiteral("1"));
    Table& t3 = *all->lines().table;
    ASSERT_TRUE(at(t3, share));
    prompts.expectYesNo(fees::CorrectionBook::question(), true);
    prompts.expectMonth(QStringLiteral("Tworzenie korekty"), 2024, 4);
    prompts.expectDate(QStringLiteral("Tworzenie korekty"), issued);
    prompts.expectDate(QStringLiteral("Tworzenie korekty"), due);
    t3.edit();
    t3.setValue(QStringLiteral("ILOSC"), 3);
    t3.post();
    ASSERT_TRUE(at(t3, shareB));
    prompts.expectYesNo(fees::CorrectionBook::question(), true);
    prompts.expectMonth(QStringLiteral("Tworzenie korekty"), 2024, 4);
    prompts.expectDate(QStringLiteral("Tworzenie korekty"), issued);
    prompts.expectDate(QStringLiteral("Tworzenie korekty"), due);
    t3.edit();
    t3.setValue(QStringLiteral("ILOSC"), 5);
    t3.post();
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) FROM FAKT WHERE PIERW IS NOT NULL")), QStringList{"2"});
    EXPECT_EQ(rows(QStringLiteral("SELECT OSOBA, ILOSC, LPF, VAT FROM NALICZ WHERE IDF = :F AND OSOBA = :O ORDER BY ID"),
                   {{"F", correction}, {"O", b}}),
              (QStringList{QStringLiteral("%1|-6|-4|-11.22").arg(b), QStringLiteral("%1|5|4|9.35").arg(b)}));
}

TEST_P(NaliczCorrectionTest, ListsFollowTheMonthsWindow)
{
    const int inMarch = line(march, a, stay, 1, QVariant(), QVariant());
    const int inApril = line(april, a, stay, 2, QVariant(), QVariant());
    DataSet months;
    months.name = QStringLiteral("Miesiace");
    Table monthsTable(context().db(), QStringLiteral("MIESIACE"));
    monthsTable.setOrdering(QStringLiteral("ROK;MIES"));
    monthsTable.open();
    months.table = &monthsTable;
    QObject owner;
    Command approved;
    approved.opensWindow = true;

    registerChargesAreas(areas);
    ASSERT_TRUE(areas.open(area::chargeLines(), context(),
                           {{area::monthKey(), march},
                            {area::typeKey(), QStringLiteral("1")},
                            {area::titleKey(), QStringLiteral("Zatwierdzone opłaty")},
                            {area::masterKey(), QVariant::fromValue(&months)},
                            {area::ownerKey(), QVariant::fromValue(&owner)},
                            {area::commandKey(), QVariant::fromValue(&approved)}}));
    ASSERT_EQ(opener.open().size(), 1);
    EXPECT_EQ(opener.open().back().module->parent(), &owner);
    Table& t = *opener.open().back().dataSet->table;
    t.open();
    ASSERT_TRUE(monthsTable.locate({QStringLiteral("KOD")}, {march}));
    ASSERT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.asInt(QStringLiteral("ID")), inMarch);
    ASSERT_TRUE(monthsTable.locate({QStringLiteral("KOD")}, {april}));
    ASSERT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.asInt(QStringLiteral("ID")), inApril);
    prompts.expectChoice(QStringLiteral("Wybór"), -1);
    t.insert();
    EXPECT_EQ(t.asInt(QStringLiteral("KOD")), april);
    EXPECT_EQ(t.text(QStringLiteral("TYP")), QStringLiteral("1"));
    t.cancel();

    // Chosen again, the command closes its window.
    approved.checked = true;
    ASSERT_TRUE(areas.open(area::chargeLines(), context(), {{area::commandKey(), QVariant::fromValue(&approved)}}));
    EXPECT_TRUE(opener.open().isEmpty());

    // Opened again from the same window, the list is the same module, so a
    // correction being built there is not forgotten.
    approved.checked = false;
    const QVariantMap again{{area::monthKey(), march},
                            {area::typeKey(), QStringLiteral("1")},
                            {area::masterKey(), QVariant::fromValue(&months)},
                            {area::ownerKey(), QVariant::fromValue(&owner)},
                            {area::commandKey(), QVariant::fromValue(&approved)}};
    ASSERT_TRUE(areas.open(area::chargeLines(), context(), again));
    EXPECT_EQ(owner.findChildren<TDMNalicz*>().size(), 1);
    // ... but the way children are entered is asked again.
    Table& reopened = *opener.open().back().dataSet->table;
    reopened.open();
    prompts.expectChoice(QStringLiteral("Wybór"), -1);
    reopened.insert();
    reopened.cancel();
    EXPECT_TRUE(prompts.done());
}

}  // namespace

INSTANTIATE_ENGINES(NaliczTest);
INSTANTIATE_ENGINES(NaliczCorrectionTest);
