// Baseline figures of the embedded store: attendance rows written and read
// through SQL and through the cursor.

#include "store/database.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/store_creator.h"
#include "store/table.h"

#include <QDate>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int children = 500;
constexpr int days = 1000;  // 500 x 1000 = 500,000 rows

struct BenchStore {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    BenchStore()
    {
        const StoreLocation loc = StoreLocation::parse(dir.path() + QStringLiteral("/Baza"));
        store::create(loc, InstitutionData{});
        db = std::make_unique<Database>(loc);
        db->open();
        db->setCredentials({rights::masterCredential()});
    }
};

void fillAttendance(Database& db)
{
    const QDate start(2022, 1, 1);
    db.batch([&] {
        Query q(db, QStringLiteral("INSERT INTO OBECN (OSOBA, DATA, OBECNY, CZASP, CZASW) VALUES (:O, :D, 'T', '07:30', '15:45')"));
        for (int c = 1; c <= children; ++c)
            for (int d = 0; d < days; ++d)
                q.bind(QStringLiteral("O"), c).bind(QStringLiteral("D"), start.addDays(d)).exec();
    });
}

BenchStore& filledStore()
{
    static BenchStore s = [] {
        BenchStore b;
        fillAttendance(*b.db);
        return b;
    }();
    return s;
}

void BM_SqlInsert500k(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        BenchStore s;
        state.ResumeTiming();
        fillAttendance(*s.db);
    }
    state.SetItemsProcessed(state.iterations() * children * days);
}
BENCHMARK(BM_SqlInsert500k)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_CursorInsert(benchmark::State& state)
{
    const int rows = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        BenchStore s;
        Table t(*s.db, QStringLiteral("OBECN"));
        t.setOrdering(QStringLiteral("OSOBA;DATA"));
        t.open();
        state.ResumeTiming();
        s.db->batch([&] {
            for (int i = 0; i < rows; ++i) {
                t.insert();
                t.setValue(QStringLiteral("OSOBA"), 1 + i / days);
                t.setValue(QStringLiteral("DATA"), QDate(2022, 1, 1).addDays(i % days));
                t.setValue(QStringLiteral("CZASP"), QTime(7, 30));
                t.post();
            }
        });
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_CursorInsert)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SqlOrderedScan500k(benchmark::State& state)
{
    Database& db = *filledStore().db;
    for (auto _ : state) {
        Query q(db, QStringLiteral("SELECT OSOBA, DATA, OBECNY, CZASP, CZASW FROM OBECN ORDER BY OSOBA, DATA"));
        q.exec();
        qint64 n = 0;
        while (q.next())
            n += q.value(0).toInt();
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations() * children * days);
}
BENCHMARK(BM_SqlOrderedScan500k)->Unit(benchmark::kMillisecond);

void BM_CursorOrderedScan500k(benchmark::State& state)
{
    Database& db = *filledStore().db;
    for (auto _ : state) {
        Table t(db, QStringLiteral("OBECN"));
        t.setOrdering(QStringLiteral("OSOBA;DATA"));
        t.open();
        qint64 n = 0;
        for (t.first(); !t.eof(); t.next())
            n += t.asInt(QStringLiteral("OSOBA"));
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations() * children * days);
}
BENCHMARK(BM_CursorOrderedScan500k)->Unit(benchmark::kMillisecond);

void BM_CursorRangeOneChildMonth(benchmark::State& state)
{
    Database& db = *filledStore().db;
    Table t(db, QStringLiteral("OBECN"));
    t.setOrdering(QStringLiteral("OSOBA;DATA"));
    t.open();
    int child = 1;
    for (auto _ : state) {
        child = child % children + 1;
        t.setRange({child, QDate(2023, 3, 1)}, {child, QDate(2023, 3, 31)});
        benchmark::DoNotOptimize(t.rowCount());
    }
}
BENCHMARK(BM_CursorRangeOneChildMonth)->Unit(benchmark::kMicrosecond);

void BM_SqlRangeOneChildMonth(benchmark::State& state)
{
    Database& db = *filledStore().db;
    Query q(db, QStringLiteral("SELECT DATA, OBECNY, CZASP, CZASW FROM OBECN WHERE OSOBA = :O AND DATA >= :A AND DATA <= :B ORDER BY DATA"));
    int child = 1;
    for (auto _ : state) {
        child = child % children + 1;
        q.bind(QStringLiteral("O"), child).bind(QStringLiteral("A"), QDate(2023, 3, 1)).bind(QStringLiteral("B"), QDate(2023, 3, 31)).exec();
        int n = 0;
        while (q.next())
            ++n;
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_SqlRangeOneChildMonth)->Unit(benchmark::kMicrosecond);

}  // namespace
