// A full synchronisation against the web service double on loopback: 1,000
// children with internet access and a year of daily attendance with times,
// twelve settlement months published. Prints the number of requests, since
// the exchange's time is mostly round trips.

#include "support/web_service_double.h"

#include "browser/prompts.h"
#include "shell/option_prompts.h"
#include "store/database.h"
#include "store/institution.h"
#include "store/params.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/store_creator.h"
#include "sync/http_transport.h"
#include "sync/sync_modes.h"
#include "sync/sync_session.h"

#include <QTemporaryDir>
#include <QTextStream>
#include <benchmark/benchmark.h>

namespace {

constexpr int children = 1000;

void fill(Database& db)
{
    db.batch([&] {
        Query(db, QStringLiteral("UPDATE OPCJE SET HASLO = 'abcdefabcdefabcdefabcdefabcdef12'")).exec();
        Query child(db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, HASLO) VALUES (:N, 'Polna 1', 1, :H)"));
        for (int i = 0; i < children; ++i)
            child.bind(QStringLiteral("N"), QStringLiteral("Dziecko %1").arg(i))
                .bind(QStringLiteral("H"), QStringLiteral("%1").arg(i, 32, 16, QLatin1Char('0')))
                .exec();
        Query month(db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2026, :M, '6,7')"));
        for (int m = 1; m <= 12; ++m)
            month.bind(QStringLiteral("M"), m).exec();
        Query day(db, QStringLiteral("INSERT INTO OBECN (OSOBA, DATA, OBECNY, CZASP, CZASW) "
                                     "VALUES (:O, :D, 'T', '08:00', '15:30')"));
        for (QDate d(2026, 1, 1); d.year() == 2026; d = d.addDays(1)) {
            if (d.dayOfWeek() > 5)
                continue;
            for (int c = 1; c <= children; ++c)
                day.bind(QStringLiteral("O"), c).bind(QStringLiteral("D"), d).exec();
        }
    });
}

void BM_FullSynchronisation(benchmark::State& state)
{
    QTemporaryDir dir;
    const StoreLocation loc = StoreLocation::parse(dir.path() + QStringLiteral("/Baza"));
    store::create(loc, InstitutionData{});
    Database db(loc);
    db.open();
    db.setCredentials({rights::masterCredential()});
    fill(db);

    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    OptionPrompts prompts(outStream, errStream);
    Parameters params;
    Institution institution;
    institution.clientNumber = 57;
    int requests = 0;
    for (auto _ : state) {
        WebServiceDouble service;
        service.listen();
        service.setAdministrator(57, QStringLiteral("tajne"));
        HttpTransport transport;
        SyncSession session(transport, prompts, service.url());
        websync::Synchronizer synchronizer({db, params, institution, prompts}, session);
        if (!synchronizer.full(QStringLiteral("tajne"), {websync::defaultStartMonth(db), false}))
            state.SkipWithError("synchronisation failed");
        requests = session.requestCount();
    }
    state.counters["requests"] = requests;
}
BENCHMARK(BM_FullSynchronisation)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
