#include "print_template.h"

#include "template_data_fields.h"
#include "template_layout_text.h"

#include <cmath>

namespace printouts {

std::optional<TemplateType> templateTypeOf(const QString& code)
{
    bool ok = false;
    const int n = code.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 4)
        return std::nullopt;
    return TemplateType(n);
}

QString templateTypeCode(TemplateType type)
{
    return QString::number(int(type));
}

QString elementKindName(ElementKind kind)
{
    switch (kind) {
    case ElementKind::FixedText: return QStringLiteral("Stały tekst");
    case ElementKind::DataField: return QStringLiteral("Zmienny tekst");
    case ElementKind::Shape: return QStringLiteral("Kształt");
    case ElementKind::Picture: return QStringLiteral("Obraz");
    }
    return {};
}

std::optional<ElementKind> elementKindOf(const QString& name)
{
    for (ElementKind k : {ElementKind::FixedText, ElementKind::DataField, ElementKind::Shape, ElementKind::Picture})
        if (elementKindName(k) == name)
            return k;
    return std::nullopt;
}

QString shapeVariantName(ShapeVariant variant)
{
    switch (variant) {
    case ShapeVariant::Frame: return QStringLiteral("Ramka");
    case ShapeVariant::LeftAndRight: return QStringLiteral("Lewa i prawa");
    case ShapeVariant::TopAndBottom: return QStringLiteral("Góra i dół");
    }
    return {};
}

ShapeVariant shapeVariantOf(const QString& content)
{
    if (content == shapeVariantName(ShapeVariant::LeftAndRight))
        return ShapeVariant::LeftAndRight;
    if (content == shapeVariantName(ShapeVariant::TopAndBottom))
        return ShapeVariant::TopAndBottom;
    return ShapeVariant::Frame;
}

Qt::Alignment qtAlignment(TextAlignment alignment)
{
    switch (alignment) {
    case TextAlignment::Right: return Qt::AlignRight | Qt::AlignTop;
    case TextAlignment::Centre: return Qt::AlignHCenter | Qt::AlignTop;
    case TextAlignment::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

int fontHeightForSize(int points)
{
    return -int(std::lround(points * 96.0 / 72.0));
}

TemplateElement TemplateElement::created(ElementKind kind, QPoint topLeft)
{
    TemplateElement e;
    e.kind = kind;
    e.box = QRect(topLeft, QSize(150, 17));
    if (kind == ElementKind::Shape) {
        e.content = shapeVariantName(ShapeVariant::Frame);
        e.font.size = 1;
    } else {
        e.content = elementKindName(kind);
    }
    return e;
}

std::optional<int> TemplateElement::pictureCode() const
{
    if (kind != ElementKind::Picture)
        return std::nullopt;
    const QString word = content.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    bool ok = false;
    const int code = word.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return code;
}

bool TemplateElement::keepsOwnCharset() const
{
    return kind == ElementKind::DataField && content == field::barcode();
}

int PrintTemplate::add(const TemplateElement& element)
{
    if (element.liesBeneath()) {
        elements.prepend(element);
        return 0;
    }
    elements.append(element);
    return int(elements.size()) - 1;
}

void PrintTemplate::load(const QString& layoutText)
{
    *this = readLayout(layoutText);  // throws before anything changes
}

QString PrintTemplate::layoutText() const
{
    return writeLayout(*this);
}

QSize PrintTemplate::printableSize() const
{
    return landscape ? QSize(printableHeightPortrait, printableWidthPortrait)
                     : QSize(printableWidthPortrait, printableHeightPortrait);
}

namespace {

// The usual values of the system colours, by their index.
QColor systemColour(int index)
{
    static const QRgb colours[] = {
        0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
        0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0,
        0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
        0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0,
    };
    if (index < 0 || index >= int(std::size(colours)))
        return {};
    return QColor::fromRgb(colours[index]);
}

}  // namespace

QColor colourOf(qint32 value)
{
    if (value < 0) {
        // System colours are 0xFF000000 plus the colour's index.
        const quint32 bits = quint32(value);
        if ((bits & 0xFF000000u) != 0xFF000000u)
            return {};
        return systemColour(int(bits & 0x00FFFFFFu));
    }
    if (value > 0x00FFFFFF)
        return {};  // "none" and "default" markers
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

qint32 colourValue(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return qint32(rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16));
}

report::TextFont textFont(const TemplateFont& font)
{
    report::TextFont f;
    f.family = font.name.isEmpty() ? QStringLiteral("Arial") : font.name;
    if (font.size > 0)
        f.pointSize = font.size;
    else if (font.height != 0)
        f.pointSize = std::abs(font.height) * 72.0 / 96.0;
    f.bold = font.bold;
    f.italic = font.italic;
    f.underline = font.underline;
    f.strikeOut = font.strikeOut;
    return f;
}

}  // namespace printouts
