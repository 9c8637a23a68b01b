// Quantities of every code for 1,000 children over one month, read in bulk
// from a store holding a year of daily attendance with declared times and
// two extra classes.

#include "attendance/free_days.h"
#include "fees/attendance_quantities.h"
#include "fees/quantity_data_loader.h"
#include "store/database.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/store_creator.h"

#include <QDate>
#include <QTemporaryDir>
#include <QTime>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int children = 1000;
const QDate yearStart(2023, 9, 1);
const QDate yearEnd(2024, 8, 31);
const char* marchFreeDays = "2,3,9,10,16,17,23,24,30,31";

struct QuantityStore {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    QuantityStore()
    {
        const StoreLocation loc = StoreLocation::parse(dir.path() + QStringLiteral("/Baza"));
        store::create(loc, InstitutionData{});
        db = std::make_unique<Database>(loc);
        db->open();
        db->setCredentials({rights::masterCredential()});
        fill(*db);
    }

    static void fill(Database& db)
    {
        auto sql = [&](const QString& text) { Query(db, text).exec(); };
        db.batch([&] {
            sql(QStringLiteral("INSERT INTO CZASBEZP (ODDATY, CZASP, CZASW) VALUES ('2023-09-01', '08:00', '13:00')"));
            sql(QStringLiteral("INSERT INTO ZAJDOD (KOD, NAZWA, KOLEJ) VALUES (1, 'Rytmika', 1), (2, 'Angielski', 2)"));
            sql(QStringLiteral("INSERT INTO ZAJDAT (ZAJECIE, DZIENTYG, ODDATY, CZASP, CZASW) VALUES "
                               "(1, '1', '2023-09-01', '14:00', '14:45'), (1, '3', '2023-09-01', '14:00', '14:45'), "
                               "(2, '2', '2023-09-01', '15:00', '16:00')"));
            Query child(db, QStringLiteral("INSERT INTO DZIECI (KOD, NAZWA, ULICA) VALUES (:K, :N, 'Lipowa 1')"));
            Query declared(db, QStringLiteral("INSERT INTO DZIECZAS (OSOBA, ODDATY, CZASP, CZASW) VALUES (:O, :D, :P, :W)"));
            Query enrol(db, QStringLiteral("INSERT INTO DZIEZAJ (OSOBA, ZAJECIE, ODDATY) VALUES (:O, :Z, '2023-09-01')"));
            Query day(db, QStringLiteral("INSERT INTO OBECN (OSOBA, DATA, OBECNY, CZASP, CZASW) VALUES (:O, :D, :M, :P, :W)"));
            for (int c = 1; c <= children; ++c) {
                child.bind(QStringLiteral("K"), c).bind(QStringLiteral("N"), QStringLiteral("Dziecko %1").arg(c)).exec();
                declared.bind(QStringLiteral("O"), c).bind(QStringLiteral("D"), yearStart)
                    .bind(QStringLiteral("P"), QTime(7, 30)).bind(QStringLiteral("W"), QTime(15, 0)).exec();
                declared.bind(QStringLiteral("D"), QDate(2024, 3, 11)).bind(QStringLiteral("W"), QTime(16, 0)).exec();
                enrol.bind(QStringLiteral("O"), c).bind(QStringLiteral("Z"), 1 + c % 2).exec();
                for (QDate d = yearStart; d <= yearEnd; d = d.addDays(1)) {
                    if (d.dayOfWeek() > 5)
                        continue;
                    const int k = (c + d.day()) % 10;
                    day.bind(QStringLiteral("O"), c).bind(QStringLiteral("D"), d)
                        .bind(QStringLiteral("M"), k == 0 ? QStringLiteral("N") : QStringLiteral("T"))
                        .bind(QStringLiteral("P"), QTime(7, 15 + k * 3)).bind(QStringLiteral("W"), QTime(15, 10 + k * 4))
                        .exec();
                }
            }
            Query held(db, QStringLiteral("INSERT INTO ZAJODB (KLASA, ID, ZAJECIE, DATA, CZASP, CZASW) VALUES (1, :I, :Z, :D, :P, :W)"));
            Query mark(db, QStringLiteral("INSERT INTO ZAJOBEC (KLASA, ID, OSOBA, OBECNY) VALUES (1, :I, :O, :M)"));
            int id = 0;
            for (QDate d = QDate(2024, 3, 1); d <= QDate(2024, 3, 31); d = d.addDays(1)) {
                const int w = d.dayOfWeek();
                const int cls = w == 1 || w == 3 ? 1 : w == 2 ? 2 : 0;
                if (!cls)
                    continue;
                ++id;
                held.bind(QStringLiteral("I"), id).bind(QStringLiteral("Z"), cls).bind(QStringLiteral("D"), d)
                    .bind(QStringLiteral("P"), cls == 1 ? QTime(14, 0) : QTime(15, 0))
                    .bind(QStringLiteral("W"), cls == 1 ? QTime(14, 45) : QTime(16, 0)).exec();
                for (int c = 2 - cls % 2; c <= children; c += 2)
                    mark.bind(QStringLiteral("I"), id).bind(QStringLiteral("O"), c)
                        .bind(QStringLiteral("M"), (c + d.day()) % 7 == 0 ? QStringLiteral("N") : QStringLiteral("T")).exec();
            }
        });
    }
};

QuantityStore& quantityStore()
{
    static QuantityStore s;
    return s;
}

void BM_QuantitiesAllCodesMonth(benchmark::State& state)
{
    Database& db = *quantityStore().db;
    const fees::QuantitySettings settings;
    const attendance::FreeDays freeDays(QString::fromLatin1(marchFreeDays));
    const fees::QuantityPeriod period = fees::QuantityPeriod::wholeMonth(2024, 3);
    double checksum = 0;
    qsizetype problems = 0;
    for (auto _ : state) {
        const fees::QuantityData data = fees::loadQuantityData(db, period.monthFirst, period.monthLast);
        checksum = 0;
        problems = 0;
        for (int c = 1; c <= children; ++c) {
            fees::AttendanceQuantityProvider q(data, settings, c, freeDays, period);
            for (const QChar letter : QStringView(u"ABCDTNZXEFGHJKSUVW"))
                checksum += q.simpleQuantity(letter);
            for (int k = 1; k <= 2; ++k) {
                checksum += q.scheduledClasses(k) + q.classesDuringStay(k) + q.classesOnDaysPresent(k);
                checksum += q.classAttendance(k, fees::PresenceMark::Present) + q.classAttendance(k, fees::PresenceMark::Absent)
                    + q.classAttendance(k, fees::PresenceMark::NotifiedAbsence);
            }
            problems += q.problems().size();
        }
        benchmark::DoNotOptimize(checksum);
    }
    state.counters["checksum"] = checksum;
    state.counters["problems"] = double(problems);
    state.SetItemsProcessed(state.iterations() * children);
}
BENCHMARK(BM_QuantitiesAllCodesMonth)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The bulk read alone, to see where the time goes.
void BM_QuantitiesBulkRead(benchmark::State& state)
{
    Database& db = *quantityStore().db;
    for (auto _ : state) {
        const fees::QuantityData data = fees::loadQuantityData(db, QDate(2024, 3, 1), QDate(2024, 3, 31));
        benchmark::DoNotOptimize(data.children.size());
    }
}
BENCHMARK(BM_QuantitiesBulkRead)->Unit(benchmark::kMillisecond);

}  // namespace
