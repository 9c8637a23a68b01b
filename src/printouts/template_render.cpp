#include "template_render.h"

#include "code39.h"
#include "template_data_fields.h"
#include "text_layout.h"

namespace printouts {

namespace {

// The top of the first data field named `marker`, if any.
std::optional<int> markerTop(const PrintTemplate& layout, const QString& marker)
{
    for (const TemplateElement& element : layout.elements)
        if (element.kind == ElementKind::DataField && element.content == marker)
            return element.box.top();
    return std::nullopt;
}

report::TextStyle textStyleOf(const TemplateElement& element)
{
    report::TextStyle style;
    style.font = textFont(element.font);
    const QColor colour = colourOf(element.font.colour);
    style.colour = colour.isValid() ? colour : QColor(Qt::black);
    style.alignment = qtAlignment(element.alignment) | Qt::AlignTop;
    style.wordWrap = true;
    style.clip = true;
    return style;
}

QList<report::Item> shapeItems(const TemplateElement& element, const QRectF& rect)
{
    const double width = qMax(0, element.font.size);
    const QColor colour = colourOf(element.font.colour);
    if (width <= 0 || !colour.isValid())
        return {};
    switch (shapeVariantOf(element.content)) {
    case ShapeVariant::LeftAndRight:
        return {report::Item::line(rect.topLeft(), rect.bottomLeft(), width, colour),
                report::Item::line(rect.topRight(), rect.bottomRight(), width, colour)};
    case ShapeVariant::TopAndBottom:
        return {report::Item::line(rect.topLeft(), rect.topRight(), width, colour),
                report::Item::line(rect.bottomLeft(), rect.bottomRight(), width, colour)};
    case ShapeVariant::Frame:
        break;
    }
    return {report::Item::rectangle(rect, width, colour)};
}

// Bars over the box's height less one text line, the value centred under
// them; a box too low for both gets bars over all of it and the text below.
report::Item barcodeItem(const QRectF& rect, const report::TextStyle& style, const DataFieldValues& fields)
{
    const report::MeasuredFont font(style.font);
    const double lineHeight = font.lineHeight();
    const double ascent = font.ascent();
    const double barsHeight = rect.height() >= 2 * lineHeight ? rect.height() - lineHeight : rect.height();
    const QColor colour = style.colour;
    const report::TextFont textFont = style.font;
    const double width = rect.width();
    auto value = fields.value;
    return report::Item::drawn(rect, [=](const report::RunState& state) {
        QList<report::Primitive> primitives;
        const QString code = value ? value(field::barcode(), state) : QString();
        if (code.isEmpty())
            return primitives;
        for (const report::Box& bar : code39Bars(code, QRectF(0, 0, width, barsHeight)))
            primitives.append(bar);
        report::TextBox text;
        text.rect = QRectF(0, barsHeight, width, lineHeight);
        text.lines = QStringList{code};
        text.font = textFont;
        text.colour = colour;
        text.alignment = Qt::AlignHCenter | Qt::AlignTop;
        text.lineHeight = lineHeight;
        text.ascent = ascent;
        text.clip = false;
        primitives.append(text);
        return primitives;
    });
}

}  // namespace

BandSplit splitBands(const PrintTemplate& layout, TemplateDocument document)
{
    BandSplit split;
    const int count = int(layout.elements.size());
    if (document == TemplateDocument::Confirmations) {
        split.enabled[2] = true;
        for (int i = 0; i < count; ++i)
            split.elements[2].append(i);
        return split;
    }
    const bool letters = document == TemplateDocument::Letters;
    if (letters)
        split.separator = markerTop(layout, field::separator()).value_or(0);
    const std::optional<int> end = markerTop(layout, field::endSeparator());
    const std::optional<int> footer = markerTop(layout, field::footer());
    const int S = split.separator;
    int E = end ? *end : (footer ? *footer : unbounded);
    int F = footer ? *footer : unbounded;
    if (E < S)
        E = S;
    if (end && footer && F < E)
        F = E;
    split.endSeparator = E;
    split.footer = F;

    split.enabled[1] = letters && S > 0;
    split.enabled[2] = letters ? S < E : true;
    split.enabled[3] = E < F;
    split.enabled[4] = F != unbounded;
    split.offset = {0, 0, letters ? S : 0, E, F};

    for (int i = 0; i < count; ++i) {
        const int y = layout.elements[i].box.top();
        if (split.enabled[1] && y < S)
            split.elements[1].append(i);
        if (split.enabled[2] && (letters ? (S - 1 <= y && y < E) : (E > 0 && y < E)))
            split.elements[2].append(i);
        if (split.enabled[3] && E - 1 <= y && y < F)
            split.elements[3].append(i);
        if (split.enabled[4] && y >= F - 1)
            split.elements[4].append(i);
    }
    return split;
}

QList<report::Item> elementItems(const TemplateElement& element, int offset, const DataFieldValues& fields,
                                 const TemplatePictures& pictures)
{
    const QRectF rect(element.box.left(), element.box.top() - offset, element.box.width(), element.box.height());
    switch (element.kind) {
    case ElementKind::FixedText:
        return {report::Item::label(rect, element.content, textStyleOf(element))};
    case ElementKind::DataField: {
        const QString name = element.content;
        if (isBandMarker(name) || !fields.knows || !fields.knows(name))
            return {};
        const report::TextStyle style = textStyleOf(element);
        if (name == field::barcode())
            return {barcodeItem(rect, style, fields)};
        auto value = fields.value;
        return {report::Item::computed(
            rect, [value, name](const report::RunState& state) { return value ? value(name, state) : QString(); },
            style)};
    }
    case ElementKind::Shape:
        return shapeItems(element, rect);
    case ElementKind::Picture: {
        const std::optional<int> code = element.pictureCode();
        return {report::Item::picture(rect, code ? pictures.value(*code) : QImage())};
    }
    }
    return {};
}

TemplateBands buildTemplateBands(const PrintTemplate& layout, TemplateDocument document,
                                 const DataFieldValues& fields, const TemplatePictures& pictures)
{
    TemplateBands built;
    built.landscape = layout.landscape;
    built.columns = document == TemplateDocument::Letters ? qMax(1, layout.columns) : 1;
    const BandSplit split = splitBands(layout, document);
    for (int number = 1; number <= bandCount; ++number) {
        if (!split.isEnabled(number))
            continue;
        report::Band band;
        band.height = 0;
        QList<report::Item> beneath, texts;
        for (int index : split.elements[number]) {
            const TemplateElement& element = layout.elements[index];
            const QList<report::Item> items = elementItems(element, split.offset[number], fields, pictures);
            (element.liesBeneath() ? beneath : texts) << items;
            if (!items.isEmpty())
                band.height = qMax(band.height, double(element.box.top() - split.offset[number] + element.box.height()));
        }
        band.items = beneath + texts;
        built.bands[number] = std::move(band);
    }
    return built;
}

report::Band footerLineBand(const QString& footerLine, double width)
{
    report::TextStyle style;
    style.font.family = QStringLiteral("Arial");
    style.font.pointSize = 8;
    style.alignment = Qt::AlignRight | Qt::AlignTop;
    const double height = report::MeasuredFont(style.font).lineHeight();
    report::Band band;
    band.kind = report::BandKind::Child;
    band.height = height;
    band.items.append(report::Item::label(QRectF(0, 0, width, height), footerLine, style));
    return band;
}

report::Band preparedBand(report::BandKind kind, report::Item item)
{
    report::Band band;
    band.kind = kind;
    band.height = 0;
    band.items.append(std::move(item));
    return band;
}

report::Band templateBand(const TemplateBands& bands, int number, report::BandKind kind)
{
    report::Band band = bands.band(number).value_or(report::Band{});
    if (!bands.band(number))
        band.height = 0;
    band.kind = kind;
    return band;
}

}  // namespace printouts
