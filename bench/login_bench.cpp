// Logging in: opening the store (a new connection, as the program does at
// start) and checking the delivered administrator's password, which loads
// the rights the login grants. On a server every statement is a round
// trip; the floor is a connection and the two reads a login needs.

#include "bench_store.h"
#include "floor_report.h"

#include "shell/tdm_ochrona.h"
#include "store/store_creator.h"

namespace {

using namespace bench;

void login(benchmark::State& state, Engine engine)
{
    BenchStore& s = batchStore(engine, History::Month);
    Samples program;
    for (auto _ : state) {
        bool accepted = false;
        program.time([&] {
            Database db(s.location());
            db.open();
            TDMOchrona security(db);
            accepted = security.login(store::adminLogin(), store::adminPassword());
        });
        if (!accepted) {
            state.SkipWithError("login refused");
            return;
        }
    }
    Samples floor;
    for (int i = 0; i < floorRuns(program); ++i)
        floor.time([&] {
            native::Connection c(s.location());
            native::Statement user = c.once(
                "SELECT U.KOD, U.AKTYWNY, U.HASLO, U.FUNKCJE, U.KLASY, M.KODGR, G.FUNKCJE, G.KLASY, G.KOD FROM UZYT U "
                "LEFT JOIN UZGR M ON M.KODUZ = U.KOD LEFT JOIN GRUPY G ON G.KOD = M.KODGR WHERE U.NAZWA = ?");
            user.exec({store::adminLogin().toStdString()});
            native::Statement rights = c.once("SELECT TABELA, HASLO, PRAWA, POLA FROM LW_PRAWA");
            rights.exec();
            benchmark::DoNotOptimize(user.checksum() + rights.checksum());
        });
    reportProgram(state, program);
    reportFloor(state, "floor", program, floor);
}

const bool registered = [] {
    registerOnEngines("LoginAdministrator", login,
                      [](benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMillisecond)->MinTime(1.0); });
    return true;
}();

}  // namespace
