// Letters and labels: address labels for 1,000 active children, read from an
// SQLite store, laid out three across on the delivered label template and
// written to one PDF; and identification cards with the child code's
// barcode for the same children.

#include "bench_store.h"

#include "printouts/delivered_templates.h"
#include "printouts/letters_printout.h"
#include "printouts/page_painter.h"
#include "printouts/template_data_fields.h"
#include "store/database.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int children = 1000;

struct LabelStore {
    Database* db = nullptr;
    printouts::BuiltTemplate labels;
    printouts::BuiltTemplate cards;

    LabelStore()
    {
        bench::StoreShape shape;
        shape.children = children;
        db = &bench::store("labels/sqlite", shape).db();
        for (const printouts::DeliveredTemplate& t : printouts::deliveredTemplates())
            if (t.type == printouts::TemplateType::Letters && t.layout.columns == 3) {
                labels.layout = t.layout;
                break;
            }
        // Two cards across: the name over the barcode.
        cards.layout.columns = 2;
        for (const auto& [name, box] : {std::pair{QStringLiteral("Nazwa"), QRect(10, 10, 330, 17)},
                                        std::pair{printouts::field::barcode(), QRect(10, 34, 330, 80)}}) {
            printouts::TemplateElement e =
                printouts::TemplateElement::created(printouts::ElementKind::DataField, box.topLeft());
            e.content = name;
            e.box = box;
            cards.layout.elements.append(e);
        }
    }
};

LabelStore& labelStore()
{
    static LabelStore store;
    return store;
}

void toPdf(benchmark::State& state, const printouts::BuiltTemplate& layout, const QString& name)
{
    LabelStore& store = labelStore();
    QTemporaryDir out;
    const QString pdf = out.filePath(name);
    qsizetype pages = 0;
    for (auto _ : state) {
        const auto job = printouts::makeLettersJob(*store.db, printouts::LettersSelection{}, &layout);
        const report::PreparedPages prepared = job->run(report::Purpose::Pages);
        pages = prepared.pages.size();
        if (!report::writePdf(prepared, pdf).isEmpty())
            state.SkipWithError("PDF not written");
    }
    state.counters["pages"] = double(pages);
}

// The target: under 1 s.
void BM_LabelsToPdf(benchmark::State& state)
{
    toPdf(state, labelStore().labels, QStringLiteral("etykiety.pdf"));
}
BENCHMARK(BM_LabelsToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_IdentificationCardsToPdf(benchmark::State& state)
{
    toPdf(state, labelStore().cards, QStringLiteral("karty.pdf"));
}
BENCHMARK(BM_IdentificationCardsToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
