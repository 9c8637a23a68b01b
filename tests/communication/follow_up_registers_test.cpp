// The requests and deadlines registers: what a new request gets, the
// required fields, the dates computed for each deadline row, and the
// executions printout's rows.

#include "shell/register_fixture.h"

#include "communication/execution_report.h"
#include "communication/tdm_terminy.h"
#include "communication/tdm_zglosz.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

#include <gtest/gtest.h>

namespace {

using FollowUpRegistersTest = RegisterTest;

void run(Database& db, const QString& sql)
{
    Query(db, sql).exec();
}

TEST_P(FollowUpRegistersTest, NewRequestAndDeadlineDates)
{
    RunContext& ctx = context();
    ctx.baza.setSystemDate(QDate(2024, 3, 15));
    ctx.login.userCode = 7;
    TDMZglosz requests(ctx);
    Table& r = *requests.requests().table;
    if (!r.isOpen())
        r.open();
    r.insert();
    EXPECT_EQ(r.asDate(QStringLiteral("DATAPRZY")), QDate(2024, 3, 15));
    EXPECT_EQ(r.asInt(QStringLiteral("KTOPRZY")), 7);
    r.setValue(QStringLiteral("OSOBA"), 1);
    try {
        r.post();
        ADD_FAILURE() << "saved without a description";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Pole \"Opis sprawy\" musi posiadać wartość"));
    }
    EXPECT_TRUE(r.isEditing());
    r.cancel();

    run(*db, QStringLiteral("INSERT INTO TERMINY (OPIS, DATA, ILOKRESOW, OKRES, DNIPRZED) "
                            "VALUES ('Co miesiąc', '2024-01-31', 1, 'M', 3)"));
    run(*db, QStringLiteral("INSERT INTO TERMINY (OPIS, DATA, ILOKRESOW, OKRES) VALUES ('Bez okresu', '2024-01-01', 0, 'M')"));
    const int monthly = Query(*db, QStringLiteral("SELECT TERMID FROM TERMINY WHERE OPIS = 'Co miesiąc'")).scalar().toInt();
    run(*db, QStringLiteral("INSERT INTO TERMWYK (TERMID, DATAZAL) VALUES (%1, '2024-01-30'), (%1, '2024-02-28')")
                 .arg(monthly));
    TDMTerminy terms(ctx);
    Table& t = *terms.deadlines().table;
    if (!t.isOpen())
        t.open();
    ASSERT_TRUE(t.locate({QStringLiteral("TERMID")}, {monthly}));
    EXPECT_EQ(t.asDate(QStringLiteral("NASTDATA")), QDate(2024, 3, 31));
    EXPECT_EQ(t.asDate(QStringLiteral("OSTDATA")), QDate(2024, 2, 29));
    EXPECT_EQ(t.asDate(QStringLiteral("DATAZAL")), QDate(2024, 2, 28));
    EXPECT_EQ(t.text(QStringLiteral("OPISOKRESU")), QStringLiteral("Miesiąc"));
    ASSERT_TRUE(t.locate({QStringLiteral("OPIS")}, {QStringLiteral("Bez okresu")}));
    EXPECT_TRUE(t.isNull(QStringLiteral("NASTDATA")));
    EXPECT_TRUE(t.isNull(QStringLiteral("OSTDATA")));
    EXPECT_TRUE(t.isNull(QStringLiteral("DATAZAL")));

    // A new execution belongs to the current deadline.
    ASSERT_TRUE(t.locate({QStringLiteral("TERMID")}, {monthly}));
    Table& e = *terms.executions().table;
    if (!e.isOpen())
        e.open();
    EXPECT_EQ(e.rowCount(), 2);
    e.insert();
    EXPECT_EQ(e.asInt(QStringLiteral("TERMID")), monthly);
    e.cancel();
}

TEST_P(FollowUpRegistersTest, ExecutionPrintoutRows)
{
    run(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA) VALUES ('Nowak Ala', 'Polna 1')"));
    const int ala = Query(*db, QStringLiteral("SELECT MAX(KOD) FROM DZIECI")).scalar().toInt();
    run(*db, QStringLiteral("INSERT INTO ZGLOSZ (DATAPRZY, OSOBA, OPIS, DATAZAL, WYKONANIE) VALUES "
                            "('2024-04-01', %1, 'Późno', '2024-05-20', 'Po okresie'), "
                            "('2024-04-02', %1, 'Otwarte', NULL, NULL), "
                            "('2024-04-03', %1, 'W okresie', '2024-05-01', 'Zrobione'), "
                            "('2024-04-04', %1, 'Ostatni dzień', '2024-05-10', 'Też')")
                 .arg(ala));
    executions::PrintRequest request;
    request.kind = executions::Kind::Requests;
    auto names = [](const report::Rows& rows) {
        QStringList out;
        for (const QVariantList& row : rows.rows)
            out << row.value(rows.fieldIndex(QStringLiteral("OPIS"))).toString();
        return out;
    };
    // Without a period the open request comes first, then by the date dealt with.
    EXPECT_EQ(names(executions::readRows(*db, request)),
              (QStringList{QStringLiteral("Otwarte"), QStringLiteral("W okresie"), QStringLiteral("Ostatni dzień"),
                           QStringLiteral("Późno")}));
    request.period = true;
    request.from = QDate(2024, 5, 1);
    request.to = QDate(2024, 5, 10);
    const report::Rows rows = executions::readRows(*db, request);
    EXPECT_EQ(names(rows), (QStringList{QStringLiteral("W okresie"), QStringLiteral("Ostatni dzień")}));
    EXPECT_EQ(rows.rows.value(0).value(rows.fieldIndex(QStringLiteral("DATAZAL"))).toString(), QStringLiteral("01.05.2024"));
    EXPECT_EQ(executions::subtitle(request), QStringList{QStringLiteral("za okres od 01.05.2024 do 10.05.2024")});

    request.child = ala;
    EXPECT_EQ(executions::reportTitle(*db, request), QStringLiteral("Zgłoszenia: Nowak Ala, Polna 1"));
    request.child = ala + 1;  // another child's requests: none
    EXPECT_TRUE(executions::readRows(*db, request).rows.isEmpty());
}

INSTANTIATE_ENGINES(FollowUpRegistersTest);

}  // namespace
