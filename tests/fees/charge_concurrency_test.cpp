// Charge runs and approvals started together on one store from several
// stations leave exactly what one of them alone leaves; a run that cannot
// get the store stops with the message and writes nothing.

#include "shell/register_fixture.h"

#include "browser/message_log.h"
#include "fees/charge_run.h"
#include "store/query.h"
#include "store/store_messages.h"

#include <latch>
#include <thread>

using namespace fees;

namespace {

constexpr int childCount = 40;
const QDate issued(2024, 3, 1);
const QDate due(2024, 3, 15);

// One station: its own connection, prompts and message window, on the
// thread that runs it.
ChargeRunResult runStation(const StoreLocation& location, ChargeOperation operation, std::latch* start)
{
    TDMBaza baza(location);
    baza.database().setCredentials({rights::masterCredential()});
    ScriptedPrompts prompts;
    AdoptingOpener opener;
    AreaRegistry areas;
    MessageLog log;
    RunContext context{baza, prompts, opener, areas, CurrentLogin{}, Parameters{}, Institution{}, RunSettings{}, nullptr};
    context.login.userCode = -1;
    context.login.functions = functions::allFunctionNames();
    context.login.visibleGroups = {QStringLiteral("-1")};
    context.params.sposobyJednolite = false;
    context.params.fakturyTytulem = QStringLiteral("Opłata za przedszkole");
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
    if (operation == ChargeOperation::Compute) {
        prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), -1);
    } else {
        prompts.expectDate(QStringLiteral("Zatwierdzanie opłat"), issued);
        prompts.expectDate(QStringLiteral("Zatwierdzanie opłat"), due);
        prompts.expectText(QStringLiteral("Zatwierdzanie opłat"), QStringLiteral("Wybierz opis faktur"),
                           context.params.fakturyTytulem);
    }
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz grupy"));
    if (start)
        start->arrive_and_wait();
    return runCharges(context, operation, 2024, 3, ChargeChildren::byGroups(), log);
}

class ChargeConcurrencyTest : public RegisterTest {
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        if (IsSkipped())
            return;
        exec(QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Biedronki', 1)"));
        const int group = Query(*db, QStringLiteral("SELECT MAX(KOD) FROM KLASY")).scalar().toInt();
        exec(QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2024, 3, '2,3,9,10,16,17,23,24,30')"));
        exec(QStringLiteral("INSERT INTO SPOSOBY (NAZWA, OPIS) VALUES ('22', '22')"));
        const int method = Query(*db, QStringLiteral("SELECT MAX(KOD) FROM SPOSOBY")).scalar().toInt();
        for (const char* name : {"Pobyt", "Wyżywienie"}) {
            Query(*db, QStringLiteral("INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES (:N, 1)")).bind(QStringLiteral("N"), QString::fromUtf8(name)).exec();
            const int component = Query(*db, QStringLiteral("SELECT MAX(KOD) FROM MEDIA")).scalar().toInt();
            Query(*db, QStringLiteral("INSERT INTO TARMED (TARYFA, MEDIUM, ODDATY, CENA, JM) VALUES (0, :M, :F, 12.5, 'dz')"))
                .bind(QStringLiteral("M"), component).bind(QStringLiteral("F"), QDate(2024, 1, 1)).exec();
            components << component;
        }
        Query child(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY) VALUES (:N, 'Polna 3', :K, 'T')"));
        Query assign(*db, QStringLiteral("INSERT INTO DZIEMED (OSOBA, MEDIUM, ODDATY, SPOSOB, SPOROZ) VALUES (:O, :M, :F, :S, 0)"));
        for (int i = 0; i < childCount; ++i) {
            child.bind(QStringLiteral("N"), QStringLiteral("Dziecko %1").arg(i, 2, 10, QLatin1Char('0')))
                .bind(QStringLiteral("K"), group).exec();
            const int code = Query(*db, QStringLiteral("SELECT MAX(KOD) FROM DZIECI")).scalar().toInt();
            for (const int component : std::as_const(components))
                assign.bind(QStringLiteral("O"), code).bind(QStringLiteral("M"), component)
                    .bind(QStringLiteral("F"), QDate(2024, 1, 1)).bind(QStringLiteral("S"), method).exec();
        }
    }

    void exec(const QString& sql) { Query(*db, sql).exec(); }

