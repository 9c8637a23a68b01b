// The monthly charge run on hand-built stores: every NALICZ and FAKT row
// it leaves, on both engines.

#include "shell/register_fixture.h"

#include "browser/message_log.h"
#include "fees/charge_run.h"
#include "store/query.h"

#include <QDate>

#include <limits>
#include <ostream>

// Readable failures: rows are shown as text.
static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
static void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << "\n    " << list.join(QStringLiteral("\n    ")).toStdString() << "\n";
}

using namespace fees;

namespace {

const QString empty = QStringLiteral("∅");

QString cell(const QVariant& v, bool text)
{
    if (v.isNull() || !v.isValid())
        return empty;
    if (text)
        return v.toString();
    return QString::number(v.toDouble(), 'g', 12);
}

// An expected row, written as the dump below writes it.
QString row(std::initializer_list<QVariant> cells)
{
    QStringList out;
    for (const QVariant& v : cells)
        out << cell(v, v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QDate);
    return out.join(QLatin1Char('|'));
}

class ChargeRunTest : public RegisterTest {
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        if (IsSkipped())
            return;
        context().params.sposobyJednolite = false;
        group1 = addGroup(QStringLiteral("Biedronki"), 1);
    }

    int insert(const QString& sql, const QString& table, const QString& key = QStringLiteral("KOD"))
    {
        Query(*db, sql).exec();
        return Query(*db, QStringLiteral("SELECT MAX(%1) FROM %2").arg(key, table)).scalar().toInt();
    }
    int addGroup(const QString& name, int kolej)
    {
        Query(*db, QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES (:N, :K)"))
            .bind(QStringLiteral("N"), name).bind(QStringLiteral("K"), kolej).exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM KLASY")).scalar().toInt();
    }
    int addChild(const QString& name, int group, const QString& pesel = {}, const QString& active = QStringLiteral("T"))
    {
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, PESEL, AKTYWNY) VALUES (:N, 'Polna 3', :K, :P, :A)"))
            .bind(QStringLiteral("N"), name).bind(QStringLiteral("K"), group).bind(QStringLiteral("P"), pesel)
            .bind(QStringLiteral("A"), active).exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM DZIECI")).scalar().toInt();
    }
    int addComponent(const QString& name, int kolej)
    {
        Query(*db, QStringLiteral("INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES (:N, :K)"))
            .bind(QStringLiteral("N"), name).bind(QStringLiteral("K"), kolej).exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM MEDIA")).scalar().toInt();
    }
    int addMethod(const QString& definition)
    {
        Query(*db, QStringLiteral("INSERT INTO SPOSOBY (NAZWA, OPIS) VALUES (:N, :O)"))
            .bind(QStringLiteral("N"), definition).bind(QStringLiteral("O"), definition).exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM SPOSOBY")).scalar().toInt();
    }
    int addVat(double percent)
    {
        Query(*db, QStringLiteral("INSERT INTO STAVAT (NAZWA, VAT) VALUES ('stawka', :V)"))
            .bind(QStringLiteral("V"), percent).exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM STAVAT")).scalar().toInt();
    }
    int addMonth(int year, int month, const QString& freeDays, int code = 0)
    {
        Query q(*db, code ? QStringLiteral("INSERT INTO MIESIACE (KOD, ROK, MIES, DNIWOLNE) VALUES (:C, :R, :M, :D)")
                          : QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (:R, :M, :D)"));
        if (code)
            q.bind(QStringLiteral("C"), code);
        q.bind(QStringLiteral("R"), year).bind(QStringLiteral("M"), month).bind(QStringLiteral("D"), freeDays).exec();
        return monthCode(year, month);
    }
    int monthCode(int year, int month)
    {
        return Query(*db, QStringLiteral("SELECT KOD FROM MIESIACE WHERE ROK = :R AND MIES = :M"))
            .bind(QStringLiteral("R"), year).bind(QStringLiteral("M"), month).scalar().toInt();
    }
    void assign(int child, int component, QDate from, QDate to, int method, int settlement, double share = 0)
    {
        Query(*db, QStringLiteral("INSERT INTO DZIEMED (OSOBA, MEDIUM, ODDATY, DODATY, SPOSOB, SPOROZ, PROCOPIE) "
                                  "VALUES (:O, :M, :F, :T, :S, :R, :P)"))
            .bind(QStringLiteral("O"), child).bind(QStringLiteral("M"), component).bind(QStringLiteral("F"), from)
            .bind(QStringLiteral("T"), to).bind(QStringLiteral("S"), method).bind(QStringLiteral("R"), settlement)
            .bind(QStringLiteral("P"), share).exec();
    }
    void price(int component, QDate from, QDate to, double value, const QVariant& rate = {})
    {
        Query(*db, QStringLiteral("INSERT INTO TARMED (TARYFA, MEDIUM, ODDATY, DODATY, CENA, JM, STAWKA) "
                                  "VALUES (0, :M, :F, :T, :C, 'szt', :S)"))
            .bind(QStringLiteral("M"), component).bind(QStringLiteral("F"), from).bind(QStringLiteral("T"), to)
            .bind(QStringLiteral("C"), value).bind(QStringLiteral("S"), rate).exec();
    }
    void uniformMethod(int component, QDate from, QDate to, int method, int settlement)
    {
        Query(*db, QStringLiteral("INSERT INTO MEDSPOS (MEDIUM, ODDATY, DODATY, SPOSOB, SPOROZ) VALUES (:M, :F, :T, :S, :R)"))
            .bind(QStringLiteral("M"), component).bind(QStringLiteral("F"), from).bind(QStringLiteral("T"), to)
            .bind(QStringLiteral("S"), method).bind(QStringLiteral("R"), settlement).exec();
    }
    // Marks every day of the list (day numbers) with `mark`.
    void attend(int child, int year, int month, const QList<int>& days, const QString& mark)
    {
        Query q(*db, QStringLiteral("INSERT INTO OBECN (OSOBA, DATA, OBECNY) VALUES (:O, :D, :M)"));
        for (const int d : days)
            q.bind(QStringLiteral("O"), child).bind(QStringLiteral("D"), QDate(year, month, d))
                .bind(QStringLiteral("M"), mark).exec();
    }
    void line(int month, const QString& type, int child, int component, double quantity, double price,
              const QString& settles = QStringLiteral("N"))
    {
        Query(*db, QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, ROZLICZ) "
                                  "VALUES (:K, :T, :O, :M, :I, 'szt', :C, :W, :R)"))
            .bind(QStringLiteral("K"), month).bind(QStringLiteral("T"), type).bind(QStringLiteral("O"), child)
            .bind(QStringLiteral("M"), component).bind(QStringLiteral("I"), quantity).bind(QStringLiteral("C"), price)
            .bind(QStringLiteral("W"), quantity * price).bind(QStringLiteral("R"), settles).exec();
    }

    // NALICZ of a month record in the order written, with the invoicing
    // columns when asked.
    QStringList lines(int month, bool invoicing = false)
    {
        Query q(*db, QStringLiteral("SELECT KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, ROZLICZ, DOT, "
                                    "IDF, LPF, STAWKA, VAT, IDOPIE FROM NALICZ WHERE KOD = :K ORDER BY ID"));
        q.bind(QStringLiteral("K"), month).exec();
        QStringList out;
        while (q.next()) {
            QStringList r;
            for (int c = 0; c < (invoicing ? 15 : 10); ++c)
                r << cell(q.value(c), c == 1 || c == 5 || c == 8);
            out << r.join(QLatin1Char('|'));
        }
        return out;
    }
    QStringList invoices()
    {
        Query q(*db, QStringLiteral("SELECT ID, KOD, NUMER, OSOBA, WYST, TERMIN, TYTUL, PIERW FROM FAKT ORDER BY ID"));
        q.exec();
        QStringList out;
        while (q.next())
            out << QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8").arg(q.value(0).toInt()).arg(q.value(1).toInt())
                       .arg(q.value(2).toInt()).arg(q.value(3).toInt())
                       .arg(q.value(4).toDate().toString(Qt::ISODate), q.value(5).toDate().toString(Qt::ISODate),
                            q.value(6).toString(), cell(q.value(7), false));
        return out;
    }
    int invoiceId(int number)
    {
        return Query(*db, QStringLiteral("SELECT ID FROM FAKT WHERE NUMER = :N AND PIERW IS NULL"))
            .bind(QStringLiteral("N"), number).scalar().toInt();
    }
    int count(const QString& table)
    {
        return Query(*db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).scalar().toInt();
    }

    ChargeRunResult compute(int year, int month, const ChargeChildren& who = ChargeChildren::byGroups())
    {
        prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
        prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), -1);
        if (!who.fromGrid && !who.oneChild)
            prompts.expectChecksAsOffered(QStringLiteral("Wybierz grupy"));
        return runCharges(context(), ChargeOperation::Compute, year, month, who, log);
    }
    ChargeRunResult approve(int year, int month, QDate issued = {}, QDate due = {},
                            const ChargeChildren& who = ChargeChildren::byGroups())
    {
        prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
        if (issued.isValid()) {
            prompts.expectDate(QStringLiteral("Zatwierdzanie opłat"), issued).withText(QStringLiteral("Wybierz datę wystawienia"));
            prompts.expectDate(QStringLiteral("Zatwierdzanie opłat"), due).withText(QStringLiteral("Wybierz termin płatności"));
            prompts.expectText(QStringLiteral("Zatwierdzanie opłat"), QStringLiteral("Wybierz opis faktur"),
                               context().params.fakturyTytulem);
        }
        if (!who.fromGrid && !who.oneChild)
            prompts.expectChecksAsOffered(QStringLiteral("Wybierz grupy"));
        return runCharges(context(), ChargeOperation::Approve, year, month, who, log);
    }
    void useInvoices(int helpCentre = 0)
    {
        context().params.fakturyTytulem = QStringLiteral("Opłata za przedszkole");
        if (helpCentre)
            Query(*db, QStringLiteral("UPDATE OPCJE SET OPIE = :O")).bind(QStringLiteral("O"), helpCentre).exec();
    }

    MessageLog log;
    int group1 = 0;
    const QString feb24Free = QStringLiteral("3,4,10,11,17,18,24,25,29");     // 20 working days
    const QString mar24Free = QStringLiteral("2,3,9,10,16,17,23,24,30");      // 22 working days
};

