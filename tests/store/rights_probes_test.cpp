// Free SQL of a user with few rights, on both engines: every probe is
// refused or leaves the store as it was, whatever the text looks like, and
// what the user may do still works.

#include "shell/tdm_ochrona.h"
#include "store/error.h"
#include "store/password_digest.h"
#include "store/pg_user_roles.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/sql_text.h"
#include "store/user_sql.h"
#include "support/store_fixture.h"

namespace {

enum class On { Both, SQLite, Pg };
enum class Expect {
    Denied,    // "Brak dostępu"
    Fails,     // refused with any store message
    Harmless,  // may run; the store is checked afterwards and no secret shows
};

struct Probe {
    const char* sql;
    Expect expect;
    On on = On::Both;
};

class RightsProbesTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Query(*db, QStringLiteral("INSERT INTO UZYT (NAZWA, OPIS, AKTYWNY, HASLO) VALUES ('ewa', 'x', 'T', :H)"))
            .bind(QStringLiteral("H"), digest::userPassword(QStringLiteral("ewa")))
            .exec();
        userCode = Query(*db, QStringLiteral("SELECT KOD FROM UZYT WHERE NAZWA = 'ewa'")).scalar().toInt();
        Query(*db, QStringLiteral("INSERT INTO KLASY (NAZWA) VALUES ('Biedronki')")).exec();
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, PESEL, AKTYWNY, HASLO) "
                                  "VALUES ('Wrona Wiktor', 'Leśna 2', 1, '21230112345', 'T', :H)"))
            .bind(QStringLiteral("H"), childSecret())
            .exec();
        childCode = Query(*db, QStringLiteral("SELECT KOD FROM DZIECI")).scalar().toInt();
        Query(*db, QStringLiteral("INSERT INTO WPLATY (KOD, DATA, OSOBA, WARTOSC) VALUES (1, '2026-11-02', :O, 120)"))
            .bind(QStringLiteral("O"), childCode)
            .exec();
        const QString user = rights::userCredential(userCode);
        // Children: read and insert, the password hidden, PESEL read only.
        grant(user, QStringLiteral("DZIECI"), rights::Read | rights::Insert,
              {{QStringLiteral("HASLO"), 0}, {QStringLiteral("PESEL"), rights::Read}});
        grant(user, QStringLiteral("KLASY"), rights::Read | rights::Insert);
        adminDigest = Query(*db, QStringLiteral("SELECT HASLO FROM UZYT WHERE NAZWA = 'admin'")).scalar().toString();
        ASSERT_FALSE(adminDigest.isEmpty());
        before = snapshot();
        userDb = store->connect({user});
    }

    void TearDown() override
    {
        userDb.reset();
        if (db && GetParam() == Engine::PostgreSQL)
            pg_roles::dropRoles(*db);
    }

    static QString childSecret() { return QStringLiteral("0a1b2c3d4e5f60718293a4b5c6d7e8f9"); }

    void grant(const QString& credential, const QString& table, int tableMask, const QMap<QString, int>& fieldMasks = {})
    {
        RightsDescriptor d;
        d.credential = credential;
        d.tableRights = tableMask;
        for (const StoreField& f : db->fields(table))
            d.fieldRights << fieldMasks.value(f.name, rights::All);
        rights::writeDescriptors(*db, table, rights::masterCredential(), {d});
    }

    // What no probe may change, read through the master connection.
    QStringList snapshot()
    {
        QStringList out;
        for (const char* sql : {"SELECT NAZWA, HASLO, AKTYWNY FROM UZYT ORDER BY KOD",
                                "SELECT TABELA, NR, HASLO, PRAWA, RODZINA, POLA FROM LW_PRAWA ORDER BY TABELA, NR",
                                "SELECT KOD, NAZWA, ULICA, KLASA, PESEL, HASLO FROM DZIECI ORDER BY KOD",
                                "SELECT KOD, OSOBA, WARTOSC FROM WPLATY ORDER BY ID"}) {
            Query q(*db, QString::fromLatin1(sql));
            q.exec();
            while (q.next()) {
                QStringList row;
                for (int c = 0; c < q.columnCount(); ++c)
                    row << q.value(c).toString();
                out << row.join(QLatin1Char('|'));
            }
        }
        if (GetParam() == Engine::SQLite) {
            Query q(*db, QStringLiteral("SELECT name, seq FROM sqlite_sequence ORDER BY name"));
            q.exec();
            while (q.next())
                out << q.value(0).toString() + QLatin1Char('=') + q.value(1).toString();
        }
        db->forgetStructure();
        out << db->tableNames().join(QLatin1Char(','));
        return out;
    }

    QString run(const QString& sql) { return runOn(*userDb, sql); }

    // A statement the rights allow: its cells, or a failure naming it.
    QString allowed(Database& on, const QString& sql)
    {
        try {
            return runOn(on, sql);
        } catch (const Error& e) {
            ADD_FAILURE() << "refused (" << e.message().toStdString() << "): " << sql.toStdString();
            return {};
        }
    }
    QString allowed(const QString& sql) { return allowed(*userDb, sql); }

    static QString runOn(Database& on, const QString& sql)
    {
        const UserSqlResult r = user_sql::run(on, sql);
        QStringList cells;
        for (const QVariantList& row : r.rows)
            for (const QVariant& v : row)
                cells << v.toString();
        return cells.join(QLatin1Char('\t'));
    }

    int userCode = 0;
    int childCode = 0;
    QString adminDigest;
    QStringList before;
    std::unique_ptr<Database> userDb;
};

