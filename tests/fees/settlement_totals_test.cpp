// The sums and balances the settlement lists show, on the demonstration
// store: every month's balance column against the balance of a child as
// the statements compute it, and the lists' footers against the months'
// payments and the invoices' lines.

#include "shell/register_fixture.h"

#include "browser/cell_text.h"
#include "browser/column_sums.h"
#include "fees/settlement_months.h"
#include "fees/settlement_totals.h"
#include "fees/tdm_nalicz.h"
#include "fees/tdm_rozrach.h"
#include "shell/demo_store.h"
#include "store/query.h"
#include "store/table.h"

#include <cmath>

namespace {

class SettlementTotalsTest : public RegisterTest {
protected:
    void SetUp() override
    {
        if (GetParam() == Engine::PostgreSQL && !TestStore::postgresAvailable())
            GTEST_SKIP() << "PostgreSQL not configured (LUNAWA_TEST_PG)";
        store = std::make_unique<TestStore>(GetParam(), false);
        demo::DemoOptions options;
        options.today = QDate(2025, 3, 15);
        options.childrenPerGroup = 4;
        demo::createDemoStore(store->location(), options);
        db = store->connect();
        // A payment of a later month with no charges, so that the balance
        // runs on past the charged months.
        Query(*db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2025, 4, '')")).exec();
        april = fees::monthKod(*db, 2025, 4);
        firstChild = Query(*db, QStringLiteral("SELECT MIN(OSOBA) FROM NALICZ WHERE TYP = '1'")).scalar().toInt();
        Query(*db, QStringLiteral("INSERT INTO WPLATY (KOD, DATA, OSOBA, WARTOSC) VALUES (:K, '2025-04-02', :O, 100.005)"))
            .bind(QStringLiteral("K"), april)
            .bind(QStringLiteral("O"), firstChild)
            .exec();
    }

    QList<int> children()
    {
        QList<int> out;
        Query q(*db, QStringLiteral("SELECT KOD FROM DZIECI ORDER BY KOD"));
        q.exec();
        while (q.next())
            out << q.value(0).toInt();
        return out;
    }
    static qint64 grosze(double amount) { return std::llround(amount * 100.0); }
    static QString amountText(qint64 grosze) { return cell::text(double(grosze) / 100.0, FieldType::Float, "0.00"); }

    int april = 0;
    int firstChild = 0;
};

}  // namespace

TEST_P(SettlementTotalsTest, MonthColumnsAndFootersAgreeWithTheBalance)
{
    const QList<fees::MonthRecord> months = fees::monthsInOrder(*db);
    ASSERT_EQ(months.size(), 4);  // the demo's three months and the April of the payment
    const QHash<int, fees::MonthTotals> all = fees::monthTotals(*db, 0);
    QHash<int, qint64> sumOfChildren;
    bool someoneOwes = false;
    for (int child : children()) {
        const QHash<int, fees::MonthTotals> own = fees::monthTotals(*db, child);
        for (const fees::MonthRecord& m : months) {
            const qint64 expected = fees::childBalance(*db, child, m.year, m.month);
            EXPECT_EQ(own.value(m.kod).balance, expected) << child << " " << m.year << "-" << m.month;
            sumOfChildren[m.kod] += expected;
            someoneOwes = someoneOwes || expected < 0;
        }
    }
    EXPECT_TRUE(someoneOwes);  // the demo leaves some of the first month unpaid
    for (const fees::MonthRecord& m : months)
        EXPECT_EQ(all.value(m.kod).balance, sumOfChildren.value(m.kod)) << m.month;
    // April: the payment alone, taken to the grosz as the balance takes it.
    EXPECT_EQ(all.value(april).paid, 10001);
    EXPECT_EQ(all.value(april).charged, 0);

    // The months window for all children: the columns, and the payments
    // list's footer equal to the month's payments.
    TDMRozrach window(context());
    fees::addMonthTotals(window.months(), *db, [] { return 0; });
    Table& m = *window.months().table;
    Table& payments = *window.payments().table;
    if (!payments.isOpen())
        payments.open();
    qint64 approved = 0;
    for (const fees::MonthRecord& r : months) {
        ASSERT_TRUE(m.locate({QStringLiteral("KOD")}, {r.kod}));
        EXPECT_EQ(grosze(m.asDouble(QStringLiteral("SALDO"))), all.value(r.kod).balance);
        EXPECT_EQ(grosze(m.asDouble(QStringLiteral("WPLACONO"))), all.value(r.kod).paid);
        EXPECT_EQ(grosze(m.asDouble(QStringLiteral("NALICZONO"))), all.value(r.kod).charged);
        EXPECT_EQ(sums::footer(window.payments()).value(QStringLiteral("WARTOSC")), amountText(all.value(r.kod).paid));
        approved += all.value(r.kod).charged;
    }
    EXPECT_EQ(sums::footer(window.months()).value(QStringLiteral("NALICZONO")), amountText(approved));
    // A payment typed in shows in the balance once the list is read again.
    Query(*db, QStringLiteral("INSERT INTO WPLATY (KOD, DATA, OSOBA, WARTOSC) VALUES (:K, '2025-04-03', :O, 50)"))
        .bind(QStringLiteral("K"), april)
        .bind(QStringLiteral("O"), firstChild)
        .exec();
    m.refresh();
    ASSERT_TRUE(m.locate({QStringLiteral("KOD")}, {april}));
    EXPECT_EQ(grosze(m.asDouble(QStringLiteral("SALDO"))), all.value(april).balance + 5000);

    // One child's window follows the child it is given.
    const QList<int> kids = children();
    TDMRozrach own(context(), {}, firstChild);
    fees::addMonthTotals(own.months(), *db, [&own] { return own.child(); });
    Table& om = *own.months().table;
    for (int child : {firstChild, kids.last()}) {
        own.setChild(child);
        for (const fees::MonthRecord& r : months) {
            ASSERT_TRUE(om.locate({QStringLiteral("KOD")}, {r.kod}));
            EXPECT_EQ(grosze(om.asDouble(QStringLiteral("SALDO"))), fees::childBalance(*db, child, r.year, r.month))
                << child << " " << r.month;
        }
    }
}

TEST_P(SettlementTotalsTest, InvoiceTotalsAreTheirLines)
{
    const int january = fees::monthKod(*db, 2025, 1);
    NaliczOptions options;
    options.month = january;
    options.type = QStringLiteral("1");
    options.invoicesFirst = true;
    TDMNalicz module(context(), options);
    ASSERT_TRUE(module.invoices());
    fees::addInvoiceTotals(*module.invoices(), *db);
    Table& f = *module.invoices()->table;
    if (!f.isOpen())
        f.open();
    ASSERT_GT(f.rowCount(), 0);
    qint64 all = 0;
    for (int r = 0; r < f.rowCount(); ++r) {
        f.setPosition(r);
        const qint64 lines = grosze(Query(*db, QStringLiteral("SELECT SUM(WARTOSC) FROM NALICZ WHERE IDF = :ID"))
                                        .bind(QStringLiteral("ID"), f.asInt(QStringLiteral("ID")))
                                        .scalar()
                                        .toDouble());
        EXPECT_EQ(grosze(f.asDouble(QStringLiteral("WARTOSC"))), lines);
        all += lines;
    }
    EXPECT_GT(all, 0);
    EXPECT_EQ(sums::footer(*module.invoices()).value(QStringLiteral("WARTOSC")), amountText(all));
}

INSTANTIATE_ENGINES(SettlementTotalsTest);
