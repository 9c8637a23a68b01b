#include "report.h"

#include "browser/cell_text.h"

namespace report {

QVariant RunState::value(const QString& field) const
{
    if (!rows || row < 0 || row >= rows->rows.size())
        return {};
    const int index = rows->fieldIndex(field);
    return index < 0 ? QVariant() : rows->rows[row].value(index);
}

Item Item::label(const QRectF& rect, const QString& text, const TextStyle& style)
{
    Item item;
    item.kind = Kind::Text;
    item.rect = rect;
    item.text = text;
    item.style = style;
    return item;
}

Item Item::ofField(const QRectF& rect, const QString& field, const TextStyle& style, const QString& format)
{
    Item item = label(rect, {}, style);
    item.kind = Kind::Field;
    item.field = field;
    item.format = format;
    return item;
}

Item Item::computed(const QRectF& rect, std::function<QString(const RunState&)> compute, const TextStyle& style)
{
    Item item = label(rect, {}, style);
    item.kind = Kind::Computed;
    item.compute = std::move(compute);
    return item;
}

Item Item::sum(const QRectF& rect, const QString& field, const TextStyle& style, const QString& format)
{
    Item item = ofField(rect, field, style, format);
    item.kind = Kind::Sum;
    return item;
}

Item Item::count(const QRectF& rect, const QString& field, const TextStyle& style)
{
    Item item = ofField(rect, field, style);
    item.kind = Kind::Count;
    return item;
}

Item Item::folded(const QRectF& rect, const QString& field, Fold fold, const TextStyle& style)
{
    Item item = ofField(rect, field, style);
    item.kind = Kind::Folded;
    item.fold = std::move(fold);
    return item;
}

Item Item::pageNumber(const QRectF& rect, const QString& pattern, const TextStyle& style)
{
    Item item = label(rect, pattern, style);
    item.kind = Kind::PageNumber;
    return item;
}

Item Item::line(const QPointF& from, const QPointF& to, double width, const QColor& colour)
{
    Item item;
    item.kind = Kind::Line;
    item.rect = QRectF(from, to);  // not normalised: the corners are the ends
    item.lineWidth = width;
    item.lineColour = colour;
    return item;
}

Item Item::rectangle(const QRectF& rect, double width, const QColor& colour, const QColor& fill)
{
    Item item;
    item.kind = Kind::Rectangle;
    item.rect = rect;
    item.lineWidth = width;
    item.lineColour = colour;
    item.fill = fill;
    return item;
}

Item Item::drawn(const QRectF& rect, std::function<QList<Primitive>(const RunState&)> draw)
{
    Item item;
    item.kind = Kind::Drawn;
    item.rect = rect;
    item.draw = std::move(draw);
    return item;
}

Item Item::picture(const QRectF& rect, const QImage& image, bool keepAspect)
{
    Item item;
    item.kind = Kind::Picture;
    item.rect = rect;
    item.image = image;
    item.keepAspect = keepAspect;
    return item;
}

namespace {

// `lower` followed by `upper`, one band: the second's items move down by
// the first's height.
Band stacked(const std::optional<Band>& upper, const Band& lower, BandKind kind)
{
    if (!upper) {
        Band band = lower;
        band.kind = kind;
        return band;
    }
    Band band = *upper;
    band.kind = kind;
    band.stretch = upper->stretch || lower.stretch;
    for (Item item : lower.items) {
        item.rect.translate(0, upper->height);
        band.items.append(item);
    }
    band.height = upper->height + lower.height;
    return band;
}

void leftAlignCentred(Band& band)
{
    for (Item& item : band.items) {
        if (item.isText() && (item.style.alignment & Qt::AlignHCenter))
            item.style.alignment = (item.style.alignment & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft;
    }
}

}  // namespace

Report asTableExport(Report report)
{
    if (!report.description.contains(exportFilterMarker()))
        report.description.append(exportFilterMarker());
    // Headers and footers that a band's own condition leaves out stay out.
    if (report.pageHeader && report.pageHeader->visible)
        report.titleBand = report.titleBand ? stacked(report.pageHeader, *report.titleBand, BandKind::Title)
                                            : stacked(std::nullopt, *report.pageHeader, BandKind::Title);
    report.pageHeader.reset();
    for (std::optional<Band>* footer : {&report.pageFooter, &report.child}) {
        if (*footer && (*footer)->visible)
            report.summary = stacked(report.summary, **footer, BandKind::Summary);
        footer->reset();
    }
    for (std::optional<Band>* band : {&report.titleBand, &report.pageHeader, &report.columnHeader, &report.detail,
                                      &report.summary, &report.pageFooter, &report.child})
        if (*band)
            leftAlignCentred(**band);
    for (Group& group : report.groups) {
        if (group.header)
            leftAlignCentred(*group.header);
        if (group.footer)
            leftAlignCentred(*group.footer);
    }
    return report;
}

QString formatValue(const QVariant& value, const QString& format)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return cell::text(value, FieldType::Float, format);
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return cell::text(value, format.contains(QLatin1Char('.')) ? FieldType::Float : FieldType::Integer, format);
    case QMetaType::QDate:
        return cell::text(value, FieldType::Date, format);
    case QMetaType::QTime:
        return cell::text(value, FieldType::Time, format);
    case QMetaType::QDateTime:
        return cell::text(value, FieldType::DateTime, format);
    default:
        return value.isNull() ? QString() : value.toString();
    }
}

}  // namespace report