TEST_P(ChargeRunTest, WorkedExampleRecomputedAndApproved)
{
    const int feb = addMonth(2024, 2, feb24Free, 17);
    const int mar = addMonth(2024, 3, mar24Free, 18);
    const int ala = addChild(QStringLiteral("Kowalska Ala"), group1);
    const int stay = addComponent(QStringLiteral("Pobyt"), 1);
    const int meals = addComponent(QStringLiteral("Wyżywienie"), 2);
    assign(ala, stay, QDate(2023, 9, 1), {}, addMethod(QStringLiteral("ID*12")), addMethod(QStringLiteral("IT*12")));
    price(stay, QDate(2023, 9, 1), {}, 1.0);
    line(feb, QStringLiteral("1"), ala, stay, 240, 1);
    // 15 days present, 5 absent of February's 20 working days.
    attend(ala, 2024, 2, {1, 2, 5, 6, 7, 8, 9, 12, 13, 14, 15, 16, 19, 20, 21}, QStringLiteral("T"));
    attend(ala, 2024, 2, {22, 23, 26, 27, 28}, QStringLiteral("N"));
    line(mar, QStringLiteral("0"), ala, meals, 3, 5);  // another component's line

    // Meals unticked: their line stays as it was.
    prompts.expectChecks(QStringLiteral("Wybierz składniki opłat"), {QStringLiteral("Pobyt")});
    prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), -1)
        .withText(QStringLiteral("Naliczenia na miesiąc: marzec 2024\r\nRozliczenia za miesiąc: luty 2024"));
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz grupy"));
    ChargeRunResult r = runCharges(context(), ChargeOperation::Compute, 2024, 3, ChargeChildren::byGroups(), log);
    ASSERT_TRUE(r.completed) << r.stopError.toStdString();
    const QStringList expected = {
        row({mar, "0", ala, stay, 264, "szt", 1, 264, "N", {}}),
        row({mar, "0", ala, stay, -240, "szt", 1, -240, "T", -17}),
        row({mar, "0", ala, stay, 180, "szt", 1, 180, "T", 17}),
    };
    EXPECT_EQ(lines(mar), QStringList{row({mar, "0", ala, meals, 3, "szt", 5, 15, "N", {}})} + expected);
    EXPECT_TRUE(r.errors.isEmpty()) << r.errors.join('\n').toStdString();
    EXPECT_EQ(log.description(), QStringLiteral("Koniec operacji"));
    EXPECT_TRUE(log.isShown());

    // Again with every component: the same stay lines; the meals line goes,
    // as the child has no meals to compute.
    r = compute(2024, 3);
    ASSERT_TRUE(r.completed);
    EXPECT_EQ(lines(mar), expected);

    // Approval without invoices: every line final, nothing invoiced.
    r = approve(2024, 3);
    ASSERT_TRUE(r.completed);
    QStringList approved = expected;
    for (QString& s : approved)
        s.replace(QStringLiteral("|0|"), QStringLiteral("|1|"));
    EXPECT_EQ(lines(mar), approved);
    EXPECT_EQ(count(QStringLiteral("FAKT")), 0);
    EXPECT_TRUE(prompts.done());
}

