// Printouts: preparing a 1,000-page list (50,000 rows) and writing it to
// PDF, and a 200-row grid printout as far as its first page.

#include "printouts/grid_printout.h"
#include "printouts/page_painter.h"
#include "printouts/report_engine.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace report;

namespace {

Band band(BandKind kind, double height)
{
    Band b;
    b.kind = kind;
    b.height = height;
    return b;
}

// A list of 50 rows a page: five columns, a header and "page n of m".
struct LongList {
    Report report;
    Rows rows;
    LongList()
    {
        TextStyle centred;
        centred.alignment = Qt::AlignHCenter;
        report.pageHeader = band(BandKind::PageHeader, 30);
        report.pageHeader->items = {Item::label({0, 0, 718, 20}, QStringLiteral("Wpłaty za wrzesień 2024"), centred)};
        report.columnHeader = band(BandKind::ColumnHeader, 20);
        report.detail = band(BandKind::Detail, 19);
        const QStringList fields = {"KOD", "DATA", "NAZWA", "OPIS", "KWOTA"};
        const double widths[] = {50, 80, 220, 250, 80};
        TextStyle right;
        right.alignment = Qt::AlignRight;
        double x = 4;
        for (int i = 0; i < fields.size(); ++i) {
            report.columnHeader->items.append(Item::label({x, 1, widths[i], 16}, fields[i]));
            report.detail->items.append(Item::ofField({x, 1, widths[i], 16}, fields[i], i == 4 ? right : TextStyle{},
                                                      i == 4 ? QStringLiteral("0.00") : QString()));
            x += widths[i] + 4;
        }
        report.summary = band(BandKind::Summary, 20);
        report.summary->items = {Item::sum({x - 84, 1, 80, 16}, QStringLiteral("KWOTA"), right, QStringLiteral("0.00"))};
        report.pageFooter = band(BandKind::PageFooter, 20);
        report.pageFooter->items = {Item::pageNumber({0, 1, 300, 16}, QStringLiteral("Strona {page} z {pages}"))};
        rows.fields = fields;
        for (int i = 0; i < 50000; ++i)
            rows.rows.append({i + 1, QDate(2024, 9, 1 + i % 30), QStringLiteral("Dziecko Żółtowskie %1").arg(i),
                              QStringLiteral("Opłata za pobyt i wyżywienie, wrzesień"), 100.0 + (i % 997) / 4.0});
    }
};

const LongList& longList()
{
    static const LongList list;
    return list;
}

void BM_PrepareThousandPages(benchmark::State& state)
{
    const LongList& list = longList();
    qsizetype pages = 0;
    for (auto _ : state)
        pages = prepare(list.report, list.rows).pages.size();
    state.counters["pages"] = double(pages);
}
BENCHMARK(BM_PrepareThousandPages)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PrepareThousandPagesToPdf(benchmark::State& state)
{
    const LongList& list = longList();
    QTemporaryDir dir;
    for (auto _ : state) {
        const PreparedPages pages = prepare(list.report, list.rows);
        const QString message = writePdf(pages, dir.filePath(QStringLiteral("lista.pdf")));
        if (!message.isEmpty())
            state.SkipWithError(message.toStdString().c_str());
    }
}
BENCHMARK(BM_PrepareThousandPagesToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_GridFirstPageOf200Rows(benchmark::State& state)
{
    GridLayout layout;
    layout.title = QStringLiteral("Dzieci");
    layout.filterDescription = QStringLiteral("Grupa = Motylki");
    layout.footerLine = QStringLiteral("Vendrix \"Lunawa\" dla Przedszkole, Lipowa 1 ");
    for (const char* caption : {"Kod", "Nazwisko i imię", "Grupa", "Aktywny", "Saldo"}) {
        GridColumn column;
        column.field = column.caption = QString::fromUtf8(caption);
        column.width = 120;
        layout.columns.append(column);
    }
    layout.columns[3].summed = true;
    layout.columns[4].summed = layout.columns[4].numeric = layout.columns[4].floating = true;
    layout.columns[4].displayFormat = QStringLiteral("0.00");
    QList<GridRow> rows;
    for (int i = 0; i < 200; ++i) {
        const QString saldo = QString::number(i * 1.25, 'f', 2);
        rows.append({{i, QStringLiteral("Kowalska Zofia %1").arg(i), "Motylki", i % 3 ? "T" : "N", i * 1.25},
                     {QString::number(i), QStringLiteral("Kowalska Zofia %1").arg(i), "Motylki", i % 3 ? "T" : "N",
                      saldo}});
    }
    for (auto _ : state) {
        const auto job = makeGridPrintout(layout, rows);
        int pages = 0;
        job->run(Purpose::Pages, [&](const Page&, int, int) { return ++pages < 1; });
        benchmark::DoNotOptimize(pages);
    }
}
BENCHMARK(BM_GridFirstPageOf200Rows)->Unit(benchmark::kMillisecond);

}  // namespace
