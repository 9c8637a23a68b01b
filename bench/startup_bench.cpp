// Start-up to the login dialog: the desktop program `lunawa` (beside this
// binary) started again and again on a demonstration store, each run ended
// by the program itself once its login dialog is on the screen. The time is
// taken from just before the process is started to the dialog's milestone
// on its stderr, so it includes loading the libraries; the program's own
// milestones (milliseconds since its code began to run) show where the time
// goes.
//
// The program finds the store through the machine-wide alias, which a
// temporary configuration folder sets here; the user's settings go to a
// temporary home, so nothing of the user's own is read or written.

#include "shell/demo_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kLoginMilestone = "login dialog on screen";

struct StartupFixture {
    QTemporaryDir dir;
    QProcessEnvironment environment;
    QString program;
    QString error;

    StartupFixture()
    {
        program = QCoreApplication::applicationDirPath() + QStringLiteral("/lunawa");
        if (!QFile::exists(program)) {
            error = "lunawa is not built beside lunawa_bench";
            return;
        }
        const QString store = dir.filePath(QStringLiteral("Baza"));
        try {
            demo::createDemoStore(StoreLocation::parse(store));
        } catch (...) {
            error = "the demonstration store could not be made";
            return;
        }
        const QString machine = dir.filePath(QStringLiteral("xdg"));
        QDir().mkpath(machine + QStringLiteral("/Vendrix"));
        {
            QSettings alias(machine + QStringLiteral("/Vendrix/Lunawa.conf"), QSettings::IniFormat);
            alias.setValue(QStringLiteral("Lunawa/store"), store);
        }
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), machine);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("home/.config")));
        environment.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
        environment.insert(QStringLiteral("LUNAWA_STARTUP_TRACE"), QStringLiteral("1"));
        environment.insert(QStringLiteral("LUNAWA_STARTUP_QUIT"), QStringLiteral("1"));
        // This binary paints offscreen when it has no display; the program
        // goes to the X display when there is one, unless told otherwise.
        const QString platform = qEnvironmentVariable("LUNAWA_BENCH_STARTUP_PLATFORM");
        if (!platform.isEmpty())
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        else if (!qEnvironmentVariableIsEmpty("DISPLAY"))
            environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        else
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
};

StartupFixture& fixture()
{
    static StartupFixture f;
    return f;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// One start: the time to the login dialog seen from outside, and the
// program's own milestones with its main thread's processor time at each;
// false when the dialog never came.
bool startOnce(StartupFixture& f, double& outside, std::map<std::string, double>& milestones,
               std::map<std::string, double>& cpu, QString& why)
{
    QProcess p;
    p.setWorkingDirectory(f.dir.path());
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.setReadChannel(QProcess::StandardError);
    QProcessEnvironment environment = f.environment;
    // The program counts its milestones from here: the same clock in both.
    const auto origin = std::chrono::steady_clock::now();
    environment.insert(QStringLiteral("LUNAWA_STARTUP_ORIGIN"),
                       QString::number(std::chrono::duration_cast<std::chrono::nanoseconds>(origin.time_since_epoch()).count()));
    p.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    p.start(f.program, {});
    QByteArray text;
    bool seen = false;
    while (!seen && clock.elapsed() < 20000) {
        if (!p.waitForReadyRead(20000 - int(clock.elapsed())) && p.state() == QProcess::NotRunning)
            break;
        // Read at once: the time is taken when the line arrives.
        const double at = double(clock.nsecsElapsed()) / 1e6;
        text += p.readAllStandardError();
        if (text.contains(kLoginMilestone)) {
            outside = at;
            seen = true;
        }
    }
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished();
    }
    text += p.readAllStandardError();
    if (!seen) {
        why = QString::fromLocal8Bit(text.right(400));
        return false;
    }
    // "lunawa-startup <ms> <cpu ms> <milestone>"
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> parts = line.trimmed().split(' ');
        if (parts.size() < 4 || parts[0] != "lunawa-startup")
            continue;
        const std::string name = parts.mid(3).join(' ').toStdString();
        milestones[name] = parts[1].toDouble();
        cpu[name] = parts[2].toDouble();
    }
    return true;
}

void startupToLogin(benchmark::State& state)
{
    StartupFixture& f = fixture();
    if (!f.error.isEmpty()) {
        static std::string message;
        message = f.error.toStdString();
        state.SkipWithError(message.c_str());
        return;
    }
    std::vector<double> outside;
    std::map<std::string, std::vector<double>> inside;
    std::map<std::string, std::vector<double>> processor;
    for (auto _ : state) {
        double ms = 0;
        std::map<std::string, double> milestones;
        std::map<std::string, double> cpu;
        QString why;
        if (!startOnce(f, ms, milestones, cpu, why)) {
            static std::string message;
            message = ("no login dialog: " + why).toStdString();
            state.SkipWithError(message.c_str());
            return;
        }
        outside.push_back(ms);
        for (const auto& [name, at] : milestones)
            inside[name].push_back(at);
        for (const auto& [name, used] : cpu)
            processor[name].push_back(used);
        // The program's own time, not its ending, is what is measured.
        state.SetIterationTime(ms / 1000.0);
    }
    state.counters["ms_min"] = *std::min_element(outside.begin(), outside.end());
    state.counters["ms_med"] = median(outside);
    // The program's milestones, counted from the start of the process.
    const std::pair<const char*, const char*> shown[] = {
        {"main_ms", "main"},
        {"app_ms", "application made"},
        {"window_ms", "main window made"},
        {"shown_ms", "main window shown"},
        {"exposed_ms", "main window exposed"},
        {"login_ms", kLoginMilestone},
        {"store_ms", "store opened"},
    };
    for (const auto& [counter, milestone] : shown)
        if (inside.count(milestone))
            state.counters[counter] = median(inside[milestone]);
    // The main thread's processor time, which a busy machine does not
    // inflate: before main() (loading the libraries) and up to the dialog.
    if (processor.count("main"))
        state.counters["cpu_main_ms"] = median(processor["main"]);
    if (processor.count(kLoginMilestone))
        state.counters["cpu_login_ms"] = median(processor[kLoginMilestone]);
}

const bool registered = [] {
    const int runs = qEnvironmentVariableIntValue("LUNAWA_BENCH_STARTUP_RUNS");
    benchmark::RegisterBenchmark("StartupToLogin", startupToLogin)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(runs > 0 ? runs : 20);
    return true;
}();

}  // namespace
