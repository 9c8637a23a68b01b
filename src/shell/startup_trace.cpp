#include "startup_trace.h"

#include <QtGlobal>

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

using Clock = std::chrono::steady_clock;

// Taken during static initialisation, before main(), so that the time the
// application object takes to connect to the display is counted too. A
// launcher that wants the time from the process's start passes its own
// reading of the same clock in LUNAWA_STARTUP_ORIGIN (nanoseconds).
Clock::time_point startOfRun()
{
    bool ok = false;
    const qlonglong origin = qEnvironmentVariable("LUNAWA_STARTUP_ORIGIN").toLongLong(&ok);
    if (ok && origin > 0)
        return Clock::time_point(std::chrono::nanoseconds(origin));
    return Clock::now();
}

const Clock::time_point origin = startOfRun();

}  // namespace

namespace startup {

bool tracing()
{
    static const bool on = qEnvironmentVariableIntValue("LUNAWA_STARTUP_TRACE") != 0;
    return on;
}

bool quitAtLogin()
{
    static const bool on = qEnvironmentVariableIntValue("LUNAWA_STARTUP_QUIT") != 0;
    return on;
}

double cpuMs()
{
#if defined(CLOCK_THREAD_CPUTIME_ID)
    timespec t{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t) == 0)
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
#endif
    return 0;
}

double elapsedMs()
{
    return std::chrono::duration<double, std::milli>(Clock::now() - origin).count();
}

void mark(const char* milestone)
{
    if (!tracing())
        return;
    std::fprintf(stderr, "lunawa-startup %.1f %.1f %s\n", elapsedMs(), cpuMs(), milestone);
    std::fflush(stderr);
}

}  // namespace startup