TEST_P(ChargeRunTest, PriceChangeComponentPeriodAndMissingSettlement)
{
    const int feb = addMonth(2024, 2, feb24Free);
    const int mar = addMonth(2024, 3, mar24Free);
    const int ala = addChild(QStringLiteral("Kowalska Ala"), group1);
    const int stay = addComponent(QStringLiteral("Pobyt"), 1);
    const int english = addComponent(QStringLiteral("Angielski"), 2);
    const int milk = addComponent(QStringLiteral("Mleko"), 3);
    // Stay: a price change on the 15th gives two advances, 10 and 12 working days.
    assign(ala, stay, QDate(2024, 1, 1), {}, addMethod(QStringLiteral("ID")), 0);
    price(stay, QDate(2024, 1, 1), QDate(2024, 3, 14), 10);
    price(stay, QDate(2024, 3, 15), {}, 12.5);
    line(feb, QStringLiteral("1"), ala, stay, 20, 10);  // no settlement method: never reversed
    // English only from the 10th to the 20th.
    assign(ala, english, QDate(2024, 3, 10), QDate(2024, 3, 20), addMethod(QStringLiteral("IB*2")),
           addMethod(QStringLiteral("IB")));
    price(english, QDate(2024, 1, 1), {}, 3);
    // Milk: a method giving nothing writes no line.
    assign(ala, milk, QDate(2024, 1, 1), {}, addMethod(QStringLiteral("IA-31")), 0);
    price(milk, QDate(2024, 1, 1), {}, 1);

    const ChargeRunResult r = compute(2024, 3);
    ASSERT_TRUE(r.completed) << r.stopError.toStdString();
    // English began in March, so February has no period of it.
    EXPECT_EQ(lines(mar), (QStringList{
                              row({mar, "0", ala, stay, 10, "szt", 10, 100, "N", {}}),
                              row({mar, "0", ala, stay, 12, "szt", 12.5, 150, "N", {}}),
                              row({mar, "0", ala, english, 22, "szt", 3, 66, "N", {}}),
                          }));
}

