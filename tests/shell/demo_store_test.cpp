// The demonstration store: a kindergarten whose every child can be charged,
// months computed and approved without a data problem, and the same store
// for the same seed.

#include "shell/demo_store.h"

#include "store/error.h"
#include "store/query.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

namespace {

int number(Database& db, const QString& sql)
{
    return Query(db, sql).scalar().toInt();
}

bool validPesel(const QString& p)
{
    static const int weights[] = {1, 3, 7, 9, 1, 3, 7, 9, 1, 3};
    if (p.size() != 11)
        return false;
    int sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += p[i].digitValue() * weights[i];
    return (10 - sum % 10) % 10 == p[10].digitValue();
}

class DemoStoreTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        if (GetParam() == Engine::PostgreSQL && !TestStore::postgresAvailable())
            GTEST_SKIP() << "PostgreSQL not configured (LUNAWA_TEST_PG)";
        store = std::make_unique<TestStore>(GetParam(), false);
    }
    std::unique_ptr<TestStore> store;
};

TEST_P(DemoStoreTest, EveryChildIsChargedAndTheFirstMonthApproved)
{
    demo::DemoOptions options;
    options.today = QDate(2025, 3, 15);
    options.childrenPerGroup = 6;
    const demo::DemoSummary s = demo::createDemoStore(store->location(), options);
    EXPECT_TRUE(s.errors.isEmpty()) << s.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(s.remarks.isEmpty()) << s.remarks.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(s.firstMonth, QDate(2025, 1, 1));
    EXPECT_EQ(s.secondMonth, QDate(2025, 2, 1));

    auto db = store->connect();
    EXPECT_EQ(s.groups, 3);
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM KLASY WHERE KOD <> 0")), 3);
    EXPECT_EQ(s.children, 18);
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM DZIECI WHERE AKTYWNY = 'T' AND KLASA > 0")), 18);
    // The help centre named in the options is no child of any group.
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM DZIECI D, OPCJE O WHERE D.KOD = O.OPIE "
                                         "AND D.AKTYWNY = 'N' AND D.KLASA = 0")),
              1);

    // Every active child declares its times and has the stay and the meals;
    // the children enrolled in the class have its component too.
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM DZIECI D WHERE D.AKTYWNY = 'T' AND NOT EXISTS "
                                         "(SELECT 1 FROM DZIECZAS Z WHERE Z.OSOBA = D.KOD AND Z.CZASP < Z.CZASW)")),
              0);
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM DZIECI D WHERE D.AKTYWNY = 'T' AND "
                                         "(SELECT COUNT(*) FROM DZIEMED M WHERE M.OSOBA = D.KOD AND M.SPOSOB > 0 "
                                         "AND M.SPOROZ > 0) < 2")),
              0);
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM DZIEZAJ Z WHERE NOT EXISTS (SELECT 1 FROM DZIEMED M, "
                                         "MEDIA C WHERE M.OSOBA = Z.OSOBA AND M.MEDIUM = C.KOD AND C.NAZWA = 'Rytmika')")),
              0);
    EXPECT_GT(number(*db, QStringLiteral("SELECT COUNT(*) FROM DZIEZAJ")), 0);
    EXPECT_GT(number(*db, QStringLiteral("SELECT COUNT(*) FROM DZIEMED WHERE PROCOPIE > 0")), 0);
    for (const QString& table : {QStringLiteral("STAVAT"), QStringLiteral("TARMED"), QStringLiteral("SPOSOBY")})
        EXPECT_GT(number(*db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)), 0) << table.toStdString();

    Query pesels(*db, QStringLiteral("SELECT PESEL FROM DZIECI WHERE AKTYWNY = 'T'"));
    pesels.exec();
    while (pesels.next())
        EXPECT_TRUE(validPesel(pesels.value(0).toString())) << pesels.value(0).toString().toStdString();

    // The first month is approved, every line on an invoice; the second is
    // computed and settles the first.
    const int first = number(*db, QStringLiteral("SELECT KOD FROM MIESIACE WHERE ROK = 2025 AND MIES = 1"));
    const int second = number(*db, QStringLiteral("SELECT KOD FROM MIESIACE WHERE ROK = 2025 AND MIES = 2"));
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    EXPECT_EQ(s.attendanceRows, number(*db, QStringLiteral("SELECT COUNT(*) FROM OBECN")));
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM NALICZ WHERE KOD = %1 AND TYP = '0'").arg(first)), 0);
    EXPECT_GT(number(*db, QStringLiteral("SELECT COUNT(*) FROM NALICZ WHERE KOD = %1 AND TYP = '1'").arg(first)), 0);
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM NALICZ WHERE KOD = %1 AND TYP = '1' "
                                         "AND (IDF IS NULL OR LPF IS NULL)").arg(first)),
              0);
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM NALICZ WHERE KOD = %1 AND TYP = '1'").arg(second)), 0);
    EXPECT_GT(number(*db, QStringLiteral("SELECT COUNT(*) FROM NALICZ WHERE KOD = %1 AND DOT = -%2").arg(second).arg(first)), 0);
    // The child who joins on the 10th of the second month is charged from then only.
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM DZIECI D WHERE D.AKTYWNY = 'T' AND NOT EXISTS "
                                         "(SELECT 1 FROM NALICZ N WHERE N.OSOBA = D.KOD AND N.KOD = %1)").arg(first)),
              1);
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM DZIECI D WHERE D.AKTYWNY = 'T' AND NOT EXISTS "
                                         "(SELECT 1 FROM NALICZ N WHERE N.OSOBA = D.KOD AND N.KOD = %1 "
                                         "AND N.ROZLICZ = 'N')").arg(second)),
              0);
    EXPECT_EQ(s.invoices, number(*db, QStringLiteral("SELECT COUNT(*) FROM FAKT WHERE KOD = %1").arg(first)));
    EXPECT_EQ(s.payments, number(*db, QStringLiteral("SELECT COUNT(*) FROM WPLATY WHERE KOD = %1").arg(second)));
    EXPECT_GT(s.payments, 0);

    // The store is made once.
    EXPECT_THROW(demo::createDemoStore(store->location(), options), Error);
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM OBECN")), s.attendanceRows);
}

