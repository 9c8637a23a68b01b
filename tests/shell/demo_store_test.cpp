// The demonstration store: a kindergarten whose every child can be charged,
// months computed and approved without a data problem, and the same store
// for the same seed.

#include "shell/demo_store.h"

#include "browser/area_registry.h"
#include "browser/message_log.h"
#include "browser/run_context.h"
#include "communication/reminders.h"
#include "fees/charge_run.h"
#include "printouts/print_template.h"
#include "shell/function_names.h"
#include "store/error.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/tdm_baza.h"
#include "support/recording_opener.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

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

// Around the current month the rows hang together the way the windows
// need them, and the user can go on with the next charge run.
TEST_P(DemoStoreTest, TheCurrentMonthHasEveryRegisterFilledAndCanBeCharged)
{
    demo::DemoOptions options;
    options.today = QDate(2025, 3, 13);  // a Thursday
    options.childrenPerGroup = 6;
    demo::createDemoStore(store->location(), options);
    auto db = store->connect();
    for (const QString& table :
         {QStringLiteral("NALKLA"), QStringLiteral("NALDOD"), QStringLiteral("ZGLOSZ"), QStringLiteral("TERMINY"),
          QStringLiteral("TERMWYK"), QStringLiteral("POSILKI"), QStringLiteral("PRZEDLOGI"), QStringLiteral("ZAJODB"),
          QStringLiteral("ZAJOBEC")})
        EXPECT_GT(number(*db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)), 0) << table.toStdString();

    // The current month's register runs until yesterday.
    EXPECT_GT(number(*db, QStringLiteral("SELECT COUNT(*) FROM OBECN WHERE DATA = '2025-03-12'")), 0);
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM OBECN WHERE DATA >= '2025-03-13'")), 0);
    // Held classes fall on the timetable's weekday and mark declared
    // children only, present only when the register has them present.
    Query held(*db, QStringLiteral("SELECT DATA FROM ZAJODB"));
    held.exec();
    while (held.next())
        EXPECT_EQ(QDate::fromString(held.value(0).toString().left(10), Qt::ISODate).dayOfWeek(), 2);
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM ZAJOBEC B WHERE NOT EXISTS (SELECT 1 FROM DZIEZAJ Z "
                                         "WHERE Z.OSOBA = B.OSOBA) OR NOT EXISTS (SELECT 1 FROM ZAJODB O "
                                         "WHERE O.ID = B.ID AND O.KLASA IS NULL AND B.KLASA IS NULL)")),
              0);
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM ZAJOBEC B, ZAJODB O WHERE O.ID = B.ID "
                                         "AND B.OBECNY = 'T' AND NOT EXISTS (SELECT 1 FROM OBECN A WHERE "
                                         "A.OSOBA = B.OSOBA AND A.DATA = O.DATA AND A.OBECNY = 'T')")),
              0);
    // A child pays a group's charge only in that group; the grid shows
    // charges of the last 62 days at first.
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM NALDOD P, NALKLA C, DZIECI D WHERE P.KLASA = C.KLASA "
                                         "AND P.KOD = C.KOD AND P.OSOBA = D.KOD AND D.KLASA <> C.KLASA")),
              0);
    EXPECT_GT(number(*db, QStringLiteral("SELECT COUNT(*) FROM NALKLA WHERE DATA >= '2025-01-10'")), 2);
    // Logins are of the administrator or of children with a password.
    EXPECT_EQ(number(*db, QStringLiteral("SELECT COUNT(*) FROM PRZEDLOGI L WHERE L.KON <> 0 AND NOT EXISTS "
                                         "(SELECT 1 FROM DZIECI D WHERE D.KOD = L.KON AND D.HASLO IS NOT NULL)")),
              0);
    printouts::PrintTemplate card;
    card.load(Query(*db, QStringLiteral("SELECT DANE FROM SZABLONY WHERE TYP = '1' AND NAZWA = "
                                        "'Legitymacja przedszkolaka'")).scalar().toString());
    EXPECT_EQ(card.columns, 2);
    EXPECT_TRUE(std::any_of(card.elements.cbegin(), card.elements.cend(),
                            [](const printouts::TemplateElement& e) { return e.keepsOwnCharset(); }));

    TDMBaza baza(store->location());
    baza.database().setCredentials({rights::masterCredential()});
    baza.setSystemDate(options.today);
    ScriptedPrompts prompts;
    RecordingOpener opener;
    AreaRegistry areas;
    MessageLog log;
    RunContext context{baza, prompts, opener, areas, CurrentLogin{}, Parameters{}, Institution{}, RunSettings{}, &log};
    context.login.userCode = number(*db, QStringLiteral("SELECT KOD FROM UZYT WHERE NAZWA = 'admin'"));
    context.login.functions = functions::allFunctionNames();
    context.login.visibleGroups = {QStringLiteral("-1")};
    context.params.load(baza.database());

    // The reminders hold the open requests, a coming and a missed deadline.
    QStringList kinds;
    for (const reminders::Entry& e : reminders::collect(baza.database(), context.login, options.today))
        kinds << e.text.section(QLatin1Char(' '), 0, 0);
    EXPECT_EQ(kinds.count(QStringLiteral("Zgłoszenie")), 3) << kinds.join(QLatin1Char(',')).toStdString();
    EXPECT_GE(kinds.count(QStringLiteral("Nadchodzący")), 1);
    EXPECT_EQ(kinds.count(QStringLiteral("Niewykonany")), 1);

    // February approved, then March computed, settling February.
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
    prompts.expectDate(QStringLiteral("Zatwierdzanie opłat"), QDate(2025, 3, 1));
    prompts.expectDate(QStringLiteral("Zatwierdzanie opłat"), QDate(2025, 3, 14));
    prompts.expectText(QStringLiteral("Zatwierdzanie opłat"), QStringLiteral("Wybierz opis faktur"),
                       QStringLiteral("Opłata za przedszkole"));
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz grupy"));
    EXPECT_TRUE(fees::runCharges(context, fees::ChargeOperation::Approve, 2025, 2, fees::ChargeChildren::byGroups(), log)
                    .completed);
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
    prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), -1);
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz grupy"));
    const fees::ChargeRunResult march =
        fees::runCharges(context, fees::ChargeOperation::Compute, 2025, 3, fees::ChargeChildren::byGroups(), log);
    EXPECT_TRUE(march.completed) << march.stopError.toStdString();
    EXPECT_TRUE(march.errors.isEmpty()) << march.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(march.remarks.isEmpty()) << march.remarks.join(QLatin1Char('\n')).toStdString();
    const int marchKod = number(*db, QStringLiteral("SELECT KOD FROM MIESIACE WHERE ROK = 2025 AND MIES = 3"));
    EXPECT_GT(number(*db, QStringLiteral("SELECT COUNT(*) FROM NALICZ WHERE KOD = %1 AND TYP = '0' AND ROZLICZ = 'N'")
                              .arg(marchKod)),
              0);
    EXPECT_GT(number(*db, QStringLiteral("SELECT COUNT(*) FROM NALICZ WHERE KOD = %1 AND DOT < 0").arg(marchKod)), 0);
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