TEST_P(ChargeRunTest, SettledMonthOnlyComputedAsksAndSaysSo)
{
    const int feb = addMonth(2024, 2, feb24Free);
    const int mar = addMonth(2024, 3, mar24Free);
    const int ala = addChild(QStringLiteral("Kowalska Ala"), group1);
    const int stay = addComponent(QStringLiteral("Pobyt"), 1);
    assign(ala, stay, QDate(2024, 1, 1), {}, addMethod(QStringLiteral("ID")), addMethod(QStringLiteral("IT")));
    price(stay, QDate(2024, 1, 1), {}, 10);
    line(feb, QStringLiteral("0"), ala, stay, 20, 10);  // February computed, never approved
    const QString question = fees::unapprovedSettledQuestion(2024, 2);
    EXPECT_TRUE(question.startsWith(QStringLiteral("Miesiąc rozliczany luty 2024 nie ma zatwierdzonych opłat")));

    // "Nie": nothing is written.
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
    prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), -1);
    prompts.expectYesNo(question, false);
    EXPECT_FALSE(runCharges(context(), ChargeOperation::Compute, 2024, 3, ChargeChildren::byGroups(), log).completed);
    EXPECT_TRUE(lines(mar).isEmpty());

    // "Tak": the advance is charged, nothing reversed, and the remark says why.
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
    prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), -1);
    prompts.expectYesNo(question, true);
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz grupy"));
    ChargeRunResult r = runCharges(context(), ChargeOperation::Compute, 2024, 3, ChargeChildren::byGroups(), log);
    ASSERT_TRUE(r.completed) << r.stopError.toStdString();
    EXPECT_TRUE(lines(mar).contains(row({mar, "0", ala, stay, 22, "szt", 10, 220, "N", {}}))) << lines(mar).join('\n').toStdString();
    EXPECT_TRUE(r.remarks.contains(fees::unapprovedSettledRemark(2024, 2))) << r.remarks.join('\n').toStdString();

    // Once February is approved the run goes on without the question.
    Query(*db, QStringLiteral("UPDATE NALICZ SET TYP = '1' WHERE KOD = :K")).bind(QStringLiteral("K"), feb).exec();
    r = compute(2024, 3);
    ASSERT_TRUE(r.completed);
    EXPECT_FALSE(r.remarks.contains(fees::unapprovedSettledRemark(2024, 2)));
    EXPECT_TRUE(prompts.done());
}

TEST_P(ChargeRunTest, SettledMonthWithoutRecordAndJanuary)
{
    const int ala = addChild(QStringLiteral("Kowalska Ala"), group1);
    const int stay = addComponent(QStringLiteral("Pobyt"), 1);
    assign(ala, stay, QDate(2024, 1, 1), {}, addMethod(QStringLiteral("IC")), addMethod(QStringLiteral("IC+IA")));
    price(stay, QDate(2024, 1, 1), {}, 2);

    // No record for February: free days "-", DOT 0, no reversal; March's
    // record is made by the run with no free days.
    ChargeRunResult r = compute(2024, 3);
    ASSERT_TRUE(r.completed);
    const int mar = monthCode(2024, 3);
    ASSERT_NE(mar, 0);
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT DNIWOLNE FROM MIESIACE WHERE KOD = :K"))
                  .bind(QStringLiteral("K"), mar).scalar().toString(), QString());
    EXPECT_EQ(lines(mar), (QStringList{
                              row({mar, "0", ala, stay, 31, "szt", 2, 62, "N", {}}),
                              row({mar, "0", ala, stay, 29, "szt", 2, 58, "T", 0}),
                          }));

    // January settles December of the year before.
    const int dec = addMonth(2024, 12, QStringLiteral("1,7,8,14,15,21,22,24,25,26,28,29"));
    line(dec, QStringLiteral("1"), ala, stay, 19, 2);
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
    prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), -1)
        .withText(QStringLiteral("Naliczenia na miesiąc: styczeń 2025\r\nRozliczenia za miesiąc: grudzień 2024"));
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz grupy"));
    r = runCharges(context(), ChargeOperation::Compute, 2025, 1, ChargeChildren::byGroups(), log);
    ASSERT_TRUE(r.completed);
    const int jan = monthCode(2025, 1);
    EXPECT_EQ(lines(jan), (QStringList{
                              row({jan, "0", ala, stay, 31, "szt", 2, 62, "N", {}}),
                              row({jan, "0", ala, stay, -19, "szt", 2, -38, "T", -dec}),
                              row({jan, "0", ala, stay, 50, "szt", 2, 100, "T", dec}),
                          }));
}

