// Importing a bank file of 10,000 payments matched by PESEL, with no
// questions, end to end on SQLite: the format, the file, the matching, the
// similar-row check and the writing. Beside it the store's floor: the same
// 10,000 payments inserted in one transaction.

#include "import/import_posting.h"
#include "shell/option_prompts.h"
#include "store/database.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/store_creator.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int children = 2000;
constexpr int lines = 10000;

QString pesel(int child) { return QStringLiteral("1803%1").arg(child, 7, 10, QLatin1Char('0')); }

class FilePrompts : public OptionPrompts {
public:
    FilePrompts(QTextStream& out, QString path) : OptionPrompts(out, out), m_path(std::move(path)) {}
    bool openFile(const FileDialogOptions&, QString& path) override
    {
        path = m_path;
        return true;
    }

private:
    QString m_path;
};

struct ImportStore {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    QString file;
    int month = 0;

    ImportStore()
    {
        const StoreLocation loc = StoreLocation::parse(dir.path() + QStringLiteral("/Baza"));
        store::create(loc, InstitutionData{});
        db = std::make_unique<Database>(loc);
        db->open();
        db->setCredentials({rights::masterCredential()});
        db->batch([&] {
            Query(*db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (2024, 3)")).exec();
            Query child(*db, QStringLiteral("INSERT INTO DZIECI (KOD, NAZWA, ULICA, KLASA, PESEL) VALUES (:K, :N, 'Lipowa 1', 1, :P)"));
            for (int c = 1; c <= children; ++c)
                child.bind(QStringLiteral("K"), c).bind(QStringLiteral("N"), QStringLiteral("Dziecko %1").arg(c))
                    .bind(QStringLiteral("P"), pesel(c)).exec();
        });
        month = Query(*db, QStringLiteral("SELECT KOD FROM MIESIACE")).scalar().toInt();
        file = dir.path() + QStringLiteral("/wyciag.csv");
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write("Data;PESEL;Nadawca;Kwota\n");
        for (int i = 0; i < lines; ++i) {
            const int c = 1 + i % children;
            f.write(QStringLiteral("2024-03-%1;%2;DZIECKO %3;%4,50\n")
                        .arg(1 + i / children, 2, 10, QLatin1Char('0'))
                        .arg(pesel(c))
                        .arg(c)
                        .arg(100 + i % 300)
                        .toUtf8());
        }
    }
};

ImportStore& sharedStore()
{
    static ImportStore s;
    return s;
}

void BM_ImportPayments(benchmark::State& state)
{
    ImportStore& s = sharedStore();
    import::ImportRequest r;
    r.target = import::ImportTarget::Payments;
    r.section = import::paymentsSection();
    r.configurationText = QStringLiteral("[IMPORT WPŁAT]\nKOLUMNY=DPKB\nOK DLA PESEL=T\nSEPARATOR DATY=-\n"
                                         "FORMAT DATY=yyyy-mm-dd\n");
    r.defaultDate = QDate(2024, 3, 31);
    r.monthKod = s.month;
    r.visibleGroups = {QStringLiteral("-1")};
    r.today = QDate(2024, 3, 31);
    QString sink;
    QTextStream out(&sink);
    for (auto _ : state) {
        FilePrompts prompts(out, s.file);
        const import::ImportReport report = import::runImport(*s.db, prompts, r);
        if (report.written != lines)
            state.SkipWithError("not every line was written");
        state.PauseTiming();
        Query(*s.db, QStringLiteral("DELETE FROM WPLATY")).exec();
        state.ResumeTiming();
    }
    state.counters["lines"] = lines;
}
BENCHMARK(BM_ImportPayments)->Unit(benchmark::kMillisecond)->Iterations(5);

// The floor: the same rows written by one prepared statement in one transaction.
void BM_ImportPaymentsFloor(benchmark::State& state)
{
    ImportStore& s = sharedStore();
    for (auto _ : state) {
        s.db->batch([&] {
            Query q(*s.db, QStringLiteral("INSERT INTO WPLATY (KOD, DATA, OSOBA, WARTOSC, OPIS) VALUES (:K, :D, :O, :W, :P)"));
            for (int i = 0; i < lines; ++i)
                q.bind(QStringLiteral("K"), s.month).bind(QStringLiteral("D"), QDate(2024, 3, 1 + i / children))
                    .bind(QStringLiteral("O"), 1 + i % children).bind(QStringLiteral("W"), 100.5)
                    .bind(QStringLiteral("P"), QString()).exec();
        });
        state.PauseTiming();
        Query(*s.db, QStringLiteral("DELETE FROM WPLATY")).exec();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportPaymentsFloor)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
