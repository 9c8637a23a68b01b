// One press of "OK" at the attendance terminal (code typed, child found,
// the log line, the checks, the saved row and the result text) on a store
// of 1,000 children with a year of daily attendance, declared times and
// limits; beside it the store's floor, one committed insert of such a row.

#include "attendance/terminal_session.h"
#include "printouts/child_code.h"
#include "store/database.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/store_creator.h"

#include <QDate>
#include <QTemporaryDir>
#include <QTime>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int children = 1000;
constexpr int clientNumber = 57;
const QDate yearStart(2023, 9, 1);
const QDate yearEnd(2024, 8, 31);

struct TerminalStore {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    TerminalStore()
    {
        const StoreLocation loc = StoreLocation::parse(dir.path() + QStringLiteral("/Baza"));
        store::create(loc, InstitutionData{});
        db = std::make_unique<Database>(loc);
        db->open();
        db->setCredentials({rights::masterCredential()});
        fill(*db);
    }

    static void fill(Database& db)
    {
        auto sql = [&](const QString& text) { Query(db, text).exec(); };
        db.batch([&] {
            sql(QStringLiteral("INSERT INTO KLASY (KOD, NAZWA, KOLEJ) VALUES (1, 'Motylki', 1), (2, 'Biedronki', 2)"));
            sql(QStringLiteral("INSERT INTO CZASGRAN (ODDATY, CZASPD, CZASPG, CZASWD, CZASWG) VALUES "
                               "('2023-09-01', '06:30', '09:00', '13:00', '17:00')"));
            Query child(db, QStringLiteral("INSERT INTO DZIECI (KOD, NAZWA, ULICA, KLASA) VALUES (:K, :N, 'Lipowa 1', :G)"));
            Query declared(db, QStringLiteral("INSERT INTO DZIECZAS (OSOBA, ODDATY, CZASP, CZASW) VALUES (:O, :D, '07:30', '15:00')"));
            Query day(db, QStringLiteral("INSERT INTO OBECN (OSOBA, DATA, OBECNY, CZASP, CZASW) VALUES (:O, :D, 'T', :P, :W)"));
            for (int c = 1; c <= children; ++c) {
                child.bind(QStringLiteral("K"), c).bind(QStringLiteral("N"), QStringLiteral("Dziecko %1").arg(c))
                    .bind(QStringLiteral("G"), 1 + c % 2).exec();
                declared.bind(QStringLiteral("O"), c).bind(QStringLiteral("D"), yearStart).exec();
                for (QDate d = yearStart; d <= yearEnd; d = d.addDays(1)) {
                    if (d.dayOfWeek() > 5)
                        continue;
                    const int k = (c + d.day()) % 10;
                    day.bind(QStringLiteral("O"), c).bind(QStringLiteral("D"), d)
                        .bind(QStringLiteral("P"), QTime(7, 15 + k * 3)).bind(QStringLiteral("W"), QTime(15, 10 + k * 4))
                        .exec();
                }
            }
        });
    }
};

TerminalStore& terminalStore()
{
    static TerminalStore s;
    return s;
}

// Every press is a new child's first arrival of a day after the stored
// year, so it saves without a question, as most presses at the door do.
void BM_TerminalOk(benchmark::State& state)
{
    Database& db = *terminalStore().db;
    QTemporaryDir logs;
    // Working days only (a new store's months list their weekends as free),
    // and never one an earlier run of this benchmark has filled.
    static QDate nextDay(2024, 9, 2);
    QDateTime now(nextDay, QTime(7, 20));
    terminal::TerminalSetup setup;
    setup.db = &db;
    setup.clientNumber = clientNumber;
    setup.minuteStep = 5;
    setup.clock = [&] { return now; };
    setup.logFolder = logs.path();
    terminal::AttendanceTerminal term(setup);
    term.tick();
    QStringList codes;
    for (int c = 1; c <= children; ++c)
        codes << printouts::childCode(clientNumber, c);
    int i = 0;
    qsizetype written = 0;
    for (auto _ : state) {
        term.setCode(codes[i % children]);
        term.pressOk();
        if (term.question().isOpen())
            state.SkipWithError(term.question().text.toStdString().c_str());
        written += term.lastWritten();
        benchmark::DoNotOptimize(term.result());
        if (++i % children == 0) {
            now = now.addDays(1);
            while (now.date().dayOfWeek() > 5)
                now = now.addDays(1);
        }
    }
    nextDay = now.date().addDays(1);
    while (nextDay.dayOfWeek() > 5)
        nextDay = nextDay.addDays(1);
    state.counters["written"] = double(written);
}
BENCHMARK(BM_TerminalOk)->Unit(benchmark::kMillisecond);

// The floor: one committed insert of a day's row.
void BM_TerminalFloor(benchmark::State& state)
{
    Database& db = *terminalStore().db;
    QDate day = yearEnd.addDays(400);
    int i = 0;
    Query insert(db, QStringLiteral("INSERT INTO OBECN (OSOBA, DATA, OBECNY, CZASP) VALUES (:O, :D, 'T', '07:20')"));
    for (auto _ : state) {
        insert.bind(QStringLiteral("O"), 1 + i % children).bind(QStringLiteral("D"), day).exec();
        if (++i % children == 0)
            day = day.addDays(1);
    }
}
BENCHMARK(BM_TerminalFloor)->Unit(benchmark::kMillisecond);

}  // namespace
