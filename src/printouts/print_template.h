#pragma once
// A print template: the page (orientation, columns) and its elements, as the
// designer draws them and the template-driven documents print them. The
// model is what SZABLONY.DANE holds, parsed; template_layout_text.h reads and
// writes that text.
//
//   TemplateType       which document a template is for (SZABLONY.TYP)
//   ElementKind        fixed text, data field, shape, picture
//   TemplateFont       the font lines of an element, as stored
//   TemplateElement    one element: kind, content, box, colours, font
//   PrintTemplate      the page and its elements in stacking order
//   colour helpers     stored colour values <-> QColor
//   textFont           an element's font for the report engine
//
// Coordinates are design pixels (1/96 inch) from the top-left corner of the
// printable area: A4 less 10 mm on every side, 718 x 1047 in portrait.

#include "page_model.h"

#include <QColor>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>

namespace printouts {

// SZABLONY.TYP: the codes are the stored texts "1" to "4".
enum class TemplateType { Letters = 1, Statements = 2, Confirmations = 3, Invoices = 4 };

// "1".."4" to the type; nullopt for anything else.
std::optional<TemplateType> templateTypeOf(const QString& code);
QString templateTypeCode(TemplateType type);
// Only letters and labels print their detail in columns.
inline bool columnsOffered(TemplateType type) { return type == TemplateType::Letters; }

// The printable area of an A4 page with 10 mm margins, in design pixels.
constexpr int printableWidthPortrait = 718;
constexpr int printableHeightPortrait = 1047;

enum class ElementKind { FixedText, DataField, Shape, Picture };

// The stored names: "Stały tekst", "Zmienny tekst", "Kształt", "Obraz".
QString elementKindName(ElementKind kind);
std::optional<ElementKind> elementKindOf(const QString& name);

// The variants of a shape, stored as its content.
enum class ShapeVariant { Frame, LeftAndRight, TopAndBottom };
QString shapeVariantName(ShapeVariant variant);  // "Ramka", "Lewa i prawa", "Góra i dół"
// Any content other than the two edge variants draws a full frame.
ShapeVariant shapeVariantOf(const QString& content);

// Text alignment as stored: 0 left, 1 right, 2 centred.
enum class TextAlignment { Left = 0, Right = 1, Centre = 2 };
Qt::Alignment qtAlignment(TextAlignment alignment);

// East-European character set, stored for every element except a barcode
// data field, which keeps the one of its own (barcode or symbol) font.
constexpr int eastEuropeanCharset = 238;

struct TemplateFont {
    QString name = QStringLiteral("Arial");
    int charset = eastEuropeanCharset;
    qint32 colour = 0;  // for a shape: the line colour
    int height = -13;   // negative: character height in pixels
    int pitch = 0;      // 0 default, 1 variable, 2 fixed
    int size = 10;      // points; for a shape: the line thickness in pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const TemplateFont&) const = default;
};

// The height line that goes with a point size at 96 dpi, as a font dialog
// gives it (10 pt -> -13).
int fontHeightForSize(int points);

struct TemplateElement {
    ElementKind kind = ElementKind::FixedText;
    // Fixed text: the text with "\r\n" line breaks; data field: the field
    // name (template_data_fields.h); shape: the variant name; picture: the
    // picture's OBRAZY.KOD, a space and its OBRAZY.NAZWA.
    QString content;
    QRect box;                   // left, top, width, height
    qint32 background = 16777215;  // stored but never painted: texts print transparent
    TextAlignment alignment = TextAlignment::Left;
    TemplateFont font;

    bool operator==(const TemplateElement&) const = default;

    // What a tool click creates: 150 x 17 at `topLeft`, content the kind's
    // name ("Ramka" for a shape), a shape with line thickness 1.
    static TemplateElement created(ElementKind kind, QPoint topLeft);

    bool isText() const { return kind == ElementKind::FixedText || kind == ElementKind::DataField; }
    // Shapes and pictures lie beneath texts.
    bool liesBeneath() const { return !isText(); }
    // The picture's OBRAZY.KOD: the first word of the content when it is a
    // whole number, else nothing (the picture is then empty).
    std::optional<int> pictureCode() const;
    // A data field that stores its own font's character set.
    bool keepsOwnCharset() const;
};

struct PrintTemplate {
    bool landscape = false;
    int columns = 1;  // detail columns of letters and labels, 1..9
    QList<TemplateElement> elements;  // stacking order, bottom first

    bool operator==(const PrintTemplate&) const = default;

    // Adds a new element where the designer puts it: shapes and pictures at
    // the bottom of the stack, texts on top. Returns its index.
    int add(const TemplateElement& element);

    // Replaces this template with the one the layout text describes. A
    // malformed text throws Error with its message and changes nothing.
    void load(const QString& layoutText);
    QString layoutText() const;

    // The printable area in design pixels for the orientation.
    QSize printableSize() const;
};

// Stored colour values: non-negative 0x00BBGGRR (16777215 is white),
// negative ones name a system colour. Values that name no colour give an
// invalid QColor (nothing is drawn).
QColor colourOf(qint32 value);
qint32 colourValue(const QColor& colour);  // RGB of the colour

// The element's font for the report engine: the point size wins over the
// height; a size of 0 or less falls back to the height.
report::TextFont textFont(const TemplateFont& font);

}  // namespace printouts