INSTANTIATE_ENGINES(DemoStoreTest);

TEST(DemoStore, TheSameSeedGivesTheSameKindergarten)
{
    TestStore a(Engine::SQLite, false), b(Engine::SQLite, false);
    demo::DemoOptions options;
    options.today = QDate(2025, 10, 2);
    const demo::DemoSummary sa = demo::createDemoStore(a.location(), options);
    const demo::DemoSummary sb = demo::createDemoStore(b.location(), options);
    EXPECT_EQ(sa.children, 60);
    EXPECT_EQ(sa.firstMonth, QDate(2025, 8, 1));
    auto rows = [](TestStore& s) {
        auto db = s.connect();
        QStringList out;
        for (const QString& sql :
             {QStringLiteral("SELECT KOD, NAZWA, ULICA, PESEL, KLASA FROM DZIECI ORDER BY KOD"),
              QStringLiteral("SELECT OSOBA, DATA, OBECNY, CZASP, CZASW FROM OBECN ORDER BY OSOBA, DATA"),
              QStringLiteral("SELECT KOD, TYP, OSOBA, MEDIUM, ILOSC, WARTOSC, DOT, IDF, LPF, VAT FROM NALICZ ORDER BY ID"),
              QStringLiteral("SELECT OSOBA, DATA, WARTOSC FROM WPLATY ORDER BY ID")}) {
            Query q(*db, sql);
            q.exec();
            while (q.next()) {
                QStringList cells;
                for (int c = 0; c < q.columnCount(); ++c)
                    cells << q.value(c).toString();
                out << cells.join(QLatin1Char('|'));
            }
        }
        return out;
    };
    const QStringList ra = rows(a);
    EXPECT_GT(ra.size(), 2000);
    EXPECT_EQ(ra, rows(b));
    EXPECT_EQ(sa.chargeLines, sb.chargeLines);
}

}  // namespace
