#pragma once
// Timing a batch beside its floor in the same run: each figure is kept per
// run, and the benchmark's counters show the program's minimum and median,
// each floor's median and the ratio of the medians, side by side.

#include "pg_round_trips.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

namespace bench {

class Samples {
public:
    template <class F>
    void time(F&& f)
    {
        const long long trips = pgRoundTrips();
        const auto start = std::chrono::steady_clock::now();
        f();
        m_ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        m_trips += pgRoundTrips() - trips;
    }
    bool empty() const { return m_ms.empty(); }
    size_t size() const { return m_ms.size(); }
    double min() const;
    double median() const;
    // PostgreSQL statements sent per run.
    double tripsPerRun() const { return m_ms.empty() ? 0 : double(m_trips) / double(m_ms.size()); }

private:
    std::vector<double> m_ms;
    long long m_trips = 0;
};

// ms_min, ms_med: the program; trips: its statements per run on a server.
void reportProgram(benchmark::State& state, const Samples& program);
// <name>_ms: the floor's median; <name>_x: the program's median over it;
// <name>_trips: the floor's statements per run on a server.
void reportFloor(benchmark::State& state, const std::string& name, const Samples& program, const Samples& floor);

// How often to measure a floor: as often as the program ran, at least five times.
inline int floorRuns(const Samples& program)
{
    return program.size() < 5 ? 5 : int(program.size());
}

}  // namespace bench