TEST_P(ChargeRunTest, ApprovedComponentSkippedForOneChildOnly)
{
    const int mar = addMonth(2024, 3, mar24Free);
    const int ala = addChild(QStringLiteral("Kowalska Ala"), group1, QStringLiteral("19230112345"));
    const int ola = addChild(QStringLiteral("Nowak Ola"), group1);
    const int stay = addComponent(QStringLiteral("Pobyt"), 1);
    const int meals = addComponent(QStringLiteral("Wyżywienie"), 2);
    const int method = addMethod(QStringLiteral("IC"));
    for (const int child : {ala, ola})
        for (const int component : {stay, meals})
            assign(child, component, QDate(2024, 1, 1), {}, method, 0);
    price(stay, QDate(2024, 1, 1), {}, 1);
    price(meals, QDate(2024, 1, 1), {}, 2);
    line(mar, QStringLiteral("1"), ala, meals, 5, 2);

    const ChargeRunResult r = compute(2024, 3);
    ASSERT_TRUE(r.completed);
    EXPECT_EQ(r.remarks, QStringList{QStringLiteral(
                             "Kowalska Ala, Polna 3 (PESEL: 19230112345), składnik \"Wyżywienie\" jest już zatwierdzony")});
    EXPECT_EQ(lines(mar), (QStringList{
                              row({mar, "1", ala, meals, 5, "szt", 2, 10, "N", {}}),
                              row({mar, "0", ala, stay, 22, "szt", 1, 22, "N", {}}),
                              row({mar, "0", ola, stay, 22, "szt", 1, 22, "N", {}}),
                              row({mar, "0", ola, meals, 22, "szt", 2, 44, "N", {}}),
                          }));
}

TEST_P(ChargeRunTest, HalfUnitAdjustmentAndUniformMethods)
{
    const int mar = addMonth(2024, 3, mar24Free);
    const int ala = addChild(QStringLiteral("Kowalska Ala"), group1);
    const int stay = addComponent(QStringLiteral("Pobyt"), 1);
    const int extra = addComponent(QStringLiteral("Rytmika"), 2);
    // The child's own methods are not used while methods are uniform.
    assign(ala, stay, QDate(2024, 1, 1), {}, addMethod(QStringLiteral("1000")), 0);
    assign(ala, extra, QDate(2024, 1, 1), {}, addMethod(QStringLiteral("1000")), 0);
    uniformMethod(stay, QDate(2024, 1, 1), QDate(2024, 3, 15), addMethod(QStringLiteral("IB*0,1")), 0);
    uniformMethod(stay, QDate(2024, 3, 16), {}, addMethod(QStringLiteral("IA/4")), 0);
    price(stay, QDate(2024, 1, 1), {}, 10);
    price(extra, QDate(2024, 1, 1), {}, 10);  // no uniform method: nothing

    context().params.sposobyJednolite = true;
    context().params.poPrzecinkuDoGory = 1;
    const ChargeRunResult r = compute(2024, 3);
    ASSERT_TRUE(r.completed);
    // 15 days * 0.1 = 1.5 becomes 2; 31 / 4 = 7.75 becomes 8.
    EXPECT_EQ(lines(mar), (QStringList{
                              row({mar, "0", ala, stay, 2, "szt", 10, 20, "N", {}}),
                              row({mar, "0", ala, stay, 8, "szt", 10, 80, "N", {}}),
                          }));

    // Without the adjustment the quantities are the evaluated ones (a
    // period of 16 days now).
    context().params.poPrzecinkuDoGory = 0;
    Query(*db, QStringLiteral("UPDATE MEDSPOS SET DODATY = '2024-03-16' WHERE DODATY IS NOT NULL")).exec();
    Query(*db, QStringLiteral("UPDATE MEDSPOS SET ODDATY = '2024-03-17' WHERE DODATY IS NULL")).exec();
    ASSERT_TRUE(compute(2024, 3).completed);
    EXPECT_EQ(lines(mar), (QStringList{
                              row({mar, "0", ala, stay, 1.6, "szt", 10, 16, "N", {}}),
                              row({mar, "0", ala, stay, 7.75, "szt", 10, 77.5, "N", {}}),
                          }));
}

TEST_P(ChargeRunTest, StoppingErrorWritesNothing)
{
    const int mar = addMonth(2024, 3, mar24Free);
    const int ala = addChild(QStringLiteral("Kowalska Ala"), group1);
    const int ola = addChild(QStringLiteral("Nowak Ola"), group1);
    const int stay = addComponent(QStringLiteral("Pobyt"), 1);
    assign(ala, stay, QDate(2024, 1, 1), {}, addMethod(QStringLiteral("IC")), 0);
    assign(ola, stay, QDate(2024, 1, 1), {}, addMethod(QStringLiteral("IC/IT")), 0);  // Ola was never present
    price(stay, QDate(2024, 1, 1), {}, 1);
    line(mar, QStringLiteral("0"), ala, stay, 7, 1);  // would be replaced

    const ChargeRunResult r = compute(2025, 4);  // a month without a record either
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.stopError, QStringLiteral("Dzielenie przez zero\r\nOperacja przerwana, niczego nie zapisano."));
    EXPECT_TRUE(prompts.shown().contains(r.stopError));
    EXPECT_EQ(monthCode(2025, 4), 0);
    EXPECT_EQ(count(QStringLiteral("NALICZ")), 1);

    // Ala alone in March: her line is replaced, Ola's error stops nothing.
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
    prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), -1);
    const ChargeRunResult one =
        runCharges(context(), ChargeOperation::Compute, 2024, 3, ChargeChildren::child(ala), log);
    ASSERT_TRUE(one.completed);
    EXPECT_EQ(lines(mar), QStringList{row({mar, "0", ala, stay, 22, "szt", 1, 22, "N", {}})});
}

