// One press of "OK" at the attendance terminal (code typed, child found,
// the log line, the checks, the saved row and the result text) on a store
// of 1,000 children with a year of daily attendance, declared times and
// limits; beside it the store's floor, one committed insert of such a row.

#include "bench_store.h"

#include "attendance/terminal_session.h"
#include "printouts/child_code.h"
#include "store/database.h"
#include "store/query.h"

#include <QDate>
#include <QTemporaryDir>
#include <QTime>
#include <benchmark/benchmark.h>

namespace {

constexpr int children = 1000;
constexpr int clientNumber = 57;
const QDate yearStart(2023, 9, 1);
const QDate yearEnd(2024, 8, 31);

Database& terminalStore()
{
    bench::StoreShape shape;
    shape.children = children;
    shape.groups = 2;
    shape.declaredTimes = true;
    shape.attendanceFrom = yearStart;
    shape.attendanceTo = yearEnd;
    return bench::store("terminal/sqlite", shape).db();
}

// Every press is a new child's first arrival of a day after the stored
// year, so it saves without a question, as most presses at the door do.
void BM_TerminalOk(benchmark::State& state)
{
    Database& db = terminalStore();
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
    Database& db = terminalStore();
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
