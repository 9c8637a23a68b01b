#pragma once
// The stores the benchmarks run on: a new store on SQLite (a temporary
// folder) or PostgreSQL (a throwaway database on the server LUNAWA_BENCH_PG
// names, dropped afterwards), filled with N children and what a month's
// batches read: fee components, declared times, extra classes, daily
// attendance over any span. Every benchmark fills its store here, so the
// figures of different benchmarks describe the same data.

#include "native_store.h"

#include "browser/area_registry.h"
#include "shell/option_prompts.h"
#include "store/database.h"
#include "store/store_location.h"
#include "store/tdm_baza.h"

#include <QDate>
#include <QString>
#include <QTemporaryDir>
#include <QTextStream>
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

struct RunContext;

namespace bench {

struct StoreShape {
    Engine engine = Engine::SQLite;
    int children = 1000;
    int groups = 1;        // child c is in group 1 + c % groups
    // Fee components, each with its two methods and a price, assigned to
    // every child; with months, February 2024's lines come approved.
    int components = 0;
    bool months = false;   // February and March 2024 with their free days
    bool helpCentre = false;  // a payer beside the children (invoicing)
    QDate attendanceFrom;  // daily attendance on working days, none when invalid
    QDate attendanceTo;
    bool declaredTimes = false;  // from attendanceFrom, changed on 11 March 2024
    bool extraClasses = false;   // two classes, held through March 2024
};

// A store of this shape, cached per name for the whole run (filling is slow).
class BenchStore {
public:
    explicit BenchStore(const StoreShape& shape);
    ~BenchStore();
    BenchStore(const BenchStore&) = delete;
    BenchStore& operator=(const BenchStore&) = delete;

    const StoreShape& shape() const { return m_shape; }
    const StoreLocation& location() const { return m_location; }
    TDMBaza& baza() { return *m_baza; }
    Database& db() { return m_baza->database(); }
    // A second connection past the program, for floors and bulk rows.
    native::Connection& native();
    // A run as the headless front makes it: every question answered by
    // its preset, the master login seeing every group.
    RunContext& context();

    int monthCode(int year, int month);

private:
    void create();
    void fill();

    StoreShape m_shape;
    QTemporaryDir m_dir;
    std::string m_adminInfo;  // PostgreSQL: the server, to drop the database
    std::string m_pgDatabase;
    StoreLocation m_location;
    std::unique_ptr<TDMBaza> m_baza;
    std::unique_ptr<native::Connection> m_native;
    QString m_out, m_err;
    QTextStream m_outStream{&m_out}, m_errStream{&m_err};
    std::unique_ptr<OptionPrompts> m_prompts;
    std::unique_ptr<WindowOpener> m_opener;
    AreaRegistry m_areas;
    std::unique_ptr<RunContext> m_context;
};

// The store of the month's batches (charge run, approval, quantities, the
// attendance window): 1,000 children in three groups with six fee
// components, declared times and two extra classes, February 2024 charged
// and approved, attendance of February and March 2024 or, with `history`,
// of the three school years from September 2021.
enum class History { Month, ThreeYears };
BenchStore& batchStore(Engine engine, History history);
const char* historyName(History history);

// The store named `key`, made from `shape` on first use.
BenchStore& store(const std::string& key, const StoreShape& shape);
// Closes and drops every store (before the application object goes).
void releaseStores();

// The server of LUNAWA_BENCH_PG, empty when PostgreSQL is not benchmarked.
QString pgServer();
const char* engineName(Engine engine);

// Registers `name/sqlite`, and `name/pg` when LUNAWA_BENCH_PG is set.
void registerOnEngines(const std::string& name, const std::function<void(benchmark::State&, Engine)>& fn,
                       const std::function<void(benchmark::internal::Benchmark*)>& configure);

// Attendance of a child on a day, the same on every store: ten kinds of
// day in turn, one of them absent.
struct DayOfAttendance {
    bool present;
    QTime arrival;
    QTime departure;
};
DayOfAttendance attendanceOf(int child, QDate day);

}  // namespace bench