TEST_P(ChargeRunTest, HelpCentreSplitInvoicesAndTheirContinuation)
{
    const int centre = addChild(QStringLiteral("MOPS"), 0, {}, QStringLiteral("N"));
    useInvoices(centre);
    const int feb = addMonth(2024, 2, feb24Free);
    const int mar = addMonth(2024, 3, mar24Free);
    const int ala = addChild(QStringLiteral("Kowalska Ala"), group1);
    const int ola = addChild(QStringLiteral("Nowak Ola"), group1);
    const int stay = addComponent(QStringLiteral("Pobyt"), 1);
    const int vat8 = addVat(8);
    const int days = addMethod(QStringLiteral("ID"));
    assign(ala, stay, QDate(2024, 1, 1), {}, days, 0, 30);
    assign(ola, stay, QDate(2024, 1, 1), {}, days, 0, 100);  // the centre pays all: the parents' line is dropped
    price(stay, QDate(2024, 1, 1), {}, 10.8, vat8);

    ASSERT_TRUE(compute(2024, 3).completed);
    // 22 days: 15.4 for the parents, 6.6 for the centre.
    EXPECT_EQ(lines(mar, true), (QStringList{
                                    row({mar, "0", ala, stay, 15.4, "szt", 10.8, 166.32, "N", {}, {}, {}, vat8, 12.32, {}}),
                                    row({mar, "0", ala, stay, 6.6, "szt", 10.8, 71.28, "N", {}, {}, {}, vat8, 5.28, centre}),
                                    row({mar, "0", ola, stay, 22, "szt", 10.8, 237.6, "N", {}, {}, {}, vat8, 17.6, centre}),
                                }));

    // An invoice of another month and a correction in this one do not count.
    Query(*db, QStringLiteral("INSERT INTO FAKT (KOD, NUMER, OSOBA, WYST, TERMIN) VALUES (:F, 5, :O, '2024-02-01', '2024-02-29')"))
        .bind(QStringLiteral("F"), feb).bind(QStringLiteral("O"), ala).exec();
    Query(*db, QStringLiteral("INSERT INTO FAKT (KOD, NUMER, OSOBA, WYST, TERMIN, PIERW) VALUES (:F, 9, :O, '2024-03-02', '2024-03-02', 1)"))
        .bind(QStringLiteral("F"), mar).bind(QStringLiteral("O"), ala).exec();
    const QDate issued(2024, 3, 1), due(2024, 3, 31);
    ASSERT_TRUE(approve(2024, 3, issued, due).completed);
    const int fa = invoiceId(1), fc = invoiceId(2);
    const QString t = context().params.fakturyTytulem;
    EXPECT_EQ(invoices(), (QStringList{
                              QStringLiteral("1|%1|5|%2|2024-02-01|2024-02-29||∅").arg(feb).arg(ala),
                              QStringLiteral("2|%1|9|%2|2024-03-02|2024-03-02||1").arg(mar).arg(ala),
                              QStringLiteral("%1|%2|1|%3|2024-03-01|2024-03-31|%4|∅").arg(fa).arg(mar).arg(ala).arg(t),
                              QStringLiteral("%1|%2|2|%3|2024-03-01|2024-03-31|%4|∅").arg(fc).arg(mar).arg(centre).arg(t),
                          }));
    EXPECT_EQ(lines(mar, true), (QStringList{
                                    row({mar, "1", ala, stay, 15.4, "szt", 10.8, 166.32, "N", {}, fa, 1, vat8, 12.32, {}}),
                                    row({mar, "1", ala, stay, 6.6, "szt", 10.8, 71.28, "N", {}, fc, 1, vat8, 5.28, centre}),
                                    row({mar, "1", ola, stay, 22, "szt", 10.8, 237.6, "N", {}, fc, 2, vat8, 17.6, centre}),
                                }));

    // A second approval with the same dates continues both invoices: the
    // centre's from its highest line, 2, although Ala's own highest there is 1.
    Query(*db, QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, CENA, WARTOSC, ROZLICZ, IDOPIE) "
                              "VALUES (:K, '0', :O, :M, 1, 4, 4, 'N', :C)"))
        .bind(QStringLiteral("K"), mar).bind(QStringLiteral("O"), ala).bind(QStringLiteral("M"), stay)
        .bind(QStringLiteral("C"), centre).exec();
    line(mar, QStringLiteral("0"), ala, stay, 2, 3);
    const int zoe = addChild(QStringLiteral("Adamska Zoe"), group1);
    line(mar, QStringLiteral("0"), zoe, stay, 1, 1);
    ASSERT_TRUE(approve(2024, 3, issued, due).completed);
    const int fz = invoiceId(3);
    EXPECT_EQ(count(QStringLiteral("FAKT")), 5);
    EXPECT_EQ(lines(mar, true).mid(3), (QStringList{
                                           row({mar, "1", ala, stay, 1, {}, 4, 4, "N", {}, fc, 3, {}, {}, centre}),
                                           row({mar, "1", ala, stay, 2, "szt", 3, 6, "N", {}, fa, 2, {}, {}, {}}),
                                           row({mar, "1", zoe, stay, 1, "szt", 1, 1, "N", {}, fz, 1, {}, {}, {}}),
                                       }));

    // April settles March: the reversals keep the payer, the rate and the
    // VAT (negated), so the centre's advance goes back on its invoice.
    Query(*db, QStringLiteral("UPDATE DZIEMED SET SPOROZ = :S")).bind(QStringLiteral("S"), addMethod(QStringLiteral("IT"))).exec();
    Query(*db, QStringLiteral("DELETE FROM NALICZ WHERE OSOBA <> :O OR ID > (SELECT MIN(ID) + 1 FROM NALICZ)"))
        .bind(QStringLiteral("O"), ala).exec();
    ASSERT_TRUE(compute(2024, 4, ChargeChildren::child(ala)).completed);
    const int apr = monthCode(2024, 4);
    EXPECT_EQ(lines(apr, true), (QStringList{
                                    row({apr, "0", ala, stay, 21, "szt", 10.8, 226.8, "N", {}, {}, {}, vat8, 16.8, {}}),
                                    row({apr, "0", ala, stay, 9, "szt", 10.8, 97.2, "N", {}, {}, {}, vat8, 7.2, centre}),
                                    row({apr, "0", ala, stay, -15.4, "szt", 10.8, -166.32, "T", -mar, {}, {}, vat8, -12.32, {}}),
                                    row({apr, "0", ala, stay, -6.6, "szt", 10.8, -71.28, "T", -mar, {}, {}, vat8, -5.28, centre}),
                                }));
}

