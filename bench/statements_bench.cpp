// The settlement statement: 1,000 children with six months of charges and
// payments, read from an SQLite store, laid out with their history on the
// delivered statement template and written to one PDF.

#include "bench_store.h"

#include "printouts/delivered_templates.h"
#include "printouts/page_painter.h"
#include "printouts/statement_printout.h"
#include "store/database.h"
#include "store/query.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int children = 1000;
constexpr int months = 6;

struct StatementStore {
    Database* db = nullptr;
    printouts::BuiltTemplate layout;
    int first = 0;
    int last = 0;

    StatementStore()
    {
        bench::StoreShape shape;
        shape.children = children;
        db = &bench::store("statements/sqlite", shape).db();
        fill(*db);
        for (const printouts::DeliveredTemplate& t : printouts::deliveredTemplates())
            if (t.type == printouts::TemplateType::Statements) {
                layout.layout = t.layout;
                break;
            }
    }

    void fill(Database& d)
    {
        auto sql = [&](const QString& text) { Query(d, text).exec(); };
        d.batch([&] {
            sql(QStringLiteral("INSERT INTO GRUPYOP (NAZWA, KOLEJ) VALUES ('Opłaty podstawowe', 1), ('Zajęcia', 2)"));
            sql(QStringLiteral("INSERT INTO MEDIA (NAZWA, GRUPAOP, KOLEJ) VALUES ('Czesne', 1, 1), ('Wyżywienie', 1, 2), "
                               "('Rytmika', 2, 3), ('Język angielski', 2, 4)"));
            for (int m = 0; m < months; ++m) {
                const int month = (9 + m) % 12 + 1;
                Query(d, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (:R, :M)"))
                    .bind(QStringLiteral("R"), month >= 10 ? 2023 : 2024)
                    .bind(QStringLiteral("M"), month)
                    .exec();
                const int kod = Query(d, QStringLiteral("SELECT MAX(KOD) FROM MIESIACE")).scalar().toInt();
                if (m == 0)
                    first = kod;
                last = kod;
            }
            Query line(d, QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, ROZLICZ) "
                                         "VALUES (:K, '1', :O, :M, :I, 'szt.', :C, :W, :R)"));
            Query payment(d, QStringLiteral("INSERT INTO WPLATY (KOD, DATA, OSOBA, WARTOSC) VALUES (:K, '2024-01-10', :O, :W)"));
            for (int i = 1; i <= children; ++i) {
                for (int kod = first; kod <= last; ++kod) {
                    double total = 0;
                    for (int m = 1; m <= 4; ++m) {
                        const double quantity = 1 + (i + m + kod) % 20;
                        const double price = 8.5 + m;
                        total += quantity * price;
                        line.bind(QStringLiteral("K"), kod)
                            .bind(QStringLiteral("O"), i)
                            .bind(QStringLiteral("M"), m)
                            .bind(QStringLiteral("I"), quantity)
                            .bind(QStringLiteral("C"), price)
                            .bind(QStringLiteral("W"), quantity * price)
                            .bind(QStringLiteral("R"), m == 2 ? QStringLiteral("T") : QStringLiteral("N"))
                            .exec();
                    }
                    payment.bind(QStringLiteral("K"), kod).bind(QStringLiteral("O"), i).bind(QStringLiteral("W"), total - i % 7).exec();
                }
            }
        });
    }

    printouts::StatementOptions options(bool history) const
    {
        printouts::StatementOptions o;
        o.month = last;
        if (history)
            o.historyFrom = 202310;
        return o;
    }
};

StatementStore& statementStore()
{
    static StatementStore store;
    return store;
}

void BM_StatementsWithHistoryToPdf(benchmark::State& state)
{
    StatementStore& store = statementStore();
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("zestawienie.pdf"));
    qsizetype pages = 0;
    for (auto _ : state) {
        const auto job = printouts::makeStatementsJob(*store.db, store.options(true), &store.layout);
        const report::PreparedPages prepared = job->run(report::Purpose::Pages);
        pages = prepared.pages.size();
        if (!report::writePdf(prepared, pdf).isEmpty())
            state.SkipWithError("PDF not written");
    }
    state.counters["pages"] = double(pages);
}
BENCHMARK(BM_StatementsWithHistoryToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// The month's statement without history, read and laid out only.
void BM_StatementsPrepared(benchmark::State& state)
{
    StatementStore& store = statementStore();
    for (auto _ : state) {
        const auto job = printouts::makeStatementsJob(*store.db, store.options(false), &store.layout);
        benchmark::DoNotOptimize(job->run(report::Purpose::Pages));
    }
}
BENCHMARK(BM_StatementsPrepared)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
