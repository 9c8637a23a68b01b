// Typed reads of many rows: values as the store keeps them, run again with
// new values, and the connection's rights as for any other statement.

#include "store/error.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/typed_query.h"
#include "support/store_fixture.h"

namespace {

class TypedQueryTest : public EngineTest {};

TEST_P(TypedQueryTest, ValuesRerunsAndRights)
{
    Query(*db, QStringLiteral("INSERT INTO OBECN (OSOBA, DATA, OBECNY, CZASP, CZASW) VALUES "
                              "(7, '2024-03-04', 't', '07:05', '16:40'), (8, '2024-03-04', NULL, NULL, NULL), "
                              "(7, '2024-03-05', 'N', NULL, '23:59')")).exec();
    TypedQuery q(*db, QStringLiteral("SELECT OSOBA, DATA, OBECNY, CZASP, CZASW FROM OBECN WHERE DATA = :D ORDER BY OSOBA"));
    q.bind(QStringLiteral("D"), QDate(2024, 3, 4)).exec();
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.integer(0), 7);
    EXPECT_EQ(q.date(1), QDate(2024, 3, 4));
    EXPECT_EQ(q.mark(2), QLatin1Char('T'));
    EXPECT_EQ(q.minutes(3), 7 * 60 + 5);
    EXPECT_EQ(q.minutes(4), 16 * 60 + 40);
    EXPECT_FALSE(q.isNull(3));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.integer(0), 8);
    EXPECT_TRUE(q.mark(2).isNull());
    EXPECT_TRUE(q.isNull(3));
    EXPECT_EQ(q.minutes(3), -1);
    EXPECT_FALSE(q.next());

    // Bound again mid-read: the next run sees only the new day.
    q.bind(QStringLiteral("D"), QDate(2024, 3, 4)).exec();
    ASSERT_TRUE(q.next());
    q.bind(QStringLiteral("D"), QDate(2024, 3, 5)).exec();
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.date(1), QDate(2024, 3, 5));
    EXPECT_EQ(q.minutes(4), 23 * 60 + 59);
    EXPECT_FALSE(q.next());

    // A login that may read the children but not attendance is refused.
    RightsDescriptor d;
    d.credential = rights::userCredential(41);
    d.tableRights = rights::Read;
    for (int i = 0; i < db->fields(QStringLiteral("DZIECI")).size(); ++i)
        d.fieldRights << rights::All;
    rights::writeDescriptors(*db, QStringLiteral("DZIECI"), rights::masterCredential(), {d});
    auto user = store->connect({rights::userCredential(41)});
    TypedQuery children(*user, QStringLiteral("SELECT KOD FROM DZIECI"));
    EXPECT_NO_THROW(children.exec());
    EXPECT_THROW(
        {
            TypedQuery attendance(*user, QStringLiteral("SELECT OSOBA FROM OBECN WHERE DATA >= :D"));
            attendance.bind(QStringLiteral("D"), QDate(2024, 1, 1)).exec();
            attendance.next();
        },
        AccessDenied);
}

// Values of every kind the reads meet, a name used twice, and a colon that
// is no placeholder (PostgreSQL's values travel apart from the text).
TEST_P(TypedQueryTest, NumbersTextsAndPlaceholders)
{
    Query(*db, QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC) VALUES "
                              "(3, '0', 5, 2, 0.1, 'łącz.', -1234567.89, 1e-7)")).exec();
    TypedQuery q(*db, QStringLiteral("SELECT ILOSC, JM, CENA, WARTOSC, OSOBA, 'a:b' FROM NALICZ "
                                     "WHERE (KOD = :K OR MEDIUM = :K) AND JM = :J"));
    q.bind(QStringLiteral(":K"), 3).bind(QStringLiteral("J"), QStringLiteral("łącz.")).bind(QStringLiteral("X"), 1);
    q.exec();
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.number(0), 0.1);
    EXPECT_EQ(q.text(1), QStringLiteral("łącz."));
    EXPECT_EQ(q.number(2), -1234567.89);
    EXPECT_EQ(q.number(3), 1e-7);
    EXPECT_EQ(q.integer(4), 5);
    EXPECT_EQ(q.text(5), QStringLiteral("a:b"));
    EXPECT_FALSE(q.next());
    q.bind(QStringLiteral("K"), 2).exec();  // MEDIUM matches
    EXPECT_TRUE(q.next());
    q.bind(QStringLiteral("K"), 4).exec();
    EXPECT_FALSE(q.next());

    TypedQuery wrong(*db, QStringLiteral("SELECT NIEMA FROM NALICZ"));
    EXPECT_THROW(
        {
            wrong.exec();
            wrong.next();
        },
        Error);
}

INSTANTIATE_ENGINES(TypedQueryTest);

}  // namespace
