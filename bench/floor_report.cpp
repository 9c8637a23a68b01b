#include "floor_report.h"

#include <algorithm>

namespace bench {

double Samples::min() const
{
    return m_ms.empty() ? 0 : *std::min_element(m_ms.begin(), m_ms.end());
}

double Samples::median() const
{
    if (m_ms.empty())
        return 0;
    std::vector<double> sorted = m_ms;
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

void reportProgram(benchmark::State& state, const Samples& program)
{
    state.counters["ms_min"] = program.min();
    state.counters["ms_med"] = program.median();
    if (program.tripsPerRun() > 0)
        state.counters["trips"] = program.tripsPerRun();
}

void reportFloor(benchmark::State& state, const std::string& name, const Samples& program, const Samples& floor)
{
    state.counters[name + "_ms"] = floor.median();
    if (floor.median() > 0)
        state.counters[name + "_x"] = program.median() / floor.median();
    if (floor.tripsPerRun() > 0)
        state.counters[name + "_trips"] = floor.tripsPerRun();
}

}  // namespace bench
