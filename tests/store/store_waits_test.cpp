// A store shared by several stations: one batch at a time, every wait
// bounded and ended with a Polish message, invoice numbers kept unique by
// the store itself.

#include "store/error.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/store_messages.h"
#include "support/store_fixture.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTcpServer>
#include <QUuid>

namespace {

class StoreWaitsTest : public EngineTest {
protected:
    // A second station, giving up on a held lock after a short wait.
    std::unique_ptr<Database> impatient()
    {
        StoreLocation loc = store->location();
        loc.lockTimeoutMs = 300;
        auto other = std::make_unique<Database>(loc);
        other->open();
        other->setCredentials({rights::masterCredential()});
        return other;
    }
    int months(Database& on) { return Query(on, QStringLiteral("SELECT COUNT(*) FROM MIESIACE")).scalar().toInt(); }
};

TEST_P(StoreWaitsTest, ASecondBatchWaitsBoundedAndWritesNothing)
{
    auto other = impatient();
    db->begin();  // this station's batch is running
    Query(*db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (2024, 9)")).exec();
    bool ran = false;
    try {
        other->batch([&] {
            ran = true;
            Query(*other, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (2024, 10)")).exec();
        });
        FAIL() << "a second batch ran beside the first";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), storemsg::busy());
    }
    EXPECT_FALSE(ran) << "the second batch began before it had the lock";
    EXPECT_FALSE(other->inTransaction());
    db->commit();

    // Once the first is done the second goes through, and sees its rows.
    other->batch([&] {
        EXPECT_EQ(months(*other), 1);
        Query(*other, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (2024, 10)")).exec();
    });
    EXPECT_EQ(months(*db), 2);
}

TEST_P(StoreWaitsTest, InvoiceNumbersAreUniquePerMonthInTheStore)
{
    auto insert = [&](int month, int number, const QVariant& original) {
        Query(*db, QStringLiteral("INSERT INTO FAKT (KOD, NUMER, OSOBA, PIERW) VALUES (:K, :N, 1, :P)"))
            .bind(QStringLiteral("K"), month).bind(QStringLiteral("N"), number).bind(QStringLiteral("P"), original).exec();
    };
    insert(1, 1, {});
    insert(2, 1, {});  // another month
    insert(1, 1, 7);   // a correction is numbered apart
    try {
        insert(1, 1, {});
        FAIL() << "a second invoice 1 in month 1 was stored";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Numer faktury powtarza się w tym miesiącu; zmiany nie zostały zapisane."));
    }
    // The guard is not an ordering of the table.
    for (const StoreIndex& ix : db->indexes(QStringLiteral("FAKT")))
        EXPECT_NE(ix.name.toUpper(), QStringLiteral("LW_FAKT_NUMER"));

    // A store made before the guard gets it when opened.
    Query(*db, QStringLiteral("DROP INDEX LW_FAKT_NUMER")).exec();
    insert(3, 5, {});
    auto reopened = store->connect();
    EXPECT_THROW(insert(3, 5, {}), Error);
}

TEST_P(StoreWaitsTest, ARowLockHeldElsewhereEndsInTheMessage)
{
    auto other = impatient();
    Query(*db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (2024, 9)")).exec();
    db->begin();
    Query(*db, QStringLiteral("UPDATE MIESIACE SET DNIWOLNE = '1' WHERE ROK = 2024")).exec();
    try {
        Query(*other, QStringLiteral("UPDATE MIESIACE SET DNIWOLNE = '2' WHERE ROK = 2024")).exec();
        FAIL() << "wrote under another connection's lock";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), storemsg::busy());
    }
    db->rollback();
    Query(*other, QStringLiteral("UPDATE MIESIACE SET DNIWOLNE = '2' WHERE ROK = 2024")).exec();
}

INSTANTIATE_ENGINES(StoreWaitsTest);

TEST(PostgresWaits, ASilentServerAndALongStatementEndInMessages)
{
    // Accepts connections (the system does) and never answers them.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    StoreLocation loc;
    loc.engine = Engine::PostgreSQL;
    loc.host = QStringLiteral("127.0.0.1");
    loc.port = silent.serverPort();
    loc.database = QStringLiteral("lunawa");
    loc.user = QStringLiteral("ala");
    loc.password = QStringLiteral("s3kret-haslo");
    loc.connectTimeoutSeconds = 2;
    Database db(loc);
    try {
        db.open();
        FAIL() << "opened a store on a server that never answers";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains(storemsg::connectTimeout(loc.describe(), 2))) << e.message().toStdString();
        EXPECT_FALSE(e.message().contains(loc.password));
    }

    if (!TestStore::postgresAvailable())
        GTEST_SKIP() << "LUNAWA_TEST_PG not set";
    TestStore s(Engine::PostgreSQL);
    StoreLocation slow = s.location();
    slow.statementTimeoutMs = 300;
    Database pg(slow);
    pg.open();
    pg.setCredentials({rights::masterCredential()});
    try {
        Query(pg, QStringLiteral("SELECT pg_sleep(5)")).exec();
        FAIL() << "a statement ran past its time";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), storemsg::statementTimeout(1));
    }
}

}  // namespace