TEST_P(RightsProbesTest, FreeSqlCannotReachBeyondTheRights)
{
    const QString kod = QString::number(childCode);
    const QString me = rights::userCredential(userCode);
    const QList<Probe> probes = {
        {"select haslo from/*x*/uzyt", Expect::Denied},
        {"select count(*) from uzyt", Expect::Denied},
        {"update /**/ uzyt set haslo='00000000000000000000000000000000' where nazwa='admin'", Expect::Denied},
        {"insert into /**/ lw_prawa (TABELA, NR, HASLO, PRAWA, RODZINA, POLA) values ('UZYT', 99, '@ME', 31, 0, '')",
         Expect::Denied},
        {"select * from LW_PRAWA", Expect::Denied},
        {"/* */ drop table wplaty", Expect::Denied},
        {"-- x\ndelete from dzieci", Expect::Denied},
        {"create table x (a integer)", Expect::Denied},
        {"alter table dzieci add column nowe integer", Expect::Denied},
        {"select * from only wplaty", Expect::Fails},
        {"select * from wplaty", Expect::Denied},
        {"select table_to_xml('lw_prawa', true, false, '')", Expect::Fails},
        {"select query_to_xml('select haslo from uzyt', true, false, '')", Expect::Fails},
        {"do $$ begin execute 'upd'||'ate uzyt set haslo=''1'' where nazwa=''admin'''; end $$", Expect::Fails},
        {"merge into wplaty w using (select 1 as k) s on false when not matched then insert (OSOBA, WARTOSC) values (1, 5)",
         Expect::Fails},
        {"select 1 into newtab", Expect::Fails},
        {"select pg_read_file('/etc/hostname')", Expect::Fails},
        {"select lo_import('/etc/hostname')", Expect::Fails},
        {"copy uzyt to program 'id'", Expect::Fails},
        {"set role postgres", Expect::Fails},
        {"select * from pg_authid", Expect::Fails},
        {"select 1; insert into KLASY (NAZWA) values ('Wiele')", Expect::Fails},
        // Field masks: a hidden field is never seen, nor given a value.
        {"select HASLO from DZIECI", Expect::Harmless},
        {"select * from DZIECI", Expect::Harmless},
        {"insert into DZIECI (NAZWA, ULICA, KLASA, HASLO) values ('Nowy', 'x', 1, 'abc')", Expect::Denied},
        {"insert into DZIECI (NAZWA, ULICA, PESEL) values ('Nowy', 'x', '1')", Expect::Denied},
        {"insert into DZIECI select * from DZIECI", Expect::Denied},
        {"update DZIECI set NAZWA = 'Podmiana'", Expect::Denied},
        // Conflict handling needs the rights of what it does to the old row.
        {"insert into DZIECI (KOD, NAZWA, ULICA) values (@KOD, 'Podmiana', 'x') on conflict (KOD) do update set NAZWA = 'Podmiana'",
         Expect::Denied},
        {"replace into DZIECI (KOD, NAZWA, ULICA) values (@KOD, 'Podmiana', 'x')", Expect::Denied, On::SQLite},
        {"insert or replace into DZIECI (KOD, NAZWA, ULICA) values (@KOD, 'Podmiana', 'x')", Expect::Denied, On::SQLite},
        {"with a as (select 1) insert or replace into DZIECI (KOD, NAZWA, ULICA) values (@KOD, 'Podmiana', 'x')",
         Expect::Denied, On::SQLite},
        {"insert into DZIECI (rowid, NAZWA, ULICA) values (@KOD, 'Podmiana', 'x')", Expect::Denied, On::SQLite},
        {"insert into [DZIECI] ([NAZWA], [HASLO]) values ('Nowy', 'abc')", Expect::Denied, On::SQLite},
        // SQLite's own tables, settings and files.
        {"select * from sqlite_sequence", Expect::Denied, On::SQLite},
        {"update sqlite_sequence set seq = 9223372036854775807 where name in ('NALICZ','FAKT','WPLATY')", Expect::Denied,
         On::SQLite},
        {"delete from sqlite_sequence", Expect::Denied, On::SQLite},
        {"insert into sqlite_sequence (name, seq) values ('KLASY', 1000)", Expect::Denied, On::SQLite},
        {"select sql from sqlite_master", Expect::Denied, On::SQLite},
        {"select name from sqlite_schema", Expect::Denied, On::SQLite},
        {"pragma writable_schema = 1", Expect::Denied, On::SQLite},
        {"pragma user_version = 7", Expect::Denied, On::SQLite},
        {"attach database ':memory:' as x", Expect::Denied, On::SQLite},
        {"analyze", Expect::Denied, On::SQLite},
        {"select load_extension('x')", Expect::Denied, On::SQLite},
    };
    const Engine engine = GetParam();
    for (const Probe& p : probes) {
        if ((p.on == On::SQLite && engine != Engine::SQLite) || (p.on == On::Pg && engine != Engine::PostgreSQL))
            continue;
        QString sql = QString::fromUtf8(p.sql);
        sql.replace(QStringLiteral("@KOD"), kod).replace(QStringLiteral("@ME"), me);
        SCOPED_TRACE(sql.toStdString());
        try {
            const QString shown = run(sql);
            EXPECT_EQ(p.expect, Expect::Harmless) << "ran: " << shown.toStdString();
            EXPECT_FALSE(shown.contains(adminDigest, Qt::CaseInsensitive));
            EXPECT_FALSE(shown.contains(childSecret(), Qt::CaseInsensitive));
        } catch (const Error& e) {
            if (p.expect == Expect::Denied) {
                EXPECT_EQ(e.message(), QStringLiteral("Brak dostępu"));
            }
        }
        EXPECT_EQ(snapshot(), before);
    }
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM KLASY WHERE NAZWA = 'Wiele'")).scalar().toInt(), 0);
}

