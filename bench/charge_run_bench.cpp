// The month's charge run: computing March 2024 for 1,000 children with 6
// fee components each, from daily attendance with times, settling February
// (whose lines were approved); then approving those lines with invoices.
// Each beside its floor: the same rows read and written through the C API.

#include "batch_floors.h"
#include "bench_store.h"
#include "floor_report.h"

#include "browser/message_log.h"
#include "fees/charge_run.h"
#include "store/query.h"

#include <QFile>

namespace {

using namespace bench;

fees::ChargeRunResult run(BenchStore& s, fees::ChargeOperation operation)
{
    MessageLog log;
    return fees::runCharges(s.context(), operation, 2024, 3, fees::ChargeChildren::byGroups(), log);
}

int count(BenchStore& s, const QString& sql, int month)
{
    return Query(s.db(), sql).bind(QStringLiteral("K"), month).scalar().toInt();
}

void undoProgramApproval(BenchStore& s, int month)
{
    Database& db = s.db();
    db.batch([&] {
        Query(db, QStringLiteral("UPDATE NALICZ SET TYP = '0', IDF = NULL, LPF = NULL WHERE KOD = :K"))
            .bind(QStringLiteral("K"), month)
            .exec();
        Query(db, QStringLiteral("DELETE FROM FAKT WHERE KOD = :K")).bind(QStringLiteral("K"), month).exec();
    });
}

// A server keeps the row versions a batch replaced until a vacuum. A store
// works on after its autovacuum, not after dozens of runs in a minute, and
// the program and its floor should meet the same table.
void vacuumLines(BenchStore& s)
{
    if (s.shape().engine == Engine::PostgreSQL)
        s.native().exec("VACUUM NALICZ, FAKT");
}

void compute(benchmark::State& state, Engine engine, History history)
{
    BenchStore& s = batchStore(engine, history);
    const int march = s.monthCode(2024, 3);
    const int february = s.monthCode(2024, 2);
    undoProgramApproval(s, march);
    Samples program;
    for (auto _ : state) {
        state.PauseTiming();
        vacuumLines(s);
        state.ResumeTiming();
        fees::ChargeRunResult r;
        program.time([&] { r = run(s, fees::ChargeOperation::Compute); });
        if (!r.completed) {
            state.SkipWithError(r.stopError.toStdString().c_str());
            return;
        }
    }
    // The floor writes the very lines the program wrote.
    native::Connection& c = s.native();
    const ChargeLines lines = ChargeLines::of(c, march);
    Samples full;
    Samples inserts;
    for (int i = 0; i < floorRuns(program); ++i) {
        vacuumLines(s);
        full.time([&] { computeFloor(c, march, february, QDate(2024, 3, 1), lines); });
        c.begin();
        deleteComputed(c, march);
        c.commit();
        vacuumLines(s);
        inserts.time([&] {
            c.begin();
            insertLines(c, lines);
            c.commit();
        });
    }
    reportProgram(state, program);
    reportFloor(state, "floor", program, full);
    reportFloor(state, "insert", program, inserts);
    if (engine == Engine::PostgreSQL) {
        Samples copies;
        for (int i = 0; i < floorRuns(program); ++i) {
            c.begin();
            deleteComputed(c, march);
            c.commit();
            vacuumLines(s);
            copies.time([&] {
                c.begin();
                copyLines(c, lines);
                c.commit();
            });
        }
        reportFloor(state, "copy", program, copies);
    }
    // The same on every store of the month, whatever its history or engine.
    state.counters["lines"] = double(lines.rows.size());
    state.counters["value"] =
        double(c.scalar("SELECT ROUND(SUM(WARTOSC) * 100) FROM NALICZ WHERE KOD = ? AND TYP = '0'", {(long long)march})) / 100;
    state.SetItemsProcessed(state.iterations() * s.shape().children);
}

void approve(benchmark::State& state, Engine engine)
{
    BenchStore& s = batchStore(engine, History::Month);
    const int march = s.monthCode(2024, 3);
    undoProgramApproval(s, march);
    if (!run(s, fees::ChargeOperation::Compute).completed) {
        state.SkipWithError("compute failed");
        return;
    }
    Samples program;
    for (auto _ : state) {
        state.PauseTiming();
        undoProgramApproval(s, march);
        vacuumLines(s);
        state.ResumeTiming();
        fees::ChargeRunResult r;
        program.time([&] { r = run(s, fees::ChargeOperation::Approve); });
        if (!r.completed) {
            state.SkipWithError(r.stopError.toStdString().c_str());
            return;
        }
    }
    state.counters["invoices"] = count(s, QStringLiteral("SELECT COUNT(*) FROM FAKT WHERE KOD = :K"), march);
    state.counters["approved"] = count(s, QStringLiteral("SELECT COUNT(*) FROM NALICZ WHERE KOD = :K AND TYP = '1'"), march);
    native::Connection& c = s.native();
    const Approval approval = Approval::of(c, march);
    Samples floor;
    for (int i = 0; i < floorRuns(program); ++i) {
        undoApproval(c, march);
        vacuumLines(s);
        floor.time([&] { approvalFloor(c, march, approval); });
    }
    reportProgram(state, program);
    reportFloor(state, "floor", program, floor);
    state.SetItemsProcessed(state.iterations() * s.shape().children);
}

void describeMachine()
{
    QFile cpu(QStringLiteral("/proc/cpuinfo"));
    if (cpu.open(QIODevice::ReadOnly))
        for (const QByteArray& line : cpu.readAll().split('\n'))
            if (line.startsWith("model name")) {
                benchmark::AddCustomContext("cpu", line.mid(line.indexOf(':') + 2).toStdString());
                break;
            }
}

const bool registered = [] {
    describeMachine();
    auto timing = [](benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMillisecond)->MinTime(2.0); };
    for (const History h : {History::Month, History::ThreeYears})
        registerOnEngines(std::string("ChargeRunCompute/") + historyName(h),
                          [h](benchmark::State& state, Engine e) { compute(state, e, h); }, timing);
    registerOnEngines("ChargeRunApprove", approve, timing);
    return true;
}();

}  // namespace
