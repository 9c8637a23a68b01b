#include "bench_store.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

// The store needs an application object for its drivers, and printouts the
// GUI one for fonts (offscreen when there is no display).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    // Throwaway server databases go while the application still stands.
    bench::releaseStores();
    benchmark::Shutdown();
    return 0;
}