TEST_P(ChargeRunTest, FramePromptsOrderAndCancel)
{
    const int g2 = addGroup(QStringLiteral("Żabki"), 0);  // first by KOLEJ, but a higher code
    const int lech = addChild(QStringLiteral("Lech Adam"), group1);
    const int lukasz = addChild(QStringLiteral("Łukasz Adam"), group1);
    const int zenon = addChild(QStringLiteral("Zenon Adam"), group1);
    const int marek = addChild(QStringLiteral("Marek Ewa"), g2);
    addChild(QStringLiteral("Były Jan"), group1, {}, QStringLiteral("N"));
    const int stay = addComponent(QStringLiteral("Pobyt"), 2);
    const int meals = addComponent(QStringLiteral("Wyżywienie"), 1);
    const int one = addMethod(QStringLiteral("1"));
    for (const int c : {lech, lukasz, zenon, marek}) {
        assign(c, stay, QDate(2023, 1, 1), {}, one, one);
        assign(c, meals, QDate(2023, 1, 1), {}, one, 0);
    }
    price(stay, QDate(2023, 1, 1), {}, 1);
    price(meals, QDate(2023, 1, 1), {}, 1);

    // Cancelling the group list writes nothing, not even the month record.
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
    prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), -2);
    prompts.expectMonth(QStringLiteral("Rozliczanie"), 2023, 11).withText(QStringLiteral("Wybierz miesiąc rozliczany"));
    prompts.expectCancel(ScriptedPrompts::Kind::Checks, QStringLiteral("Wybierz grupy"));
    ChargeRunResult r = runCharges(context(), ChargeOperation::Compute, 2024, 3, ChargeChildren::byGroups(), log);
    EXPECT_FALSE(r.completed);
    EXPECT_TRUE(r.stopError.isEmpty());
    EXPECT_EQ(count(QStringLiteral("MIESIACE")), 0);
    prompts.done();
    ScriptedPrompts::Asked components = prompts.asked()[0];
    EXPECT_EQ(components.offered, (QStringList{QStringLiteral("Wyżywienie"), QStringLiteral("Pobyt")}));
    EXPECT_EQ(components.checked, components.offered);
    EXPECT_EQ(prompts.asked()[3].offered,
              (QStringList{QStringLiteral("Nieaktywni"), QStringLiteral("Żabki"), QStringLiteral("Biedronki")}));
    // Closing the months dialog stops as well.
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
    prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), 0);
    EXPECT_FALSE(runCharges(context(), ChargeOperation::Compute, 2024, 3, ChargeChildren::byGroups(), log).completed);

    // "Inny": November settled from the picker (no record there: DOT 0);
    // children by group code, then in Polish order; meals unticked.
    prompts.expectChecks(QStringLiteral("Wybierz składniki opłat"), {QStringLiteral("Pobyt")});
    prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), -2);
    prompts.expectMonth(QStringLiteral("Rozliczanie"), 2023, 11);
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz grupy"));
    r = runCharges(context(), ChargeOperation::Compute, 2024, 3, ChargeChildren::byGroups(), log);
    ASSERT_TRUE(r.completed);
    const int mar = monthCode(2024, 3);
    QStringList expected;
    for (const int c : {lech, lukasz, zenon, marek})
        expected << row({mar, "0", c, stay, 1, "szt", 1, 1, "N", {}}) << row({mar, "0", c, stay, 1, "szt", 1, 1, "T", 0});
    EXPECT_EQ(lines(mar), expected);

    // Marked rows go in marking order with no group list; with none marked
    // the current row is taken.
    ChargeChildren marked;
    marked.fromGrid = true;
    marked.marked = {zenon, lech};
    prompts.expectChecks(QStringLiteral("Wybierz składniki opłat"), {QStringLiteral("Wyżywienie")});
    ASSERT_TRUE(runCharges(context(), ChargeOperation::Approve, 2024, 3, marked, log).completed);
    marked.marked.clear();
    marked.currentRow = marek;
    prompts.expectChecks(QStringLiteral("Wybierz składniki opłat"), {QStringLiteral("Wyżywienie")});
    prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), -1);
    ASSERT_TRUE(runCharges(context(), ChargeOperation::Compute, 2024, 3, marked, log).completed);
    EXPECT_EQ(lines(mar).mid(expected.size()),
              QStringList{row({mar, "0", marek, meals, 1, "szt", 1, 1, "N", {}})});
    EXPECT_TRUE(prompts.done());
}