TEST_P(RightsProbesTest, WhatTheRightsGrantStillRuns)
{
    EXPECT_EQ(allowed(QStringLiteral("select NAZWA, PESEL from DZIECI")), QStringLiteral("Wrona Wiktor\t21230112345"));
    EXPECT_EQ(allowed(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < 3) "
                                 "select count(*) from n")),
              QStringLiteral("3"));
    allowed(QStringLiteral("insert into KLASY (NAZWA) values ('Motylki')"));
    allowed(QStringLiteral("insert into DZIECI (NAZWA, ULICA, KLASA) values ('Nowak Ola', 'Polna 1', 1)"));
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM KLASY WHERE NAZWA = 'Motylki'")).scalar().toInt(), 1);
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM DZIECI WHERE NAZWA = 'Nowak Ola' AND HASLO IS NULL")).scalar().toInt(), 1);
    // One statement a call, a closing semicolon allowed.
    EXPECT_EQ(allowed(QStringLiteral("select 7;")), QStringLiteral("7"));
    for (const char* two : {"select 1; insert into KLASY (NAZWA) values ('Wiele')",
                             "insert into KLASY (NAZWA) values ('Wiele'); select 1"}) {
        try {
            run(QString::fromUtf8(two));
            ADD_FAILURE() << "two statements ran: " << two;
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Można wykonać tylko jedno polecenie SQL naraz.")) << two;
        }
    }
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM KLASY WHERE NAZWA = 'Wiele'")).scalar().toInt(), 0);
    EXPECT_EQ(allowed(QStringLiteral("select count(*) from KLASY")),
              Query(*db, QStringLiteral("SELECT COUNT(*) FROM KLASY")).scalar().toString());

    // Rights given later reach the server's role as well, and taken back.
    grant(rights::userCredential(userCode), QStringLiteral("WPLATY"), rights::Read);
    userDb->reloadRights();
    EXPECT_EQ(allowed(QStringLiteral("select WARTOSC from WPLATY")), QStringLiteral("120"));
    grant(rights::userCredential(userCode), QStringLiteral("WPLATY"), 0);
    userDb->reloadRights();
    EXPECT_THROW(run(QStringLiteral("select WARTOSC from WPLATY")), AccessDenied);

    // The service account's free SQL is not limited.
    auto master = store->connect();
    EXPECT_EQ(allowed(*master, QStringLiteral("select count(*) from UZYT where HASLO = '%1'").arg(adminDigest)),
              QStringLiteral("1"));
}

