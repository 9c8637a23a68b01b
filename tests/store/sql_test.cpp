// SQL written once runs on both engines; its results are plain values.

#include "store/error.h"
#include "store/query.h"
#include "store/sql_text.h"
#include "store/values.h"
#include "support/store_fixture.h"

namespace {

class SqlTest : public EngineTest {};

TEST_P(SqlTest, DialectConstructsRunOnEitherEngine)
{
    Query(*db, QStringLiteral("INSERT INTO OBECN (OSOBA, DATA, OBECNY) VALUES (1, '2024-03-05', 'T'), (1, '2024-04-01', 'N')")).exec();
    Query q(*db, QStringLiteral("SELECT extract(MONTH from DATA) AS M, extract(year FROM DATA) AS R, "
                                "substring(OBECNY from 1 for 1) AS S FROM OBECN WHERE DATA >= DATE '2024-03-01' "
                                "AND DATA < :D ORDER BY DATA"));
    q.bind(QStringLiteral("D"), QDate(2024, 4, 1)).exec();
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(QStringLiteral("M")).toInt(), 3);
    EXPECT_EQ(q.value(QStringLiteral("R")).toInt(), 2024);
    EXPECT_EQ(q.value(QStringLiteral("S")).toString(), QStringLiteral("T"));
    EXPECT_EQ(values::toDate(Query(*db, QStringLiteral("SELECT MAX(DATA) FROM OBECN")).scalar()), QDate(2024, 4, 1));
    EXPECT_FALSE(q.next());
    EXPECT_EQ(q.columnName(0), QStringLiteral("M"));

    // Parameters carry text verbatim: quotes and SQL inside a value are data.
    const QString hostile = QStringLiteral("O'Brien'); DELETE FROM OBECN; --");
    Query(*db, QStringLiteral("INSERT INTO POSILKI (DATA, OPIS) VALUES (:D, :O)"))
        .bind(QStringLiteral("D"), QDate(2024, 3, 5))
        .bind(QStringLiteral("O"), hostile)
        .exec();
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT OPIS FROM POSILKI")).scalar().toString(), hostile);
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM OBECN")).scalar().toInt(), 2);

    Query upd(*db, QStringLiteral("UPDATE OBECN SET OBECNY = 'Z' WHERE OSOBA = 1"));
    upd.exec();
    EXPECT_FALSE(upd.returnsRows());
    EXPECT_EQ(upd.rowsAffected(), 2);
    EXPECT_THROW(Query(*db, QStringLiteral("SELECT * FROM NIEISTNIEJE")).exec(), Error);
}

INSTANTIATE_ENGINES(SqlTest);

TEST(SqlText, TablesAStatementTouches)
{
    auto uses = [](const char* sql) {
        QStringList out;
        for (const auto& u : sqltext::tablesUsed(QString::fromUtf8(sql)))
            out << QStringLiteral("%1:%2").arg(u.table).arg(u.mask);
        return out.join(QLatin1Char(' '));
    };
    EXPECT_EQ(uses("select M.KOD from MIESIACE M, NALICZ N where N.KOD = M.KOD"), QStringLiteral("MIESIACE:1 NALICZ:1"));
    EXPECT_EQ(uses("select * from DZIECI d join KLASY k on d.KLASA = k.KOD"), QStringLiteral("DZIECI:1 KLASY:1"));
    EXPECT_EQ(uses("update ZAJOBEC set OBECNY= 'T'"), QStringLiteral("ZAJOBEC:2"));
    EXPECT_EQ(uses("delete from NALICZ where KOD in (select KOD from MIESIACE)"), QStringLiteral("NALICZ:8 MIESIACE:1"));
    EXPECT_EQ(uses("insert into WPLATY (KOD) select KOD from \"MIESIACE\""), QStringLiteral("WPLATY:4 MIESIACE:1"));
    EXPECT_EQ(uses("alter table DZIECI add STATUS integer"), QStringLiteral("DZIECI:16"));
    EXPECT_EQ(uses("select extract(month from DATA) from OBECN"), QStringLiteral("DATA:1 OBECN:1"));
    EXPECT_EQ(uses("select 'from DZIECI' from KODY"), QStringLiteral("KODY:1"));
    EXPECT_EQ(uses("drop table DZIECI"), QStringLiteral(":16"));
    EXPECT_TRUE(sqltext::returnsRows(QStringLiteral(" (select 1)")));
    EXPECT_FALSE(sqltext::returnsRows(QStringLiteral("update X set A=1")));
    EXPECT_EQ(sqltext::rewrite(QStringLiteral("select extract(day from cast(extract(year from D) as int)) from T"), Engine::SQLite),
              QStringLiteral("select CAST(strftime('%d', cast(CAST(strftime('%Y', D) AS INTEGER) as int)) AS INTEGER) from T"));
}

}  // namespace
