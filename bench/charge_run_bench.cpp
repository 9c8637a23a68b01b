// The month's charge run on SQLite: computing March 2024 for 1,000 children
// with 6 fee components each, from a month of daily attendance with times,
// settling February (whose advances were approved); then approving those
// lines with invoices.

#include "browser/area_registry.h"
#include "browser/message_log.h"
#include "browser/run_context.h"
#include "browser/window_opener.h"
#include "fees/charge_run.h"
#include "shell/option_prompts.h"
#include "store/database.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/store_creator.h"
#include "store/tdm_baza.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTime>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int children = 1000;
constexpr int components = 6;
const QString febFree = QStringLiteral("3,4,10,11,17,18,24,25");
const QString marFree = QStringLiteral("2,3,9,10,16,17,23,24,30,31");

class NoWindows : public WindowOpener {
public:
    void browse(TDMDane&, DataSet&, const QString&, Command*) override {}
    bool closeOwnedBy(Command*) override { return false; }
};

struct ChargeStore {
    QTemporaryDir dir;
    std::unique_ptr<TDMBaza> baza;
    QString out, err;
    QTextStream outStream{&out}, errStream{&err};
    OptionPrompts prompts{outStream, errStream};
    NoWindows opener;
    AreaRegistry areas;
    std::unique_ptr<RunContext> context;
    int march = 0;

    ChargeStore()
    {
        const StoreLocation loc = StoreLocation::parse(dir.path() + QStringLiteral("/Baza"));
        store::create(loc, InstitutionData{});
        baza = std::make_unique<TDMBaza>(loc);
        baza->database().setCredentials({rights::masterCredential()});
        fill(baza->database());
        context = std::make_unique<RunContext>(
            RunContext{*baza, prompts, opener, areas, CurrentLogin{}, Parameters{}, Institution{}, RunSettings{}, nullptr});
        context->login.userCode = -1;
        context->login.visibleGroups = {QStringLiteral("-1")};
        context->params.sposobyJednolite = false;
        context->params.fakturyTytulem = QStringLiteral("Opłata za przedszkole");
        prompts.answerChecks(QStringLiteral("Wybierz składniki opłat"), std::nullopt, QStringLiteral("--components"));
        prompts.answerChoice(QStringLiteral("Naliczanie, rozliczanie"), -1);
        prompts.answerChecks(QStringLiteral("Wybierz grupy"), std::nullopt, QStringLiteral("--groups"));
        prompts.answerDate(QStringLiteral("Zatwierdzanie opłat"), QStringLiteral("Wybierz datę wystawienia"),
                           std::nullopt, QStringLiteral("--issue-date"));
        prompts.answerDate(QStringLiteral("Zatwierdzanie opłat"), QStringLiteral("Wybierz termin płatności"),
                           std::nullopt, QStringLiteral("--due-date"));
        prompts.answerText(QStringLiteral("Zatwierdzanie opłat"), QStringLiteral("Wybierz opis faktur"), std::nullopt,
                           QStringLiteral("--title"));
    }

