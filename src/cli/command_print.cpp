// lunawactl print: printouts without a screen, to PDF or an export file.
// `print grid` prints a table's rows through the list printout of the
// browsers, with the rights of the login.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"
#include "print_kinds.h"

#include "browser/cell_text.h"
#include "browser/module.h"
#include "printouts/exports.h"
#include "printouts/grid_printout.h"
#include "printouts/page_painter.h"
#include "printouts/template_layout_text.h"
#include "printouts/template_picker.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/table.h"

#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace cli {

namespace {

QList<PrintKind>& kinds()
{
    static QList<PrintKind> list;
    return list;
}

QString printSynopsis()
{
    QList<PrintKind> sorted = kinds();
    std::sort(sorted.begin(), sorted.end(), [](const PrintKind& a, const PrintKind& b) { return a.name < b.name; });
    QStringList lines;
    for (const PrintKind& kind : sorted)
        lines << QStringLiteral("print ") + kind.synopsis;
    return lines.join(QStringLiteral("\n  "));
}

// Writes the job's pages to --pdf FILE or to --export FILE in the format of
// its extension; exactly one of them.
int writeOutput(Context& ctx, const report::Job& job)
{
    const std::optional<QString> pdf = optionValue(ctx, QStringLiteral("pdf"));
    const std::optional<QString> exported = optionValue(ctx, QStringLiteral("export"));
    if (pdf.has_value() == exported.has_value())
        throw UsageError(QStringLiteral("Podaj jedno z: --pdf PLIK albo --export PLIK"));
    const report::ExportFormat* format = nullptr;
    if (exported) {
        format = report::formatOfFile(*exported);
        if (!format)
            throw UsageError(QStringLiteral("Nieznany format pliku: %1 (znane: %2)")
                                 .arg(*exported, [] {
                                     QStringList known;
                                     for (const report::ExportFormat& f : report::exportFormats())
                                         known << QStringLiteral(".") + f.extension;
                                     return known.join(QStringLiteral(", "));
                                 }()));
    }
    const report::PreparedPages pages = job.run(report::Purpose::Pages);
    const QString message = pdf ? report::writePdf(pages, *pdf) : report::exportReport(pages, &job, *format, *exported);
    if (!message.isEmpty()) {
        ctx.err << message << '\n';
        return Failed;
    }
    ctx.out << QStringLiteral("STRONY=%1\n").arg(pages.pages.size());
    return Success;
}

const FieldDef& requireField(const TableDef& def, const QString& name, const QString& option)
{
    const FieldDef* field = def.field(name.trimmed().toUpper());
    if (!field)
        throw UsageError(QStringLiteral("Tabela %1 nie ma pola %2 (%3)").arg(def.name, name, option));
    return *field;
}

const QString gridSynopsis = QStringLiteral(
    "grid TABELA [--fields POLA] [--order POLA] [--filter \"POLE=WARTOŚĆ\"]... [--sum POLE]... (--pdf PLIK | --export PLIK)");

struct FieldFilter {
    QString field;
    FieldType type;
    QString text;  // the value as the grid shows it
};

int runGrid(Context& ctx)
{
    if (ctx.arguments.size() != 1)
        throw UsageError(QStringLiteral("Użycie: lunawactl print ") + gridSynopsis);
    const TableDef* def = schema::table(ctx.arguments.first().toUpper());
    if (!def)
        throw UsageError(QStringLiteral("Nieznana tabela: %1").arg(ctx.arguments.first()));

    QStringList order;
    if (const auto fields = optionValue(ctx, QStringLiteral("order"))) {
        for (const QString& name : schema::splitFieldList(*fields))
            order << requireField(*def, name, QStringLiteral("--order")).name;
    }
    QList<FieldFilter> filters;
    QStringList described;
    for (const QString& filter : ctx.options.values(QStringLiteral("filter"))) {
        const qsizetype eq = filter.indexOf(QLatin1Char('='));
        if (eq <= 0)
            throw UsageError(QStringLiteral("Filtr ma postać POLE=WARTOŚĆ: %1").arg(filter));
        const FieldDef& field = requireField(*def, filter.left(eq), QStringLiteral("--filter"));
        const QString value = filter.mid(eq + 1);
        const std::optional<QVariant> parsed = cell::fromText(value, field.type);
        if (!parsed)
            throw UsageError(QStringLiteral("Wartość „%1” nie pasuje do pola %2").arg(value, field.name));
        filters.append({field.name, field.type, cell::text(*parsed, field.type)});
        described << field.displayCaption() + QStringLiteral(" = ") + value;
    }
    QStringList shown;
    if (const auto fields = optionValue(ctx, QStringLiteral("fields"))) {
        for (const QString& name : schema::splitFieldList(*fields))
            shown << requireField(*def, name, QStringLiteral("--fields")).name;
    }
    QStringList summed;
    for (const QString& name : ctx.options.values(QStringLiteral("sum")))
        summed << requireField(*def, name, QStringLiteral("--sum")).name;

    int status = Success;
    auto session = openSession(ctx, status);
    if (!session)
        return status;

    Table table(*session->db, def->name);
    table.setOrdering(order.join(QLatin1Char(';')));
    if (!filters.isEmpty()) {
        // Compared as the grid shows the values: no user text reaches SQL.
        table.setRowTest([filters](const Table& t) {
            return std::all_of(filters.begin(), filters.end(), [&](const FieldFilter& f) {
                return cell::text(t.value(f.field), f.type) == f.text;
            });
        });
    }
    table.open();  // refuses a table the login may not read

    DataSet ds;
    ds.name = def->name;
    ds.table = &table;
    if (shown.isEmpty()) {
        ds.addRemainingFields();
    } else {
        for (const QString& name : shown)
            ds.fields.append(FieldView::column(name, table.field(name).def.displayCaption()));
    }
    for (FieldView& view : ds.fields) {
        const FieldType type = table.field(view.name).def.type;
        if (cell::isNumeric(type))
            view.alignment = Qt::AlignRight;
        if (type == FieldType::Float)
            view.displayFormat = QStringLiteral("0.00##");
        if (summed.contains(view.name))
            view.mark = 1;
        if (type == FieldType::Graphic)
            view.visible = false;
    }
    report::GridLayout layout = report::gridLayoutOfDataSet(ds, def->name);
    layout.filterDescription = described.join(QStringLiteral(", "));
    layout.footerLine = report::footerLine(*session->db);
    const auto job = report::makeGridPrintout(layout, report::gridRowsOfDataSet(ds, layout));
    return writeOutput(ctx, *job);
}

int runPrint(Context& ctx)
{
    return guarded(ctx, [&] {
        if (ctx.arguments.isEmpty())
            throw UsageError(QStringLiteral("Użycie: lunawactl ") + printSynopsis());
        const QString name = ctx.arguments.takeFirst();
        for (const PrintKind& kind : kinds())
            if (kind.name == name)
                return kind.run(ctx);
        throw UsageError(QStringLiteral("Nieznany wydruk: %1\nUżycie: lunawactl %2").arg(name, printSynopsis()));
    });
}

const PrintKindRegistration grid{{
    QStringLiteral("grid"),
    gridSynopsis,
    runGrid,
}};

const Registration print{{
    QStringLiteral("print"),
    QStringLiteral("print grid TABELA [--fields POLA] [--order POLA] [--filter \"POLE=WARTOŚĆ\"]... [--sum POLE]... "
                   "(--pdf PLIK | --export PLIK)\n  print RODZAJ ...   (bez RODZAJU: lista wydruków)"),
    runPrint,
    {
        {QStringLiteral("fields"), QStringLiteral("Drukowane kolumny: pola po średniku."), QStringLiteral("POLA")},
        {QStringLiteral("order"), QStringLiteral("Porządek: pola po średniku."), QStringLiteral("POLA")},
        {QStringLiteral("filter"), QStringLiteral("Warunek POLE=WARTOŚĆ (można powtarzać)."),
         QStringLiteral("POLE=WARTOŚĆ")},
        {QStringLiteral("sum"), QStringLiteral("Pole sumowane (można powtarzać)."), QStringLiteral("POLE")},
        {QStringLiteral("template"), QStringLiteral("Nazwa szablonu."), QStringLiteral("NAZWA")},
        {QStringLiteral("payment"), QStringLiteral("Identyfikator wpłaty (WPLATY.ID)."), QStringLiteral("ID")},
        {QStringLiteral("day"), QStringLiteral("Data wydruku RRRR-MM-DD."), QStringLiteral("RRRR-MM-DD")},
        {QStringLiteral("mode"), QStringLiteral("Rozliczenie zestawienia 0..4."), QStringLiteral("N")},
        {QStringLiteral("fee-group"), QStringLiteral("Grupa opłat (tryby 3 i 4)."), QStringLiteral("NAZWA")},
        {QStringLiteral("history-from"), QStringLiteral("Historia od miesiąca."), QStringLiteral("RRRR-MM")},
        {QStringLiteral("unapproved"), QStringLiteral("Tylko niezatwierdzone naliczenia miesiąca.")},
        {QStringLiteral("no-payments"), QStringLiteral("Bez wpłat i sald.")},
        {QStringLiteral("confirmations"), QStringLiteral("Potwierdzenia wpłat.")},
        {QStringLiteral("pesel"), QStringLiteral("Kolumna PESEL.")},
        {QStringLiteral("extra"), QStringLiteral("Dodatkowe dane dzieci.")},
        {QStringLiteral("debt-over"), QStringLiteral("Tylko zadłużeni powyżej kwoty."), QStringLiteral("KWOTA")},
        {QStringLiteral("sort"), QStringLiteral("Porządek dzieci."), QStringLiteral("alphabetical|defined")},
        {QStringLiteral("without-help-centre"), QStringLiteral("Bez opłat pokrywanych przez ośrodek pomocy.")},
        {QStringLiteral("copy"), QStringLiteral("Oryginał/kopia."), QStringLiteral("ETYKIETA")},
        {QStringLiteral("inactive"), QStringLiteral("Także nieaktywne dzieci.")},
        {QStringLiteral("children"), QStringLiteral("Kody wybranych dzieci, po przecinku."), QStringLiteral("K,...")},
        {QStringLiteral("day"), QStringLiteral("Data wydruku RRRR-MM-DD."), QStringLiteral("RRRR-MM-DD")},
        {QStringLiteral("text1"), QStringLiteral("Tekst 1 pism."), QStringLiteral("TEKST")},
        {QStringLiteral("text2"), QStringLiteral("Tekst 2 pism."), QStringLiteral("TEKST")},
        {QStringLiteral("month-view"), QStringLiteral("Widok całego miesiąca.")},
        {QStringLiteral("colours"), QStringLiteral("Obecności w kolorach.")},
        {QStringLiteral("pdf"), QStringLiteral("Plik PDF."), QStringLiteral("PLIK")},
        {QStringLiteral("export"), QStringLiteral("Plik eksportu; format z rozszerzenia."), QStringLiteral("PLIK")},
    },
}};

}  // namespace

int writePrintOutput(Context& ctx, const report::Job& job)
{
    return writeOutput(ctx, job);
}

PrintKindRegistration::PrintKindRegistration(PrintKind kind)
{
    kinds().append(std::move(kind));
}

bool templateOption(Context& ctx, Database& db, printouts::TemplateType type, const QString& missing,
                    std::optional<printouts::BuiltTemplate>& built)
{
    const QList<printouts::StoredTemplate> templates = printouts::templatesOfType(db, type);
    const printouts::StoredTemplate* chosen = templates.isEmpty() ? nullptr : &templates.first();
    if (const auto name = optionValue(ctx, QStringLiteral("template"))) {
        const auto named = std::find_if(templates.begin(), templates.end(),
                                        [&](const printouts::StoredTemplate& t) { return t.name == *name; });
        if (named == templates.end()) {
            ctx.err << missing.arg(*name) << '\n';
            return false;
        }
        chosen = &*named;
    }
    if (chosen) {
        built.emplace();
        built->id = chosen->id;
        built->layoutText = chosen->layoutText;
        built->layout = printouts::readLayout(chosen->layoutText);
        built->pictures = printouts::readTemplatePictures(db, built->layout);
    }
    return true;
}

}  // namespace cli
