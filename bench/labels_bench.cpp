// Letters and labels: address labels for 1,000 active children, read from an
// SQLite store, laid out three across on the delivered label template and
// written to one PDF; and identification cards with the child code's
// barcode for the same children.

#include "printouts/delivered_templates.h"
#include "printouts/letters_printout.h"
#include "printouts/page_painter.h"
#include "printouts/template_data_fields.h"
#include "store/database.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/store_creator.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int children = 1000;

struct LabelStore {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    printouts::BuiltTemplate labels;
    printouts::BuiltTemplate cards;

    LabelStore()
    {
        const StoreLocation loc = StoreLocation::parse(dir.path() + QStringLiteral("/Baza"));
        InstitutionData firm;
        firm.name = QStringLiteral("Przedszkole Słoneczko");
        firm.address = QStringLiteral("ul. Leśna 2, 00-001 Warszawa");
        store::create(loc, firm);
        db = std::make_unique<Database>(loc);
        db->setCredentials({rights::masterCredential()});
        db->open();
        fill(*db);
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

    void fill(Database& d)
    {
        d.batch([&] {
            Query(d, QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Misie', 1)")).exec();
            const int group = Query(d, QStringLiteral("SELECT MAX(KOD) FROM KLASY")).scalar().toInt();
            Query child(d, QStringLiteral("INSERT INTO DZIECI (NAZWA, PRZEDUL, ULICA, KODPOCZ, MIASTO, KLASA, AKTYWNY) "
                                          "VALUES (:N, 'ul.', :U, '00-950', 'Warszawa', :K, 'T')"));
            for (int i = 1; i <= children; ++i)
                child.bind(QStringLiteral("N"), QStringLiteral("Żółtowska Łucja %1").arg(i))
                    .bind(QStringLiteral("U"), QStringLiteral("Polna %1").arg(i))
                    .bind(QStringLiteral("K"), group)
                    .exec();
        });
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
