// The invoices printout: 1,000 invoices of 3 to 6 lines each, read from an
// SQLite store, laid out on the delivered invoice template and written to
// one PDF.

#include "bench_store.h"

#include "printouts/delivered_templates.h"
#include "printouts/invoice_printout.h"
#include "printouts/page_painter.h"
#include "store/database.h"
#include "store/query.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int invoices = 1000;

struct InvoiceStore {
    Database* db = nullptr;
    printouts::BuiltTemplate layout;
    int month = 0;

    InvoiceStore()
    {
        bench::StoreShape shape;
        shape.children = invoices;
        db = &bench::store("invoices/sqlite", shape).db();
        fill(*db);
        for (const printouts::DeliveredTemplate& t : printouts::deliveredTemplates())
            if (t.type == printouts::TemplateType::Invoices) {
                layout.layout = t.layout;
                break;
            }
    }

    void fill(Database& d)
    {
        auto sql = [&](const QString& text) { Query(d, text).exec(); };
        d.batch([&] {
            sql(QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (2024, 3)"));
            month = Query(d, QStringLiteral("SELECT MAX(KOD) FROM MIESIACE")).scalar().toInt();
            sql(QStringLiteral("INSERT INTO STAVAT (NAZWA, VAT) VALUES ('zw', 0), ('8%', 8)"));
            sql(QStringLiteral("INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES ('Czesne', 1), ('Wyżywienie', 2), "
                               "('Rytmika', 3), ('Język angielski', 4), ('Basen', 5), ('Ubezpieczenie', 6)"));
            Query invoice(d, QStringLiteral("INSERT INTO FAKT (KOD, NUMER, OSOBA, WYST, TERMIN, TYTUL) "
                                            "VALUES (:K, :N, :O, '2024-03-01', '2024-03-15', 'Opłata za przedszkole')"));
            Query line(d, QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, "
                                         "ROZLICZ, IDF, LPF, STAWKA, VAT) VALUES (:K, '1', :O, :M, :I, 'szt.', :C, "
                                         ":W, 'N', :F, :L, :S, :V)"));
            for (int i = 1; i <= invoices; ++i) {
                invoice.bind(QStringLiteral("K"), month).bind(QStringLiteral("N"), i).bind(QStringLiteral("O"), i).exec();
                for (int l = 1; l <= 3 + i % 4; ++l) {
                    const double quantity = 1 + (i + l) % 20;
                    const double price = 8.5 + l;
                    const double value = quantity * price;
                    const bool taxed = l % 2 == 0;
                    line.bind(QStringLiteral("K"), month)
                        .bind(QStringLiteral("O"), i)
                        .bind(QStringLiteral("M"), l)
                        .bind(QStringLiteral("I"), quantity)
                        .bind(QStringLiteral("C"), price)
                        .bind(QStringLiteral("W"), value)
                        .bind(QStringLiteral("F"), i)
                        .bind(QStringLiteral("L"), l)
                        .bind(QStringLiteral("S"), taxed ? 2 : 1)
                        .bind(QStringLiteral("V"), taxed ? qRound(value * 8 / 108 * 100) / 100.0 : 0.0)
                        .exec();
                }
            }
        });
    }
};

InvoiceStore& invoiceStore()
{
    static InvoiceStore store;
    return store;
}

void BM_InvoicesToPdf(benchmark::State& state)
{
    InvoiceStore& store = invoiceStore();
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("faktury.pdf"));
    printouts::InvoiceSelection selection;
    selection.month = store.month;
    qsizetype pages = 0;
    for (auto _ : state) {
        const auto job = printouts::makeInvoicesJob(*store.db, selection, &store.layout);
        const report::PreparedPages prepared = job->run(report::Purpose::Pages);
        pages = prepared.pages.size();
        if (!report::writePdf(prepared, pdf).isEmpty())
            state.SkipWithError("PDF not written");
    }
    state.counters["pages"] = double(pages);
}
BENCHMARK(BM_InvoicesToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// The share of reading and layout alone, without the PDF writer.
void BM_InvoicesPrepared(benchmark::State& state)
{
    InvoiceStore& store = invoiceStore();
    printouts::InvoiceSelection selection;
    selection.month = store.month;
    for (auto _ : state) {
        const auto job = printouts::makeInvoicesJob(*store.db, selection, &store.layout);
        benchmark::DoNotOptimize(job->run(report::Purpose::Pages));
    }
}
BENCHMARK(BM_InvoicesPrepared)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
