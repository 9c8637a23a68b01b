// TRaportKores: a row per child, the template's four bands around them.

#include "letters_printout.h"

#include "grid_printout.h"
#include "report_engine.h"
#include "template_data_fields.h"
#include "template_field_values.h"
#include "template_render.h"

#include "store/database.h"
#include "store/institution.h"

#include <algorithm>

namespace printouts {

namespace {

struct LettersData {
    QList<ChildAddress> children;  // print order
    Institution institution;
    QString text1, text2, day, description;
};

// `beforeFirstDetail`: the title band prints before any child is counted,
// so its "L.p." reads 0; elsewhere the number is that of the last child
// printed, which a run reaches afresh every time.
DataFieldValues letterFields(std::shared_ptr<const LettersData> data, bool beforeFirstDetail)
{
    DataFieldValues fields;
    fields.knows = [](const QString& name) { return isDataFieldOffered(TemplateType::Letters, name); };
    fields.value = [data, beforeFirstDetail](const QString& name, const report::RunState& state) -> QString {
        if (name == QStringLiteral("Tekst 1"))
            return data->text1;
        if (name == QStringLiteral("Tekst 2"))
            return data->text2;
        if (name == QStringLiteral("Data operacji"))
            return data->day;
        if (name == QStringLiteral("Filtr danych"))
            return data->description;
        if (name == QStringLiteral("L.p."))
            return QString::number(beforeFirstDetail ? 0 : state.row + 1);
        if (std::optional<QString> v = institutionFieldValue(name, data->institution, TemplateDocument::Letters))
            return *v;
        if (state.row < 0 || state.row >= data->children.size())
            return {};
        return childFieldValue(name, data->children.at(state.row), data->institution.clientNumber).value_or(QString());
    };
    return fields;
}

std::optional<report::Band> bandOf(const TemplateBands& bands, int number, report::BandKind kind)
{
    std::optional<report::Band> band = bands.band(number);
    if (band)
        band->kind = kind;
    return band;
}

}  // namespace

bool templateUses(const PrintTemplate& layout, const QString& field)
{
    return std::any_of(layout.elements.begin(), layout.elements.end(), [&field](const TemplateElement& e) {
        return e.kind == ElementKind::DataField && e.content == field;
    });
}

std::unique_ptr<report::Job> makeLettersJob(Database& db, const LettersSelection& selection,
                                            const BuiltTemplate* layout)
{
    auto data = std::make_shared<LettersData>();
    const QHash<int, ChildAddress> addresses = readChildAddresses(db);
    for (int kod : letterChildren(db, selection))
        data->children.append(addresses.value(kod));
    data->institution = Institution::read(db);
    data->text1 = selection.text1;
    data->text2 = selection.text2;
    data->day = operationDate(selection.day);
    data->description = selection.description;

    report::Report definition;
    definition.title = QStringLiteral("Wydruk pism");
    TemplateBands bands, title;
    if (layout) {
        bands = buildTemplateBands(layout->layout, TemplateDocument::Letters, letterFields(data, false),
                                   layout->pictures);
        title = buildTemplateBands(layout->layout, TemplateDocument::Letters, letterFields(data, true),
                                   layout->pictures);
    }
    definition.setLandscape(bands.landscape);
    definition.titleBand = bandOf(title, 1, report::BandKind::Title);
    definition.detail = bandOf(bands, 2, report::BandKind::Detail);
    definition.summary = bandOf(bands, 3, report::BandKind::Summary);
    definition.pageFooter = bandOf(bands, 4, report::BandKind::PageFooter);
    definition.columns.count = bands.columns;
    definition.child = footerLineBand(report::footerLine(db), definition.bodyWidth());

    report::Rows rows;
    rows.fields = QStringList{QStringLiteral("KOD")};
    for (const ChildAddress& child : std::as_const(data->children))
        rows.rows.append(QVariantList{child.kod});
    return std::make_unique<report::ReportJob>(std::move(definition), std::move(rows));
}

}  // namespace printouts
