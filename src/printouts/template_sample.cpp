#include "template_sample.h"

#include "report_engine.h"
#include "template_data_fields.h"

namespace printouts {

namespace {

TemplateDocument documentOf(TemplateType type)
{
    switch (type) {
    case TemplateType::Letters: return TemplateDocument::Letters;
    case TemplateType::Statements: return TemplateDocument::Statements;
    case TemplateType::Confirmations: return TemplateDocument::Confirmations;
    case TemplateType::Invoices: return TemplateDocument::Invoices;
    }
    return TemplateDocument::Letters;
}

}  // namespace

std::unique_ptr<report::Job> makeTemplateSampleJob(const PrintTemplate& layout, TemplateType type,
                                                   const ChildAddress& child, const Institution& institution,
                                                   const TemplatePictures& pictures, QDate today)
{
    const TemplateDocument document = documentOf(type);
    DataFieldValues fields;
    fields.knows = [](const QString& field) { return !isBandMarker(field); };
    fields.value = [child, institution, document, today](const QString& field, const report::RunState&) {
        if (std::optional<QString> v = childFieldValue(field, child, institution.clientNumber))
            return *v;
        if (std::optional<QString> v = institutionFieldValue(field, institution, document))
            return *v;
        if (field == QStringLiteral("Data operacji"))
            return operationDate(today);
        if (field == QStringLiteral("Miesiąc raportu"))
            return reportMonth(today.year(), today.month());
        if (field == QStringLiteral("L.p."))
            return QStringLiteral("1");
        return field;
    };

    report::Band band;
    band.kind = report::BandKind::Title;
    band.height = 0;
    // Shapes and pictures first: they lie beneath the texts.
    for (bool beneath : {true, false})
        for (const TemplateElement& e : layout.elements) {
            if (e.liesBeneath() != beneath)
                continue;
            for (const report::Item& item : elementItems(e, 0, fields, pictures)) {
                band.items << item;
                band.height = std::max(band.height, item.rect.bottom());
            }
        }

    report::Report r;
    r.title = QStringLiteral("Podgląd szablonu");
    r.pageSize = layout.landscape ? report::a4Landscape() : report::a4Portrait();
    // Elements above or left of the printable area still show.
    for (const report::Item& item : std::as_const(band.items)) {
        r.marginLeft = std::min(r.marginLeft, report::defaultMargin + std::min(0.0, item.rect.left()));
        r.marginTop = std::min(r.marginTop, report::defaultMargin + std::min(0.0, item.rect.top()));
    }
    for (report::Item& item : band.items)
        item.rect.translate(report::defaultMargin - r.marginLeft, report::defaultMargin - r.marginTop);
    band.height += report::defaultMargin - r.marginTop;
    r.titleBand = band;
    return std::make_unique<report::ReportJob>(r, report::Rows{});
}

}  // namespace printouts
