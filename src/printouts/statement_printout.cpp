// TRaportRozr: the statement's prepared lines between the template's bands.

#include "statement_printout.h"

#include "report_engine.h"
#include "statement_data.h"
#include "statement_fields.h"
#include "statement_layouts.h"
#include "template_render.h"

namespace printouts {

namespace {

using report::Primitive;

report::Item preparedItem(std::shared_ptr<const StatementLines> lines, std::optional<int> fixed = std::nullopt)
{
    return report::Item::drawn(QRectF(), [lines, fixed](const report::RunState& state) {
        int index = -1;
        if (fixed) {
            index = *fixed;
        } else {
            const QVariant v = state.value(lineField());
            if (v.isValid() && !v.isNull())
                index = v.toInt();
        }
        if (index < 0 || index >= lines->lines.size())
            return QList<Primitive>();
        // Exports read headings right-aligned.
        if (state.exporting() && index < lines->exportLines.size() && !lines->exportLines[index].isEmpty())
            return lines->exportLines[index];
        return lines->lines[index];
    });
}

report::Band titleBand(const StatementData& data, double width)
{
    report::Band band;
    band.kind = report::BandKind::Title;
    report::TextStyle title;
    title.font.pointSize = 12;
    title.font.bold = true;
    title.alignment = Qt::AlignHCenter | Qt::AlignTop;
    band.items << report::Item::label(QRectF(0, 0, width, 22), data.title, title);
    report::TextStyle sub;
    sub.alignment = Qt::AlignHCenter | Qt::AlignTop;
    double y = 24;
    for (const QString& line : data.subtitle) {
        band.items << report::Item::label(QRectF(0, y, width, 17), line, sub);
        y += 17;
    }
    band.height = y + 6;
    return band;
}

}  // namespace

bool isLandscapeStatement(const BuiltTemplate* layout)
{
    return layout && layout->layout.landscape;
}

std::unique_ptr<report::Job> makeStatementsJob(Database& db, const StatementOptions& options,
                                               const BuiltTemplate* layout)
{
    const bool landscape = isLandscapeStatement(layout);
    auto data = std::make_shared<const StatementData>(readStatementData(db, options, landscape));
    auto lines = std::make_shared<StatementLines>();
    report::Rows rows;
    std::optional<int> headingLine, totalsLine;
    if (landscape)
        layOutLandscape(*data, *lines, rows, headingLine, totalsLine);
    else
        layOutPortrait(*data, *lines, rows);

    report::Report definition;
    definition.title = data->title;
    const TemplateBands bands = layout ? buildTemplateBands(layout->layout, TemplateDocument::Statements,
                                                            statementFields(data, lines), layout->pictures)
                                       : TemplateBands{};
    definition.setLandscape(landscape);
    const bool history = data->options.historyFrom.has_value();
    const bool sections = !landscape || history;

    if (sections) {
        report::Group children;
        children.keyFields = QStringList{childField()};
        children.header = templateBand(bands, 2, report::BandKind::GroupHeader);
        if (bands.band(3) || landscape)
            children.footer = templateBand(bands, 3, report::BandKind::GroupFooter);
        if (landscape) {
            // A rule closes each child's lines.
            report::Band& footer = *children.footer;
            footer.items.prepend(report::Item::line(QPointF(0, 2), QPointF(definition.bodyWidth(), 2), 1.5));
            footer.height = std::max(footer.height, 6.0);
        }
        definition.groups = {children};
    }
    if (landscape) {
        if (!history)
            definition.titleBand = titleBand(*data, definition.bodyWidth());
        definition.columnHeader = preparedBand(report::BandKind::ColumnHeader, preparedItem(lines, headingLine));
        if (totalsLine)
            definition.summary = preparedBand(report::BandKind::Summary, preparedItem(lines, totalsLine));
    }
    definition.detail = preparedBand(report::BandKind::Detail, preparedItem(lines));
    if (bands.band(4))
        definition.pageFooter = templateBand(bands, 4, report::BandKind::PageFooter);
    definition.child = footerLineBand(data->footerLine, definition.bodyWidth());
    if (landscape && !history) {
        report::TextStyle style;
        style.font.pointSize = 8;
        definition.child->items.prepend(
            report::Item::pageNumber(QRectF(0, 0, 200, definition.child->height), QStringLiteral("Strona: {page}"), style));
    }
    return std::make_unique<report::ReportJob>(std::move(definition), std::move(rows));
}

}  // namespace printouts