// A run started while one is in progress (from the events let through
// between children) is refused.
class ReenteringView : public MessageLogView {
public:
    std::function<void()> onEvents;
    void messageLogChanged(const MessageLog&) override {}
    void showMessageLog(const MessageLog&) override {}
    void hideMessageLog() override {}
    void processPendingEvents() override
    {
        if (onEvents)
            onEvents();
    }
};

TEST_P(ChargeRunTest, ReentryRefused)
{
    const int ala = addChild(QStringLiteral("Kowalska Ala"), group1);
    const int stay = addComponent(QStringLiteral("Pobyt"), 1);
    assign(ala, stay, QDate(2024, 1, 1), {}, addMethod(QStringLiteral("2")), 0);
    price(stay, QDate(2024, 1, 1), {}, 1);
    ReenteringView view;
    log.attach(&view);
    int refused = 0;
    view.onEvents = [&] {
        EXPECT_TRUE(chargeRunInProgress());
        const ChargeRunResult inner =
            runCharges(context(), ChargeOperation::Compute, 2024, 3, ChargeChildren::child(ala), log);
        refused += !inner.completed && inner.stopError.isEmpty();
    };
    ASSERT_TRUE(compute(2024, 3).completed);
    log.attach(nullptr);
    EXPECT_EQ(refused, 1);
    EXPECT_FALSE(chargeRunInProgress());
    EXPECT_EQ(lines(monthCode(2024, 3)).size(), 1);
}

INSTANTIATE_ENGINES(ChargeRunTest);

}  // namespace

TEST_P(ChargeRunTest, AmountsMoneyCannotHoldStopTheRunAndTheApproval)
{
    const int mar = addMonth(2024, 3, mar24Free);
    const int ala = addChild(QStringLiteral("Kowalska Ala"), group1);
    const int stay = addComponent(QStringLiteral("Pobyt"), 1);
    const int meals = addComponent(QStringLiteral("Wyżywienie"), 2);
    assign(ala, stay, QDate(2024, 1, 1), {}, addMethod(QStringLiteral("22")), 0);
    price(stay, QDate(2024, 1, 1), {}, 1e308);

    ChargeRunResult r = compute(2024, 3);
    EXPECT_FALSE(r.completed);
    EXPECT_TRUE(r.stopError.contains(QStringLiteral("Kowalska Ala")));
    EXPECT_TRUE(r.stopError.contains(QStringLiteral(", składnik \"Pobyt\": cena 1e+308 jest poza zakresem kwot")))
        << r.stopError.toStdString();
    EXPECT_EQ(count(QStringLiteral("NALICZ")), 0);

    // Just under the bound is money; a trillion is not.
    Query(*db, QStringLiteral("UPDATE TARMED SET CENA = 45454545454.54")).exec();  // × 22 = 999,999,999,999.88
    r = compute(2024, 3);
    ASSERT_TRUE(r.completed) << r.stopError.toStdString();
    Query(*db, QStringLiteral("UPDATE TARMED SET CENA = 45454545454.55")).exec();  // × 22 = 1,000,000,000,000.10
    r = compute(2024, 3);
    EXPECT_TRUE(r.stopError.contains(QStringLiteral("wartość 1000000000000.1 jest poza zakresem"))) << r.stopError.toStdString();

    // A line written by another tool with an infinite value never becomes final.
    Query(*db, QStringLiteral("DELETE FROM NALICZ")).exec();
    line(mar, QStringLiteral("0"), ala, stay, 1, 5);
    Query(*db, QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, ROZLICZ) "
                              "VALUES (:K, '0', :O, :M, 1, 'szt', 1, :W, 'N')"))
        .bind(QStringLiteral("K"), mar).bind(QStringLiteral("O"), ala).bind(QStringLiteral("M"), meals)
        .bind(QStringLiteral("W"), std::numeric_limits<double>::infinity()).exec();
    r = approve(2024, 3);
    EXPECT_FALSE(r.completed);
    EXPECT_TRUE(r.stopError.contains(QStringLiteral(", składnik \"Wyżywienie\": wartość nieskończona lub nieokreślona")))
        << r.stopError.toStdString();
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM NALICZ WHERE TYP = '1'")).scalar().toInt(), 0);
}
