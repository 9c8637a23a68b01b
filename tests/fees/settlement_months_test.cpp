// The settlement months without a window: generated free days, new month
// records, the balance up to a month, the month deletion check and the
// undo of approvals with its refusal and the invoices it removes.

#include "shell/register_fixture.h"

#include "fees/rozrach_free_days.h"
#include "fees/settlement_months.h"
#include "store/error.h"
#include "store/query.h"

namespace {

TEST(SettlementFreeDays, CalendarAndTickBoxes)
{
    using fees::generatedFreeDays;
    // 3 May 2025 is a Saturday: listed once.
    EXPECT_EQ(generatedFreeDays(2025, 5, false), QStringLiteral("1,3,4,10,11,17,18,24,25,31"));
    EXPECT_EQ(generatedFreeDays(2021, 5, false), QStringLiteral("1,2,3,8,9,15,16,22,23,29,30"));
    EXPECT_EQ(generatedFreeDays(2024, 11, false), QStringLiteral("1,2,3,9,10,11,16,17,23,24,30"));
    EXPECT_EQ(generatedFreeDays(2024, 12, false), QStringLiteral("1,7,8,14,15,21,22,25,26,28,29"));
    EXPECT_EQ(generatedFreeDays(2024, 2, false), QStringLiteral("3,4,10,11,17,18,24,25"));
    EXPECT_EQ(generatedFreeDays(2024, 8, false), QStringLiteral("3,4,10,11,15,17,18,24,25,31"));
    EXPECT_EQ(generatedFreeDays(2024, 7, true), QStringLiteral("-"));

    // "-" ticks every day; OK then stores the full list, no longer "-".
    const QSet<int> all = fees::tickedDays(QStringLiteral("-"), 30);
    EXPECT_EQ(all.size(), 30);
    QStringList every;
    for (int d = 1; d <= 30; ++d)
        every << QString::number(d);
    EXPECT_EQ(fees::freeDaysList(all), every.join(QLatin1Char(',')));
    // Whole items only, blanks ignored, days past the month's end dropped.
    EXPECT_EQ(fees::tickedDays(QStringLiteral("16, 8 ,30,31"), 30), (QSet<int>{8, 16, 30}));
    EXPECT_EQ(fees::tickedDays(QString(), 31), QSet<int>{});
    EXPECT_EQ(fees::freeDaysList({}), QString());
    EXPECT_EQ(fees::freeDaysList({22, 1, 9}), QStringLiteral("1,9,22"));
}

TEST(SettlementBalance, TextIsExactToTheGrosz)
{
    EXPECT_EQ(fees::balanceText(0), QStringLiteral("0.00"));
    EXPECT_EQ(fees::balanceText(-5), QStringLiteral("-0.05"));
    EXPECT_EQ(fees::balanceText(103865), QStringLiteral("1038.65"));
    EXPECT_EQ(fees::balanceText(-120000), QStringLiteral("-1200.00"));
}

class SettlementMonthsTest : public RegisterTest {
protected:
    int month(int year, int mies, const QString& days = QString())
    {
        Query(*db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (:R, :M, :D)"))
            .bind(QStringLiteral("R"), year)
            .bind(QStringLiteral("M"), mies)
            .bind(QStringLiteral("D"), days)
            .exec();
        return fees::monthKod(*db, year, mies);
    }
    int child(const QString& name)
    {
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA) VALUES (:N, 'Polna', 1)"))
            .bind(QStringLiteral("N"), name)
            .exec();
        return Query(*db, QStringLiteral("SELECT KOD FROM DZIECI WHERE NAZWA = :N")).bind(QStringLiteral("N"), name).scalar().toInt();
    }
    void pay(int kod, int osoba, double amount)
    {
        Query(*db, QStringLiteral("INSERT INTO WPLATY (KOD, OSOBA, WARTOSC, DATA) VALUES (:K, :O, :W, :D)"))
            .bind(QStringLiteral("K"), kod)
            .bind(QStringLiteral("O"), osoba)
            .bind(QStringLiteral("W"), amount)
            .bind(QStringLiteral("D"), QDate(2024, 1, 10))
            .exec();
    }
    // A charge line; returns its ID.
    int line(int kod, const QString& typ, int osoba, double value, const QVariant& idf = {})
    {
        Query(*db, QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, CENA, WARTOSC, ROZLICZ, IDF, LPF)"
                                  " VALUES (:K, :T, :O, 1, 1, :W, :W2, 'N', :F, 1)"))
            .bind(QStringLiteral("K"), kod)
            .bind(QStringLiteral("T"), typ)
            .bind(QStringLiteral("O"), osoba)
            .bind(QStringLiteral("W"), value)
            .bind(QStringLiteral("W2"), value)
            .bind(QStringLiteral("F"), idf)
            .exec();
        return Query(*db, QStringLiteral("SELECT MAX(ID) FROM NALICZ")).scalar().toInt();
    }
    int invoice(int kod, int numer, int osoba, const QVariant& pierw = {})
    {
        Query(*db, QStringLiteral("INSERT INTO FAKT (KOD, NUMER, OSOBA, WYST, TERMIN, PIERW) VALUES (:K, :N, :O, :W, :T, :P)"))
            .bind(QStringLiteral("K"), kod)
            .bind(QStringLiteral("N"), numer)
            .bind(QStringLiteral("O"), osoba)
            .bind(QStringLiteral("W"), QDate(2024, 2, 1))
            .bind(QStringLiteral("T"), QDate(2024, 2, 29))
            .bind(QStringLiteral("P"), pierw)
            .exec();
        return Query(*db, QStringLiteral("SELECT MAX(ID) FROM FAKT")).scalar().toInt();
    }
    QList<int> ids(const QString& sql)
    {
        Query q(*db, sql);
        q.exec();
        QList<int> out;
        while (q.next())
            out << q.value(0).toInt();
        return out;
    }
    int count(const QString& sql) { return Query(*db, sql).scalar().toInt(); }
};

