// TRapPodst: the list printout of a grid, built as a report definition.

#include "grid_printout.h"

#include "report_engine.h"
#include "text_layout.h"

#include "browser/cell_text.h"
#include "browser/module.h"
#include "store/institution.h"
#include "store/table.h"

namespace report {

namespace {

constexpr double firstColumnX = 4;
constexpr double columnGap = 4;
constexpr double itemTop = 1;
constexpr double filterWidth = 706;

QString valueField(int column) { return QStringLiteral("v%1").arg(column); }
QString textField(int column) { return QStringLiteral("t%1").arg(column); }

TextFont pointFont(double size)
{
    TextFont font;
    font.pointSize = size;
    return font;
}

TextStyle styleOf(const TextFont& font, const QColor& colour, Qt::Alignment alignment)
{
    TextStyle style;
    style.font = font;
    style.colour = colour;
    style.alignment = (alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
    return style;
}

double lineHeightOf(const TextFont& font)
{
    return MeasuredFont(font).lineHeight();
}

// The summary's value counts: " " at the start, then a line "V:" with the
// count right-aligned in six characters per value, in order of first
// appearance. "." and "_" count as "D". A line is matched whole, so a
// value that merely begins like another ("A" and "A:x") keeps its own count.
QString countValue(const QString& summary, QString value)
{
    if (value == QLatin1String(".") || value == QLatin1String("_"))
        value = QStringLiteral("D");
    const QString head = QLatin1Char('\n') + value + QLatin1Char(':');
    for (qsizetype at = summary.indexOf(head); at >= 0; at = summary.indexOf(head, at + 1)) {
        const qsizetype countStart = at + head.size();
        qsizetype lineEnd = summary.indexOf(QLatin1Char('\n'), countStart);
        if (lineEnd < 0)
            lineEnd = summary.size();
        bool number = false;
        const int count = QStringView(summary).mid(countStart, lineEnd - countStart).trimmed().toInt(&number);
        if (!number || lineEnd - countStart < 6)
            continue;
        QString result = summary;
        result.replace(countStart, lineEnd - countStart, QStringLiteral("%1").arg(count + 1, 6));
        return result;
    }
    return summary + head + QStringLiteral("%1").arg(1, 6);
}

Fold valueCounts()
{
    Fold fold;
    fold.start = QStringLiteral(" ");
    fold.step = [](const QVariant& summary, const QVariant& value) {
        return QVariant(countValue(summary.toString(), value.toString()));
    };
    fold.text = [](const QVariant& summary) { return summary.toString(); };
    return fold;
}

Report gridReport(const GridLayout& layout)
{
    Report report;
    report.title = layout.title;
    const double width = report.bodyWidth();

    Band header;
    header.kind = BandKind::PageHeader;
    const TextFont titleFont = pointFont(10);
    const double titleHeight = lineHeightOf(titleFont);
    header.items.append(Item::label(QRectF(0, 0, width, titleHeight), layout.title,
                                    styleOf(titleFont, Qt::black, Qt::AlignHCenter)));
    double headerHeight = titleHeight;
    if (!layout.filterDescription.isEmpty()) {
        TextStyle style = styleOf(titleFont, Qt::black, Qt::AlignHCenter);
        style.wordWrap = true;
        style.autoStretch = true;
        header.items.append(Item::label(QRectF((width - filterWidth) / 2, headerHeight + 2, filterWidth, titleHeight),
                                        layout.filterDescription, style));
        headerHeight += 2 + titleHeight;
    }
    header.height = headerHeight + 6;
    header.stretch = true;
    report.pageHeader = header;

    Band captions;
    captions.kind = BandKind::ColumnHeader;
    Band detail;
    detail.kind = BandKind::Detail;
    Band summary;
    summary.kind = BandKind::Summary;
    summary.stretch = true;
    double captionHeight = 0, detailHeight = 0, summaryHeight = 0;
    bool summed = false;
    double x = firstColumnX;
    for (int i = 0; i < layout.columns.size(); ++i) {
        const GridColumn& column = layout.columns[i];
        const double captionLine = lineHeightOf(column.captionFont);
        const double line = lineHeightOf(column.font);
        captions.items.append(Item::label(QRectF(x, itemTop, column.width, captionLine), column.caption,
                                          styleOf(column.captionFont, column.captionColour, column.alignment)));
        const TextStyle style = styleOf(column.font, column.colour, column.alignment);
        detail.items.append(Item::ofField(QRectF(x, itemTop, column.width, line), textField(i), style));
        if (column.summed) {
            summed = true;
            const QRectF rect(x, itemTop, column.width, line);
            if (column.numeric) {
                summary.items.append(
                    Item::sum(rect, valueField(i), style, column.floating ? column.displayFormat : QString()));
            } else {
                TextStyle counts = style;
                counts.autoStretch = true;
                summary.items.append(Item::folded(rect, textField(i), valueCounts(), counts));
            }
            summaryHeight = qMax(summaryHeight, line);
        }
        captionHeight = qMax(captionHeight, captionLine);
        detailHeight = qMax(detailHeight, line);
        x += column.width + columnGap;
    }
    captions.height = captionHeight + 2 * itemTop;
    detail.height = detailHeight + 2 * itemTop;
    report.columnHeader = captions;
    report.detail = detail;
    if (summed) {
        summary.height = summaryHeight + 2 * itemTop;
        report.summary = summary;
    }

    Band footer;
    footer.kind = BandKind::PageFooter;
    const TextFont small = pointFont(8);
    const double smallHeight = lineHeightOf(small);
    // The footer line names the institution and may be long: it gets all
    // but the page number's room, or its start would be cut off.
    const double numberWidth = width / 8;
    footer.items.append(Item::pageNumber(QRectF(0, itemTop, numberWidth, smallHeight), QStringLiteral("Strona: {page}"),
                                         styleOf(small, Qt::black, Qt::AlignLeft)));
    footer.items.append(Item::label(QRectF(numberWidth, itemTop, width - numberWidth, smallHeight), layout.footerLine,
                                    styleOf(small, Qt::black, Qt::AlignRight)));
    footer.height = smallHeight + 2 * itemTop;
    report.pageFooter = footer;
    return report;
}

}  // namespace

std::unique_ptr<Job> makeGridPrintout(const GridLayout& layout, QList<GridRow> rows)
{
    Rows data;
    for (int i = 0; i < layout.columns.size(); ++i)
        data.fields << valueField(i) << textField(i);
    data.rows.reserve(rows.size());
    for (const GridRow& row : rows) {
        QVariantList values;
        values.reserve(2 * layout.columns.size());
        for (int i = 0; i < layout.columns.size(); ++i)
            values << row.values.value(i) << row.texts.value(i);
        data.rows.append(std::move(values));
    }
    return std::make_unique<ReportJob>(gridReport(layout), std::move(data));
}

namespace {

// A width that shows the caption and a typical value of the field.
double defaultWidth(const FieldDef& def, const QString& caption, const TextFont& font)
{
    const MeasuredFont measured(font);
    const double digit = measured.width(QStringLiteral("0"));
    double chars = 10;
    switch (def.type) {
    case FieldType::String:
        chars = qBound(4, def.width, 30);
        break;
    case FieldType::Date:
        chars = 10;
        break;
    case FieldType::Time:
        chars = 5;
        break;
    case FieldType::DateTime:
        chars = 16;
        break;
    case FieldType::Memo:
        chars = 30;
        break;
    default:
        chars = 8;
        break;
    }
    return qMax(measured.width(caption) + 4, chars * digit + 4);
}

}  // namespace

GridLayout gridLayoutOfDataSet(const DataSet& ds, const QString& title)
{
    GridLayout layout;
    layout.title = title;
    const TextFont font = pointFont(8);
    for (const FieldView& view : ds.fields) {
        if (!view.visible || !ds.table || !ds.table->hasField(view.name))
            continue;
        const FieldDef& def = ds.table->field(view.name).def;
        GridColumn column;
        column.field = view.name;
        column.caption = view.caption.isEmpty() ? def.displayCaption() : view.caption;
        column.captionFont = font;
        column.font = font;
        column.alignment = view.alignment;
        column.width = defaultWidth(def, column.caption, font);
        column.summed = view.mark != 0;
        column.numeric = cell::isNumeric(def.type);
        column.floating = def.type == FieldType::Float;
        column.displayFormat = view.displayFormat;
        layout.columns.append(column);
    }
    return layout;
}

QList<GridRow> gridRowsOfDataSet(const DataSet& ds, const GridLayout& layout)
{
    QList<GridRow> rows;
    if (!ds.table)
        return rows;
    const Table& table = *ds.table;
    QList<FieldType> types;
    for (const GridColumn& column : layout.columns)
        types.append(table.hasField(column.field) ? table.field(column.field).def.type : FieldType::String);
    rows.reserve(table.rowCount());
    // Read by index: the cursor does not move, so nothing bound to it redraws.
    for (int r = 0; r < table.rowCount(); ++r) {
        GridRow row;
        for (int c = 0; c < layout.columns.size(); ++c) {
            const GridColumn& column = layout.columns[c];
            const QVariant value = table.hasField(column.field) ? table.valueAt(r, column.field) : QVariant();
            row.values.append(value);
            row.texts.append(cell::text(value, types[c], column.displayFormat));
        }
        rows.append(std::move(row));
    }
    return rows;
}

QString footerLine(Database& db)
{
    const Institution institution = Institution::read(db);
    return QStringLiteral("Vendrix \"Lunawa\" dla ") + institution.name + QStringLiteral(", ") + institution.address
        + QLatin1Char(' ');
}

}  // namespace report
