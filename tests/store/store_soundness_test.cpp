// A damaged SQLite store is refused before anything is written to it and
// the full check names the damage; a store that cannot be written is read.

#include "store/error.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/store_integrity.h"
#include "store/store_messages.h"
#include "support/store_fixture.h"

#include <QFile>
#include <QProcess>

#include <sqlite3.h>

namespace {

bool setImmutable(const QString& path, bool on)
{
    return QProcess::execute(QStringLiteral("chattr"), {on ? QStringLiteral("+i") : QStringLiteral("-i"), path}) == 0;
}

// Raw SQL on the closed store's file, as another tool would run it.
void rawSql(const TestStore& s, const char* sql)
{
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(s.location().sqliteFile().toUtf8().constData(), &raw), SQLITE_OK);
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(raw, sql, nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(raw);
}

int rootPage(const TestStore& s, const char* table)
{
    sqlite3* raw = nullptr;
    sqlite3_open(s.location().sqliteFile().toUtf8().constData(), &raw);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(raw, "SELECT rootpage FROM sqlite_master WHERE name = ?", -1, &st, nullptr);
    sqlite3_bind_text(st, 1, table, -1, SQLITE_STATIC);
    const int page = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : 0;
    sqlite3_finalize(st);
    sqlite3_close(raw);
    return page;
}

TEST(StoreSoundness, DamagedPagesAreRefusedAndReported)
{
    TestStore s(Engine::SQLite);
    {
        auto db = s.connect();
        for (int i = 0; i < 50; ++i)
            Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA) VALUES (:N, 'Polna 3')"))
                .bind(QStringLiteral("N"), QStringLiteral("Dziecko %1").arg(i)).exec();
    }
    const int page = rootPage(s, "DZIECI");
    ASSERT_GT(page, 1);
    {
        QFile f(s.location().sqliteFile());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(qint64(page - 1) * 4096);
        f.write(QByteArray(64, '\xff'));
    }

    Database db(s.location());
    try {
        db.open();
        FAIL() << "a damaged store was opened for work";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), storemsg::damaged());
    }
    EXPECT_FALSE(db.isOpen());

    Database maintenance(s.location());
    maintenance.openForMaintenance();
    const integrity::CheckResult r = integrity::fullCheck(maintenance);
    EXPECT_FALSE(r.problems.isEmpty());
}

TEST(StoreSoundness, AnIndexMissingRowsIsFoundAndRebuilt)
{
    TestStore s(Engine::SQLite);
    {
        auto db = s.connect();
        for (int i = 0; i < 20; ++i)
            Query(*db, QStringLiteral("INSERT INTO WPLATY (KOD, OSOBA, WARTOSC) VALUES (1, :O, 10)"))
                .bind(QStringLiteral("O"), i + 1).exec();
        EXPECT_TRUE(integrity::fullCheck(*db).problems.isEmpty());
    }
    // The ordering's index made partial, then declared whole again: it
    // lacks every row, which only the full check sees.
    rawSql(s, "DROP INDEX WPLATY__BY_KOD_OSOBA;"
              "CREATE INDEX WPLATY__BY_KOD_OSOBA ON WPLATY (KOD, OSOBA) WHERE KOD < 0;"
              "PRAGMA writable_schema = ON;"
              "UPDATE sqlite_master SET sql = 'CREATE INDEX WPLATY__BY_KOD_OSOBA ON WPLATY (KOD, OSOBA)' "
              "WHERE name = 'WPLATY__BY_KOD_OSOBA';");
    Database db(s.location());
    db.openForMaintenance();
    const integrity::CheckResult damaged = integrity::fullCheck(db);
    ASSERT_FALSE(damaged.problems.isEmpty());
    EXPECT_TRUE(damaged.problems.first().contains(QStringLiteral("WPLATY__BY_KOD_OSOBA")))
        << damaged.problems.first().toStdString();
    integrity::rebuildIndexes(db);
    EXPECT_EQ(integrity::fullCheck(db).problems, QStringList());
}

TEST(StoreSoundness, DuplicateInvoiceNumbersOfAnOlderStoreAreReported)
{
    TestStore s(Engine::SQLite);
    rawSql(s, "DROP INDEX LW_FAKT_NUMER;"
              "INSERT INTO FAKT (KOD, NUMER, OSOBA) VALUES (4, 7, 1), (4, 7, 2), (4, 8, 3);");
    auto db = s.connect();  // the guard cannot be added over the duplicates
    const integrity::CheckResult r = integrity::fullCheck(*db);
    EXPECT_EQ(r.problems, (QStringList{QStringLiteral("Powtórzony numer faktury: miesiąc 4, numer 7 (2 razy)"),
                                       QStringLiteral("Brak ograniczenia LW_FAKT_NUMER w tabeli FAKT")}));
}

TEST(StoreSoundness, AStoreThatCannotBeWrittenIsRead)
{
    TestStore s(Engine::SQLite);
    {
        auto db = s.connect();
        Query(*db, QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Żabki', 9)")).exec();
    }
    const QString file = s.location().sqliteFile();
    const QString folder = s.location().folder;
    if (!setImmutable(file, true))
        GTEST_SKIP() << "chattr is not available here";
    struct Undo {
        QString file, folder;
        ~Undo() { setImmutable(folder, false); setImmutable(file, false); }
    } undo{file, folder};

    // The file alone, then its folder too (no journal files can be made).
    for (const bool wholeFolder : {false, true}) {
        if (wholeFolder) {
            ASSERT_TRUE(setImmutable(folder, true));
        }
        Database db(s.location());
        db.open();
        db.setCredentials({rights::masterCredential()});
        EXPECT_TRUE(db.isReadOnly());
        EXPECT_EQ(Query(db, QStringLiteral("SELECT NAZWA FROM KLASY WHERE KOLEJ = 9")).scalar().toString(),
                  QStringLiteral("Żabki"));
        try {
            Query(db, QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Sowy', 10)")).exec();
            FAIL() << "wrote to a read-only store";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), storemsg::readOnly());
        }
        try {
            db.batch([] {});
            FAIL() << "began a batch on a read-only store";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), storemsg::readOnly());
        }
    }
}

}  // namespace
