// Rows written in bulk: read back as written over several chunks, refused
// without the insert right, and a failing row undoes the whole batch.

#include "store/batch_insert.h"
#include "store/error.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/values.h"
#include "support/store_fixture.h"

namespace {

class BatchInsertTest : public EngineTest {
protected:
    int count(const QString& table) { return Query(*db, QStringLiteral("SELECT COUNT(*) FROM ") + table).scalar().toInt(); }
};

struct Row {
    int code;
    QString shortText;
    QString memo;
    QVariant date;
    QVariant amount;
};

TEST_P(BatchInsertTest, RowsReadBackAsWrittenOverSeveralChunks)
{
    const QList<Row> rows{
        {1, QStringLiteral("tab\there"), QStringLiteral("line one\nline two\r\nend"), QDate(2024, 3, 4), 0.1},
        {2, QStringLiteral("back\\slash \\N"), QStringLiteral("\\t is no tab"), QDate(2024, 2, 29), 1234567.89},
        {3, QStringLiteral("Zażółć gęślą jaźń"), QStringLiteral("ŁÓDŹ ĆMA"), QVariant(), -42.5},
        {4, QString(), QString(), QDate(1999, 12, 31), QVariant()},
        {5, QStringLiteral("\\"), QStringLiteral("a\tb\\c\nd"), QDate(2024, 1, 1), -0.07},
        {6, QStringLiteral("N"), QStringLiteral("\\N"), QDate(2030, 6, 15), 999999999999.99},
        {7, QStringLiteral("x"), QStringLiteral("y"), QDate(2024, 3, 5), 1e-7},
    };
    db->batch([&] {
        BatchInsert out(*db, QStringLiteral("NALKLA"),
                        {QStringLiteral("KLASA"), QStringLiteral("KOD"), QStringLiteral("DATA"), QStringLiteral("SKROT"),
                         QStringLiteral("KWOTA"), QStringLiteral("OPIS")},
                        3);
        for (const Row& r : rows) {
            out.set(0, r.code % 2 ? -r.code : r.code);
            out.set(1, r.code);
            out.set(2, r.date);
            out.set(3, r.shortText);
            out.set(4, r.amount);
            out.set(5, QVariant(r.memo));
            out.add();
        }
        out.flush();
        EXPECT_EQ(out.rowsAdded(), rows.size());

        // Times, and a second writer on the same connection after the first.
        BatchInsert times(*db, QStringLiteral("DZIECZAS"),
                          {QStringLiteral("OSOBA"), QStringLiteral("ODDATY"), QStringLiteral("CZASP"), QStringLiteral("CZASW")});
        times.set(0, 1);
        times.set(1, QVariant(QDate(2024, 3, 1)));
        times.set(2, QVariant(QTime(7, 5)));
        times.setNull(3);
        times.add();
        times.flush();
    });

    Query q(*db, QStringLiteral("SELECT KLASA, KOD, DATA, SKROT, KWOTA, OPIS FROM NALKLA ORDER BY KOD"));
    q.exec();
    for (const Row& r : rows) {
        ASSERT_TRUE(q.next());
        SCOPED_TRACE(r.code);
        EXPECT_EQ(q.value(0).toInt(), r.code % 2 ? -r.code : r.code);
        EXPECT_EQ(q.value(1).toInt(), r.code);
        EXPECT_EQ(values::toDate(q.value(2)), r.date.toDate());
        EXPECT_EQ(q.value(3).isNull(), r.shortText.isEmpty());
        EXPECT_EQ(q.value(3).toString(), r.shortText);
        EXPECT_EQ(q.value(4).isNull(), r.amount.isNull());
        EXPECT_EQ(q.value(4).toDouble(), r.amount.toDouble());
        EXPECT_EQ(q.value(5).toString(), r.memo);
    }
    EXPECT_FALSE(q.next());

    Query t(*db, QStringLiteral("SELECT OSOBA, ODDATY, CZASP, CZASW FROM DZIECZAS"));
    t.exec();
    ASSERT_TRUE(t.next());
    EXPECT_EQ(values::toDate(t.value(1)), QDate(2024, 3, 1));
    EXPECT_EQ(values::toTime(t.value(2)), QTime(7, 5));
    EXPECT_TRUE(t.value(3).isNull());
}

TEST_P(BatchInsertTest, RefusedWithoutInsertRight)
{
    RightsDescriptor d;
    d.credential = rights::userCredential(41);
    d.tableRights = rights::Read;
    for (int i = 0; i < db->fields(QStringLiteral("NALICZ")).size(); ++i)
        d.fieldRights << rights::All;
    rights::writeDescriptors(*db, QStringLiteral("NALICZ"), rights::masterCredential(), {d});
    auto user = store->connect({rights::userCredential(41)});

    QString message;
    try {
        user->batch([&] {
            BatchInsert out(*user, QStringLiteral("NALICZ"), {QStringLiteral("KOD"), QStringLiteral("OSOBA"), QStringLiteral("MEDIUM")});
            for (int i = 1; i <= 3; ++i) {
                out.set(0, 1);
                out.set(1, i);
                out.set(2, 1);
                out.add();
            }
            out.flush();
        });
    } catch (const Error& e) {
        message = e.message();
    }
    EXPECT_EQ(message, AccessDenied::text());
    EXPECT_EQ(count(QStringLiteral("NALICZ")), 0);
}

TEST_P(BatchInsertTest, FailingRowUndoesTheBatchWithTheStoresMessage)
{
    const auto writeLines = [&](const QList<int>& ids) {
        BatchInsert out(*db, QStringLiteral("NALICZ"),
                        {QStringLiteral("ID"), QStringLiteral("KOD"), QStringLiteral("OSOBA"), QStringLiteral("MEDIUM")}, 2);
        for (const int id : ids) {
            out.set(0, id);
            out.set(1, 1);
            out.set(2, id);
            out.set(3, 1);
            out.add();
        }
        out.flush();
    };
    // Two chunks are sent before the one holding the repeated key.
    QString message;
    try {
        db->batch([&] { writeLines({1, 2, 3, 4, 5, 2, 6}); });
    } catch (const Error& e) {
        message = e.message();
    }
    EXPECT_EQ(message, QStringLiteral("Taki zapis już istnieje: wartości pól ID muszą być niepowtarzalne."));
    EXPECT_EQ(count(QStringLiteral("NALICZ")), 0);

    // The connection takes the next batch.
    db->batch([&] { writeLines({7, 8, 9}); });
    EXPECT_EQ(count(QStringLiteral("NALICZ")), 3);
}

INSTANTIATE_ENGINES(BatchInsertTest);

}  // namespace
