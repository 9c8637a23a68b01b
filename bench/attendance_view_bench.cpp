// The attendance window's month view of March 2024 for 1,000 children: the
// data it reads whenever the view is rebuilt, with one month or three
// school years of attendance in the store, beside the same reads through
// the C API.

#include "batch_floors.h"
#include "bench_store.h"
#include "floor_report.h"

#include "attendance/obecn_data.h"

namespace {

using namespace bench;

void monthView(benchmark::State& state, Engine engine, History history)
{
    BenchStore& s = batchStore(engine, history);
    RunContext& context = s.context();
    obecn::ViewState view;
    view.day = QDate(2024, 3, 15);
    view.monthView = true;
    QList<int> listed;
    for (int c = 1; c <= s.shape().children; ++c)
        listed << c;
    qsizetype rows = 0;
    Samples program;
    for (auto _ : state)
        program.time([&] {
            const obecn::ViewData data = obecn::loadViewData(context, view, listed, 10);
            rows = 0;
            for (const int c : listed)
                if (const fees::ChildRows* child = data.child(c))
                    rows += child->attendance.size();
        });
    native::Connection& c = s.native();
    Samples floor;
    for (int i = 0; i < floorRuns(program); ++i)
        floor.time([&] { benchmark::DoNotOptimize(readMonthView(c, view.day)); });
    reportProgram(state, program);
    reportFloor(state, "floor", program, floor);
    state.counters["rows"] = double(rows);
}

const bool registered = [] {
    for (const History h : {History::Month, History::ThreeYears})
        registerOnEngines(std::string("AttendanceMonthView/") + historyName(h),
                          [h](benchmark::State& state, Engine e) { monthView(state, e, h); },
                          [](benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMillisecond)->MinTime(1.0); });
    return true;
}();

}  // namespace