TEST_P(SettlementMonthsTest, NewMonthRecords)
{
    prompts.expectYesNo(fees::wholeMonthFreeQuestion(), true);
    const int july = fees::addMonth(context(), 2024, 7);
    ASSERT_NE(july, 0);
    EXPECT_EQ(fees::freeDaysOf(*db, 2024, 7), QStringLiteral("-"));

    prompts.expectYesNo(fees::wholeMonthFreeQuestion(), false);
    EXPECT_NE(fees::addMonth(context(), 2025, 7), 0);
    EXPECT_EQ(fees::freeDaysOf(*db, 2025, 7), QStringLiteral("5,6,12,13,19,20,26,27"));

    // No question outside the summer months.
    EXPECT_NE(fees::addMonth(context(), 2025, 5), 0);
    EXPECT_EQ(fees::freeDaysOf(*db, 2025, 5), QStringLiteral("1,3,4,10,11,17,18,24,25,31"));

    // A month that exists is shown, not doubled.
    EXPECT_EQ(fees::addMonth(context(), 2024, 7), 0);
    EXPECT_EQ(prompts.shown().last(), QStringLiteral("Miesiąc rozrachunkowy lipiec 2024 już istnieje"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM MIESIACE WHERE ROK = 2024 AND MIES = 7")), 1);
    EXPECT_EQ(fees::monthKod(*db, 2024, 7), july);
    EXPECT_EQ(fees::freeDaysOf(*db, 2030, 1), QStringLiteral("-"));

    QStringList order;
    for (const fees::MonthRecord& m : fees::monthsInOrder(*db))
        order << QStringLiteral("%1-%2").arg(m.year).arg(m.month);
    EXPECT_EQ(order, (QStringList{QStringLiteral("2024-7"), QStringLiteral("2025-5"), QStringLiteral("2025-7")}));
    EXPECT_TRUE(prompts.done());
}

TEST_P(SettlementMonthsTest, BalanceUpToAMonth)
{
    const int a = child(QStringLiteral("Ala"));
    const int b = child(QStringLiteral("Bartek"));
    const int jan = month(2024, 1);
    const int feb = month(2024, 2);
    const int mar = month(2024, 3);
    // Entered after the others: the calendar, not the code, puts it first.
    const int dec = month(2023, 12);

    pay(dec, a, 10.00);
    pay(jan, a, 100.10);
    pay(feb, a, 50.20);
    pay(mar, a, 999.00);
    pay(jan, b, 7000);
    line(dec, QStringLiteral("1"), a, 10.00);
    line(jan, QStringLiteral("1"), a, 80.05);
    line(feb, QStringLiteral("1"), a, 30.30);
    line(feb, QStringLiteral("0"), a, 500.00);  // computed: not owed yet
    line(jan, QStringLiteral("1"), b, 1.00);
    line(mar, QStringLiteral("1"), a, 0.10);
    line(mar, QStringLiteral("1"), a, 0.20);

    EXPECT_EQ(fees::childBalance(*db, a, 2023, 12), 0);
    EXPECT_EQ(fees::childBalance(*db, a, 2024, 1), 2005);
    EXPECT_EQ(fees::childBalance(*db, a, 2024, 2), 3995);
    // 39.95 + 999 - 0.10 - 0.20, to the grosz.
    EXPECT_EQ(fees::childBalance(*db, a, 2024, 3), 103865);
    EXPECT_EQ(fees::childBalance(*db, a, 2025, 1), 103865);
    EXPECT_EQ(fees::childBalance(*db, b, 2024, 3), 699900);
    EXPECT_EQ(fees::childBalance(*db, a, 2023, 11), 0);
}

TEST_P(SettlementMonthsTest, MonthDeletionCheck)
{
    const int a = child(QStringLiteral("Ala"));
    const int both = month(2024, 1);
    const int paidOnly = month(2024, 2);
    const int empty = month(2024, 3);
    line(both, QStringLiteral("0"), a, 5);
    pay(both, a, 5);
    pay(paidOnly, a, 5);

    auto refusal = [&](int kod) {
        try {
            fees::checkMonthDeletion(*db, kod);
        } catch (const Error& e) {
            return e.message();
        }
        return QStringLiteral("(nie odmówiono)");
    };
    EXPECT_EQ(refusal(both), QStringLiteral("Nie można skasować miesiąca, gdyż występuje on w:"
                                            "\r\n- opłatach miesięcznych\r\n- wpłatach miesięcznych"));
    EXPECT_EQ(refusal(paidOnly), QStringLiteral("Nie można skasować miesiąca, gdyż występuje on w:\r\n- wpłatach miesięcznych"));
    EXPECT_EQ(refusal(empty), QStringLiteral("(nie odmówiono)"));
}

TEST_P(SettlementMonthsTest, UndoRefusedWhileALaterMonthHasCharges)
{
    const int a = child(QStringLiteral("Ala"));
    const int b = child(QStringLiteral("Bartek"));
    const int feb = month(2024, 2);
    // Created before February: the later-month test goes by the calendar.
    const int mar = month(2024, 3);
    const int jan = month(2024, 1);
    line(feb, QStringLiteral("1"), a, 10);
    line(jan, QStringLiteral("1"), a, 10);
    line(mar, QStringLiteral("0"), b, 1);  // computed only, and another child's

    EXPECT_FALSE(fees::undoApproval(context(), feb, a));
    EXPECT_EQ(prompts.shown().last(), fees::laterChargesRefusal());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM NALICZ")), 3);

    // January has February after it; February alone after March's line goes.
    EXPECT_FALSE(fees::undoApproval(context(), jan));
    Query(*db, QStringLiteral("DELETE FROM NALICZ WHERE KOD = :K")).bind(QStringLiteral("K"), mar).exec();
    prompts.expectYesNo(fees::invoicedLinesQuestion(), true);
    prompts.expectYesNo(fees::undoConfirmation(), false);
    EXPECT_FALSE(fees::undoApproval(context(), feb));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM NALICZ")), 2);
    EXPECT_TRUE(prompts.done());
}

TEST_P(SettlementMonthsTest, UndoDeletesApprovedLinesAndTheInvoicesLeftEmpty)
{
    const int a = child(QStringLiteral("Ala"));
    const int b = child(QStringLiteral("Bartek"));
    const int centre = child(QStringLiteral("Ośrodek pomocy"));
    const int jan = month(2024, 1);
    const int feb = month(2024, 2);

    const int janInvoice = invoice(jan, 1, a);
    const int janLine = line(jan, QStringLiteral("1"), a, 50, janInvoice);
    const int ownA = invoice(feb, 1, a);
    const int shared = invoice(feb, 2, centre);
    const int ownB = invoice(feb, 3, b);
    const int emptyA = invoice(feb, 4, a);  // no line ever stood on it
    // A correction of January booked in February: its lines count in January.
    const int correction = invoice(feb, 1, a, janInvoice);
    const int corrLine = line(jan, QStringLiteral("1"), a, -50, correction);
    line(feb, QStringLiteral("1"), a, 100, ownA);
    line(feb, QStringLiteral("1"), a, 20, shared);
    const int sharedB = line(feb, QStringLiteral("1"), b, 30, shared);
    const int lineB = line(feb, QStringLiteral("1"), b, 70, ownB);
    const int computedA = line(feb, QStringLiteral("0"), a, 99);

    prompts.expectYesNo(fees::invoicedLinesQuestion(), true);
    prompts.expectYesNo(fees::undoConfirmation(), true);
    ASSERT_TRUE(fees::undoApproval(context(), feb, a));
    EXPECT_EQ(prompts.shown().last(), fees::operationEnd());
    // Only the child's approved lines; the help centre's invoice still
    // carries the other child's line and stays.
    EXPECT_EQ(ids(QStringLiteral("SELECT ID FROM NALICZ ORDER BY ID")),
              (QList<int>{janLine, corrLine, sharedB, lineB, computedA}));
    EXPECT_EQ(ids(QStringLiteral("SELECT ID FROM FAKT ORDER BY ID")), (QList<int>{janInvoice, shared, ownB, correction}));
    (void)emptyA;

    prompts.expectYesNo(fees::invoicedLinesQuestion(), true);
    prompts.expectYesNo(fees::undoConfirmation(), true);
    ASSERT_TRUE(fees::undoApproval(context(), feb));
    EXPECT_EQ(ids(QStringLiteral("SELECT ID FROM NALICZ ORDER BY ID")), (QList<int>{janLine, corrLine, computedA}));
    // The correction booked in February documents January's lines: it stays.
    EXPECT_EQ(ids(QStringLiteral("SELECT ID FROM FAKT ORDER BY ID")), (QList<int>{janInvoice, correction}));

    // Undoing January removes its lines, its invoice and the correction
    // booked in February, both left without lines.
    prompts.expectYesNo(fees::invoicedLinesQuestion(), true);
    prompts.expectYesNo(fees::undoConfirmation(), true);
    Query(*db, QStringLiteral("DELETE FROM NALICZ WHERE KOD = :K")).bind(QStringLiteral("K"), feb).exec();
    ASSERT_TRUE(fees::undoApproval(context(), jan));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM NALICZ")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM FAKT")), 0);
    EXPECT_TRUE(prompts.done());
}

INSTANTIATE_ENGINES(SettlementMonthsTest);

}  // namespace