    // Every NALICZ row with the number of its invoice, and every invoice,
    // without the identities the engine hands out; one line each.
    std::string dump()
    {
        return rows().join(QLatin1Char('\n')).toStdString();
    }
    QStringList rows()
    {
        QStringList out;
        Query lines(*db, QStringLiteral("SELECT N.KOD, N.TYP, N.OSOBA, N.MEDIUM, N.ILOSC, N.CENA, N.WARTOSC, N.ROZLICZ, "
                                        "F.NUMER, N.LPF FROM NALICZ N LEFT JOIN FAKT F ON F.ID = N.IDF "
                                        "ORDER BY N.OSOBA, N.MEDIUM, N.TYP, N.ROZLICZ"));
        lines.exec();
        while (lines.next()) {
            QStringList r;
            for (int c = 0; c < 10; ++c)
                r << lines.value(c).toString();
            out << QStringLiteral("NALICZ ") + r.join(QLatin1Char('|'));
        }
        Query invoices(*db, QStringLiteral("SELECT KOD, NUMER, OSOBA, WYST, TERMIN, TYTUL FROM FAKT ORDER BY KOD, NUMER, OSOBA"));
        invoices.exec();
        while (invoices.next()) {
            QStringList r;
            for (int c = 0; c < 6; ++c)
                r << invoices.value(c).toString();
            out << QStringLiteral("FAKT ") + r.join(QLatin1Char('|'));
        }
        return out;
    }

    // Both operations started at once on two stations.
    std::pair<ChargeRunResult, ChargeRunResult> together(ChargeOperation first, ChargeOperation second)
    {
        std::latch start(2);
        ChargeRunResult a, b;
        std::thread one([&] { a = runStation(store->location(), first, &start); });
        std::thread two([&] { b = runStation(store->location(), second, &start); });
        one.join();
        two.join();
        return {a, b};
    }

    QList<int> components;
};

TEST_P(ChargeConcurrencyTest, RunsStartedTogetherLeaveWhatOneRunLeaves)
{
    // What one computation and one approval leave.
    ASSERT_TRUE(runStation(store->location(), ChargeOperation::Compute, nullptr).completed);
    const std::string computed = dump();
    ASSERT_EQ(rows().size(), childCount * 2);
    ASSERT_TRUE(runStation(store->location(), ChargeOperation::Approve, nullptr).completed);
    const std::string approved = dump();
    ASSERT_EQ(rows().size(), childCount * 3);  // one invoice a child

    exec(QStringLiteral("DELETE FROM NALICZ"));
    exec(QStringLiteral("DELETE FROM FAKT"));
    auto [c1, c2] = together(ChargeOperation::Compute, ChargeOperation::Compute);
    EXPECT_TRUE(c1.completed && c2.completed) << c1.stopError.toStdString() << c2.stopError.toStdString();
    EXPECT_EQ(dump(), computed);

    auto [a1, a2] = together(ChargeOperation::Approve, ChargeOperation::Approve);
    EXPECT_TRUE(a1.completed && a2.completed) << a1.stopError.toStdString() << a2.stopError.toStdString();
    EXPECT_EQ(dump(), approved);

    // A computation beside an approval: whichever goes first, the lines
    // computed before end approved once, on one invoice a child.
    exec(QStringLiteral("DELETE FROM NALICZ"));
    exec(QStringLiteral("DELETE FROM FAKT"));
    ASSERT_TRUE(runStation(store->location(), ChargeOperation::Compute, nullptr).completed);
    auto [m1, m2] = together(ChargeOperation::Compute, ChargeOperation::Approve);
    EXPECT_TRUE(m1.completed && m2.completed) << m1.stopError.toStdString() << m2.stopError.toStdString();
    EXPECT_EQ(dump(), approved);
}

TEST_P(ChargeConcurrencyTest, ARunThatCannotGetTheStoreStopsAndWritesNothing)
{
    StoreLocation impatient = store->location();
    impatient.lockTimeoutMs = 300;
    db->begin();  // another station's batch holds the store
    for (const ChargeOperation operation : {ChargeOperation::Compute, ChargeOperation::Approve}) {
        const ChargeRunResult r = runStation(impatient, operation, nullptr);
        EXPECT_FALSE(r.completed);
        EXPECT_EQ(r.stopError, stoppedRunMessage(storemsg::busy()));
    }
    db->rollback();
    EXPECT_EQ(dump(), "");
}

INSTANTIATE_ENGINES(ChargeConcurrencyTest);

}  // namespace
