// Two connections on one store: what one saves the other sees at once, and
// neither overwrites what the other changed since it read the row.

#include "store/error.h"
#include "store/query.h"
#include "store/table.h"
#include "support/store_fixture.h"

#include <sqlite3.h>

namespace {

class ConcurrencyTest : public EngineTest {};

TEST_P(ConcurrencyTest, ASavedRowIsSeenByAnotherConnectionAtOnce)
{
    auto other = store->connect();
    Table mine(*db, QStringLiteral("WPLATY"));
    mine.open();
    mine.insert();
    mine.setValue(QStringLiteral("KOD"), 1);
    mine.setValue(QStringLiteral("OSOBA"), 3);
    mine.setValue(QStringLiteral("WARTOSC"), 125.5);
    mine.setValue(QStringLiteral("DATA"), QDate(2024, 9, 10));
    mine.post();
    Table theirs(*other, QStringLiteral("WPLATY"));
    theirs.setOrdering(QStringLiteral("KOD;OSOBA"));
    theirs.open();
    ASSERT_EQ(theirs.rowCount(), 1);
    EXPECT_DOUBLE_EQ(theirs.asDouble(QStringLiteral("WARTOSC")), 125.5);
    EXPECT_EQ(Query(*other, QStringLiteral("SELECT SUM(WARTOSC) FROM WPLATY")).scalar().toDouble(), 125.5);
}

TEST_P(ConcurrencyTest, AChangeMadeMeanwhileIsNeverOverwritten)
{
    Query(*db, QStringLiteral("INSERT INTO WPLATY (KOD, OSOBA, WARTOSC, OPIS) VALUES (1, 3, 100, 'czesne')")).exec();
    auto other = store->connect();
    Table a(*db, QStringLiteral("WPLATY"));
    Table b(*other, QStringLiteral("WPLATY"));
    a.open();
    b.open();
    a.edit();
    a.setValue(QStringLiteral("WARTOSC"), 120.0);
    b.edit();
    b.setValue(QStringLiteral("OPIS"), QStringLiteral("czesne wrzesień"));
    b.post();
    try {
        a.post();
        FAIL() << "overwrote a change made meanwhile";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("zmienione przez innego użytkownika")));
    }
    EXPECT_EQ(a.state(), Table::State::Edit);  // the typed value is still there
    EXPECT_DOUBLE_EQ(a.asDouble(QStringLiteral("WARTOSC")), 120.0);
    a.cancel();
    a.refresh();
    EXPECT_EQ(a.text(QStringLiteral("OPIS")), QStringLiteral("czesne wrzesień"));
    a.edit();
    a.setValue(QStringLiteral("WARTOSC"), 120.0);
    a.post();

    // Deleting a row another connection removed, or changed, fails too.
    b.refresh();
    a.remove();
    EXPECT_THROW(b.remove(), Error);
    EXPECT_EQ(b.rowCount(), 1);
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM WPLATY")).scalar().toInt(), 0);
}

TEST_P(ConcurrencyTest, ABatchIsOneUnit)
{
    EXPECT_THROW(db->batch([&] {
        Query(*db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (2024, 9)")).exec();
        Table t(*db, QStringLiteral("MIESIACE"));
        t.open();
        t.insert();
        t.setValue(QStringLiteral("ROK"), 2024);
        t.setValue(QStringLiteral("MIES"), 10);
        t.post();
        throw Error(QStringLiteral("przerwane"));
    }), Error);
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM MIESIACE")).scalar().toInt(), 0);
    db->batch([&] {
        Query(*db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (2024, 9)")).exec();
        db->batch([&] { Query(*db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (2024, 10)")).exec(); });
    });
    auto other = store->connect();
    EXPECT_EQ(Query(*other, QStringLiteral("SELECT COUNT(*) FROM MIESIACE")).scalar().toInt(), 2);
}

INSTANTIATE_ENGINES(ConcurrencyTest);

// Rows written by another tool with plain SQL, following the physical
// contract (ISO dates, HH:MM times, NULL for empty), read back as values.
TEST(PlainSqlite, RowsWrittenByAnotherToolAreReadBack)
{
    TestStore s(Engine::SQLite);
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(s.location().sqliteFile().toUtf8().constData(), &raw), SQLITE_OK);
    const char* sql = "INSERT INTO OBECN (OSOBA, DATA, OBECNY, CZASP, CZASW) VALUES (4, '2024-03-05', 'T', '07:45', '15:30');"
                      "INSERT INTO DZIECI (NAZWA, ULICA, DATAUR) VALUES ('Źrebak Zofia', 'Długa 1', '2019-02-28');";
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(raw, sql, nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(raw);

    auto db = s.connect();
    Table att(*db, QStringLiteral("OBECN"));
    att.setOrdering(QStringLiteral("OSOBA;DATA"));
    att.open();
    ASSERT_TRUE(att.find({4, QDate(2024, 3, 5)}));
    EXPECT_EQ(att.asTime(QStringLiteral("CZASP")), QTime(7, 45));
    Table kids(*db, QStringLiteral("DZIECI"));
    kids.open();
    EXPECT_EQ(kids.asDate(QStringLiteral("DATAUR")), QDate(2019, 2, 28));
    EXPECT_EQ(kids.text(QStringLiteral("NAZWA")), QStringLiteral("Źrebak Zofia"));
    EXPECT_EQ(kids.text(QStringLiteral("AKTYWNY")), QStringLiteral("T"));  // the column's default
}

}  // namespace