    void fill(Database& db)
    {
        auto sql = [&](const QString& text) { Query(db, text).exec(); };
        db.batch([&] {
            sql(QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Biedronki', 1), ('Misie', 2), ('Żabki', 3)"));
            sql(QStringLiteral("INSERT INTO STAVAT (NAZWA, VAT) VALUES ('8%', 8)"));
            sql(QStringLiteral("INSERT INTO CZASBEZP (ODDATY, CZASP, CZASW) VALUES ('2023-09-01', '08:00', '13:00')"));
            Query month(db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2024, :M, :D)"));
            month.bind(QStringLiteral("M"), 2).bind(QStringLiteral("D"), febFree).exec();
            month.bind(QStringLiteral("M"), 3).bind(QStringLiteral("D"), marFree).exec();
            const int feb = Query(db, QStringLiteral("SELECT KOD FROM MIESIACE WHERE MIES = 2")).scalar().toInt();
            march = Query(db, QStringLiteral("SELECT KOD FROM MIESIACE WHERE MIES = 3")).scalar().toInt();

            // Stay by declared hours, meals by days present, a flat fee, an
            // extra class by days, hours beyond the declared time, care by working days.
            const char* methods[components][2] = {{"IE*0,5", "IF*0,5"}, {"ID", "IT"},   {"1", ""},
                                                  {"IC/4", "IT/4"},     {"IS-IF", "IS-IF"}, {"ID*2", "IT*2"}};
            Query method(db, QStringLiteral("INSERT INTO SPOSOBY (NAZWA, OPIS) VALUES (:N, :O)"));
            Query component(db, QStringLiteral("INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES (:N, :K)"));
            Query price(db, QStringLiteral("INSERT INTO TARMED (TARYFA, MEDIUM, ODDATY, CENA, JM, STAWKA) "
                                           "VALUES (0, :M, '2023-09-01', :C, 'szt', 1)"));
            for (int k = 1; k <= components; ++k) {
                component.bind(QStringLiteral("N"), QStringLiteral("Składnik %1").arg(k)).bind(QStringLiteral("K"), k).exec();
                for (int s = 0; s < 2; ++s)
                    method.bind(QStringLiteral("N"), QStringLiteral("Sposób %1/%2").arg(k).arg(s))
                        .bind(QStringLiteral("O"), QString::fromLatin1(methods[k - 1][s])).exec();
                price.bind(QStringLiteral("M"), k).bind(QStringLiteral("C"), 1.5 * k).exec();
            }
            Query child(db, QStringLiteral("INSERT INTO DZIECI (KOD, NAZWA, ULICA, KLASA) VALUES (:K, :N, 'Lipowa 1', :G)"));
            Query declared(db, QStringLiteral("INSERT INTO DZIECZAS (OSOBA, ODDATY, CZASP, CZASW) VALUES (:O, '2023-09-01', '07:30', '15:30')"));
            Query assign(db, QStringLiteral("INSERT INTO DZIEMED (OSOBA, MEDIUM, ODDATY, SPOSOB, SPOROZ, PROCOPIE) "
                                            "VALUES (:O, :M, '2023-09-01', :S, :R, :P)"));
            Query approved(db, QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, ROZLICZ) "
                                              "VALUES (:K, '1', :O, :M, 10, 'szt', :C, :W, 'N')"));
            Query day(db, QStringLiteral("INSERT INTO OBECN (OSOBA, DATA, OBECNY, CZASP, CZASW) VALUES (:O, :D, :M, :P, :W)"));
            child.bind(QStringLiteral("K"), children + 1).bind(QStringLiteral("N"), QStringLiteral("Ośrodek pomocy"))
                .bind(QStringLiteral("G"), 0).exec();
            sql(QStringLiteral("UPDATE OPCJE SET OPIE = %1").arg(children + 1));
            for (int c = 1; c <= children; ++c) {
                child.bind(QStringLiteral("K"), c).bind(QStringLiteral("N"), QStringLiteral("Dziecko %1").arg(c))
                    .bind(QStringLiteral("G"), 1 + c % 3).exec();
                declared.bind(QStringLiteral("O"), c).exec();
                for (int k = 1; k <= components; ++k) {
                    assign.bind(QStringLiteral("O"), c).bind(QStringLiteral("M"), k)
                        .bind(QStringLiteral("S"), 2 * k - 1).bind(QStringLiteral("R"), 2 * k)
                        .bind(QStringLiteral("P"), c % 10 == 0 && k == 2 ? 50.0 : 0.0).exec();
                    approved.bind(QStringLiteral("K"), feb).bind(QStringLiteral("O"), c).bind(QStringLiteral("M"), k)
                        .bind(QStringLiteral("C"), 1.5 * k).bind(QStringLiteral("W"), 15.0 * k).exec();
                }
                for (QDate d(2024, 2, 1); d <= QDate(2024, 3, 31); d = d.addDays(1)) {
                    if (d.dayOfWeek() > 5)
                        continue;
                    const int v = (c + d.day()) % 10;
                    day.bind(QStringLiteral("O"), c).bind(QStringLiteral("D"), d)
                        .bind(QStringLiteral("M"), v == 0 ? QStringLiteral("N") : QStringLiteral("T"))
                        .bind(QStringLiteral("P"), QTime(7, 10 + v * 3)).bind(QStringLiteral("W"), QTime(15, 5 + v * 4))
                        .exec();
                }
            }
        });
    }

    fees::ChargeRunResult run(fees::ChargeOperation operation)
    {
        MessageLog log;
        return fees::runCharges(*context, operation, 2024, 3, fees::ChargeChildren::byGroups(), log);
    }

    void undoApproval()
    {
        Database& db = baza->database();
        db.batch([&] {
            Query(db, QStringLiteral("UPDATE NALICZ SET TYP = '0', IDF = NULL, LPF = NULL WHERE KOD = :K"))
                .bind(QStringLiteral("K"), march).exec();
            Query(db, QStringLiteral("DELETE FROM FAKT WHERE KOD = :K")).bind(QStringLiteral("K"), march).exec();
        });
    }

    int count(const QString& sql)
    {
        return Query(baza->database(), sql).bind(QStringLiteral("K"), march).scalar().toInt();
    }
};

ChargeStore& chargeStore()
{
    static ChargeStore s;
    return s;
}

void describeMachine()
{
    QFile cpu(QStringLiteral("/proc/cpuinfo"));
    if (cpu.open(QIODevice::ReadOnly))
        for (const QByteArray& line : cpu.readAll().split('\n'))
            if (line.startsWith("model name")) {
                benchmark::AddCustomContext("cpu", line.mid(line.indexOf(':') + 2).toStdString());
                break;
            }
}

void BM_ChargeRunCompute(benchmark::State& state)
{
    ChargeStore& s = chargeStore();
    s.undoApproval();
    for (auto _ : state) {
        const fees::ChargeRunResult r = s.run(fees::ChargeOperation::Compute);
        if (!r.completed)
            state.SkipWithError(r.stopError.toStdString().c_str());
    }
    state.counters["lines"] = s.count(QStringLiteral("SELECT COUNT(*) FROM NALICZ WHERE KOD = :K"));
    state.SetItemsProcessed(state.iterations() * children);
}
BENCHMARK(BM_ChargeRunCompute)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_ChargeRunApprove(benchmark::State& state)
{
    ChargeStore& s = chargeStore();
    s.undoApproval();
    if (!s.run(fees::ChargeOperation::Compute).completed)
        state.SkipWithError("compute failed");
    for (auto _ : state) {
        state.PauseTiming();
        s.undoApproval();
        state.ResumeTiming();
        const fees::ChargeRunResult r = s.run(fees::ChargeOperation::Approve);
        if (!r.completed)
            state.SkipWithError(r.stopError.toStdString().c_str());
    }
    state.counters["invoices"] = s.count(QStringLiteral("SELECT COUNT(*) FROM FAKT WHERE KOD = :K"));
    state.counters["approved"] = s.count(QStringLiteral("SELECT COUNT(*) FROM NALICZ WHERE KOD = :K AND TYP = '1'"));
    state.SetItemsProcessed(state.iterations() * children);
}
BENCHMARK(BM_ChargeRunApprove)->Unit(benchmark::kMillisecond)->MinTime(3.0);

const bool described = (describeMachine(), true);

}  // namespace
