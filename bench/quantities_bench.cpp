// Quantities of every code for 1,000 children over March 2024, read in bulk
// from the month's store (declared times, two extra classes), with one
// month or three school years of attendance; beside the loader's own SQL
// read through the C API and the month's attendance read by one seek per child.

#include "batch_floors.h"
#include "bench_store.h"
#include "floor_report.h"

#include "attendance/free_days.h"
#include "fees/attendance_quantities.h"
#include "fees/quantity_data_loader.h"

namespace {

using namespace bench;

const QDate first(2024, 3, 1);
const QDate last(2024, 3, 31);

void floors(benchmark::State& state, BenchStore& s, const Samples& program)
{
    native::Connection& c = s.native();
    Samples loader;
    Samples seeks;
    for (int i = 0; i < floorRuns(program); ++i) {
        loader.time([&] { benchmark::DoNotOptimize(readQuantityRows(c, first, last)); });
        seeks.time([&] { benchmark::DoNotOptimize(readAttendanceBySeeks(c, first, last, s.shape().children)); });
    }
    reportProgram(state, program);
    reportFloor(state, "floor", program, loader);
    reportFloor(state, "seek", program, seeks);
}

void allCodes(benchmark::State& state, Engine engine, History history)
{
    BenchStore& s = batchStore(engine, history);
    Database& db = s.db();
    const fees::QuantitySettings settings;
    const attendance::FreeDays freeDays(QStringLiteral("2,3,9,10,16,17,23,24,30,31"));
    const fees::QuantityPeriod period = fees::QuantityPeriod::wholeMonth(2024, 3);
    const int children = s.shape().children;
    double checksum = 0;
    qsizetype problems = 0;
    Samples program;
    for (auto _ : state) {
        program.time([&] {
            const fees::QuantityData data = fees::loadQuantityData(db, period.monthFirst, period.monthLast);
            checksum = 0;
            problems = 0;
            for (int c = 1; c <= children; ++c) {
                fees::AttendanceQuantityProvider q(data, settings, c, freeDays, period);
                for (const QChar letter : QStringView(u"ABCDTNZXEFGHJKSUVW"))
                    checksum += q.simpleQuantity(letter);
                for (int k = 1; k <= 2; ++k) {
                    checksum += q.scheduledClasses(k) + q.classesDuringStay(k) + q.classesOnDaysPresent(k);
                    checksum += q.classAttendance(k, fees::PresenceMark::Present)
                        + q.classAttendance(k, fees::PresenceMark::Absent)
                        + q.classAttendance(k, fees::PresenceMark::NotifiedAbsence);
                }
                problems += q.problems().size();
            }
            benchmark::DoNotOptimize(checksum);
        });
    }
    floors(state, s, program);
    // The same on every store of the same month, whatever its history.
    state.counters["checksum"] = checksum;
    state.counters["problems"] = double(problems);
    state.SetItemsProcessed(state.iterations() * children);
}

// The bulk read alone, to see where the time goes.
void bulkRead(benchmark::State& state, Engine engine, History history)
{
    BenchStore& s = batchStore(engine, history);
    Samples program;
    for (auto _ : state)
        program.time([&] {
            const fees::QuantityData data = fees::loadQuantityData(s.db(), first, last);
            benchmark::DoNotOptimize(data.children.size());
        });
    floors(state, s, program);
}

const bool registered = [] {
    auto timing = [](benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMillisecond)->MinTime(1.0); };
    for (const History h : {History::Month, History::ThreeYears}) {
        registerOnEngines(std::string("QuantitiesAllCodes/") + historyName(h),
                          [h](benchmark::State& state, Engine e) { allCodes(state, e, h); }, timing);
        registerOnEngines(std::string("QuantitiesBulkRead/") + historyName(h),
                          [h](benchmark::State& state, Engine e) { bulkRead(state, e, h); }, timing);
    }
    return true;
}();

}  // namespace
