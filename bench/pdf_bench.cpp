// Writing prepared pages to PDF: a browser's list printout of about 1,000
// pages, prepared and written, and written alone from pages prepared once.
// `--benchmark_filter=/50` runs 50-page variants, small enough to profile.

#include "printouts/grid_printout.h"
#include "printouts/page_painter.h"

#include <QDate>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace report;

namespace {

constexpr int rowsPerPage = 57;  // at the grid printout's default 10-point fonts

std::unique_ptr<Job> listOf(int pages)
{
    GridLayout layout;
    layout.title = QStringLiteral("Wpłaty za wrzesień 2024");
    layout.filterDescription = QStringLiteral("Grupa = Żabki");
    layout.footerLine = QStringLiteral("Vendrix \"Lunawa\" dla Przedszkole nr 5, ul. Lipowa 1 ");
    const struct {
        const char* caption;
        double width;
        Qt::Alignment alignment;
    } columns[] = {{"Kod", 50, Qt::AlignLeft},   {"Data", 80, Qt::AlignLeft},  {"Nazwisko i imię", 200, Qt::AlignLeft},
                   {"Opis", 260, Qt::AlignLeft}, {"Kwota", 80, Qt::AlignRight}};
    for (const auto& c : columns) {
        GridColumn column;
        column.field = column.caption = QString::fromUtf8(c.caption);
        column.width = c.width;
        column.alignment = c.alignment;
        layout.columns.append(column);
    }
    layout.columns[4].summed = layout.columns[4].numeric = layout.columns[4].floating = true;
    layout.columns[4].displayFormat = QStringLiteral("0.00");

    QList<GridRow> rows;
    const int count = pages * rowsPerPage;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QDate date(2024, 9, 1 + i % 30);
        const QString name = QStringLiteral("Żółtowska-Gęślak Zofia %1").arg(i % 700);
        const QString note = i % 3 ? QStringLiteral("Opłata za pobyt i wyżywienie, wrzesień")
                                   : QStringLiteral("Zajęcia dodatkowe: język angielski");
        const double amount = 100.0 + (i % 997) / 4.0;
        rows.append({{i + 1, date, name, note, amount},
                     {QString::number(i + 1), date.toString(QStringLiteral("yyyy-MM-dd")), name, note,
                      QString::number(amount, 'f', 2)}});
    }
    return makeGridPrintout(layout, rows);
}

void BM_ListToPdf(benchmark::State& state)
{
    const auto job = listOf(int(state.range(0)));
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("lista.pdf"));
    qsizetype pages = 0;
    for (auto _ : state) {
        const PreparedPages prepared = job->run(Purpose::Pages);
        pages = prepared.pages.size();
        const QString message = writePdf(prepared, name);
        if (!message.isEmpty())
            state.SkipWithError(message.toStdString().c_str());
    }
    state.counters["pages"] = double(pages);
    state.counters["bytes"] = double(QFileInfo(name).size());
}
BENCHMARK(BM_ListToPdf)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_WritePdf(benchmark::State& state)
{
    const PreparedPages prepared = listOf(int(state.range(0)))->run(Purpose::Pages);
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("lista.pdf"));
    for (auto _ : state) {
        const QString message = writePdf(prepared, name);
        if (!message.isEmpty())
            state.SkipWithError(message.toStdString().c_str());
    }
    state.counters["pages"] = double(prepared.pages.size());
    state.counters["pages/s"] = benchmark::Counter(double(prepared.pages.size()),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_WritePdf)->Arg(50)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_PrepareList(benchmark::State& state)
{
    const auto job = listOf(int(state.range(0)));
    qsizetype pages = 0;
    for (auto _ : state)
        pages = job->run(Purpose::Pages).pages.size();
    state.counters["pages"] = double(pages);
}
BENCHMARK(BM_PrepareList)->Arg(50)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