TEST_P(RightsProbesTest, PasswordsOutsideTheCodePageAreTheirOwn)
{
    Query(*db, QStringLiteral("INSERT INTO UZYT (NAZWA, OPIS, AKTYWNY, HASLO) VALUES ('iwan', 'x', 'T', :H)"))
        .bind(QStringLiteral("H"), digest::userPassword(QString::fromUtf8("пароль")))
        .exec();
    // A digest stored over code page 1250 bytes still logs in.
    Query(*db, QStringLiteral("INSERT INTO UZYT (NAZWA, OPIS, AKTYWNY, HASLO) VALUES ('ola', 'x', 'T', :H)"))
        .bind(QStringLiteral("H"), digest::md5Hex(QString::fromUtf8("Łódź"), QStringLiteral("QUR"), true))
        .exec();
    TDMOchrona security(*db);
    EXPECT_FALSE(security.login(QStringLiteral("iwan"), QString::fromUtf8("абвгде")));
    EXPECT_FALSE(security.login(QStringLiteral("iwan"), QStringLiteral("??????")));
    EXPECT_TRUE(security.login(QStringLiteral("iwan"), QString::fromUtf8("пароль")));
    EXPECT_TRUE(security.login(QStringLiteral("ola"), QString::fromUtf8("Łódź")));
    // A digest stored when such characters became '?' still logs its user in
    // until the password is set again; then only the password itself does.
    db->setCredentials({rights::masterCredential()});
    Query(*db, QStringLiteral("UPDATE UZYT SET HASLO = :H WHERE NAZWA = 'iwan'"))
        .bind(QStringLiteral("H"), digest::md5Hex(QStringLiteral("??????"), QStringLiteral("QUR"), true))
        .exec();
    EXPECT_TRUE(security.login(QStringLiteral("iwan"), QString::fromUtf8("пароль")));
    EXPECT_EQ(security.changePassword(QStringLiteral("iwan"), QString::fromUtf8("пароль"), QString::fromUtf8("пароль"), true),
              TDMOchrona::PasswordChange::Changed);
    EXPECT_FALSE(security.login(QStringLiteral("iwan"), QString::fromUtf8("абвгде")));
    EXPECT_TRUE(security.login(QStringLiteral("iwan"), QString::fromUtf8("пароль")));
}

INSTANTIATE_ENGINES(RightsProbesTest);

}  // namespace

namespace {

// The authorizer's reading of a write statement: anything it cannot read
// with certainty must come out not understood.
TEST(SqlTextWrites, ClassifiesWhatAnInsertOrUpdateDoes)
{
    using W = sqltext::WriteStatement;
    W w = sqltext::classifyWrite(QStringLiteral("/* x */ INSERT OR REPLACE INTO \"dzieci\" AS d (a, \"B\") VALUES (1, 2)"));
    EXPECT_TRUE(w.understood);
    EXPECT_EQ(w.verb, W::Insert);
    EXPECT_EQ(w.table, QStringLiteral("DZIECI"));
    EXPECT_TRUE(w.replaces);
    EXPECT_EQ(w.columns, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));

    w = sqltext::classifyWrite(QStringLiteral("with x as (select 1), y(a) as materialized (select 2) insert into main.t default values"));
    EXPECT_TRUE(w.understood);
    EXPECT_EQ(w.table, QStringLiteral("T"));
    EXPECT_FALSE(w.allColumns);
    EXPECT_TRUE(w.columns.isEmpty());

    EXPECT_TRUE(sqltext::classifyWrite(QStringLiteral("insert into t values (1)")).allColumns);
    EXPECT_TRUE(sqltext::classifyWrite(QStringLiteral("replace into t (a) values (1)")).replaces);
    EXPECT_TRUE(sqltext::classifyWrite(QStringLiteral("update or replace t set a = 1")).replaces);
    EXPECT_FALSE(sqltext::classifyWrite(QStringLiteral("update t set a = 'or replace'")).replaces);
    EXPECT_TRUE(sqltext::classifyWrite(QStringLiteral("insert into t (a) values (1) on conflict (a) do update set a = 2")).upsertUpdate);
    EXPECT_FALSE(sqltext::classifyWrite(QStringLiteral("insert into t (a) values (1) on conflict do nothing")).upsertUpdate);

    EXPECT_FALSE(sqltext::classifyWrite(QStringLiteral("insert into t select 1; drop table t")).understood);
    EXPECT_FALSE(sqltext::classifyWrite(QStringLiteral("insert into t ([a]) values (1)")).understood);
    EXPECT_FALSE(sqltext::classifyWrite(QStringLiteral("insert or frobnicate into t (a) values (1)")).understood);
    EXPECT_FALSE(sqltext::classifyWrite(QStringLiteral("select 1")).understood);

    EXPECT_EQ(sqltext::cteNames(QStringLiteral("select * from (with recursive n(i) as (select 1), \"m\" as (select 2) "
                                               "select * from n, m)")),
              (QStringList{QStringLiteral("N"), QStringLiteral("M")}));
}

}  // namespace
