#pragma once
// Prepared pages: what a report run leaves behind and every output reads.
// Pages of positioned primitives in report units (1/96 inch, origin at the
// paper's top-left corner), plus the record of every band placed, so that
// table exports (text, CSV, spreadsheet, HTML, RTF) can read the run row by
// row. Plain values: copied freely, safe to hand between threads.

#include <QColor>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <variant>

namespace report {

// Report units per inch and per millimetre.
constexpr double unitsPerInch = 96.0;
constexpr double unitsPerMm = 96.0 / 25.4;

// A4 in report units, and the 10 mm margin of the system's reports.
inline QSizeF a4Portrait() { return {210.0 * unitsPerMm, 297.0 * unitsPerMm}; }
inline QSizeF a4Landscape() { return {297.0 * unitsPerMm, 210.0 * unitsPerMm}; }
constexpr double defaultMargin = 10.0 * unitsPerMm;

// The font of a text as the templates name it; `family` is the name asked
// for ("Arial"), mapped to an installed face only when measuring and painting.
struct TextFont {
    QString family = QStringLiteral("Arial");
    double pointSize = 10.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const TextFont&) const = default;
};

// A text already broken into lines when it was laid out; painters draw the
// lines as they are and never re-wrap, so every output breaks alike.
struct TextBox {
    QRectF rect;
    QStringList lines;
    TextFont font;
    QColor colour = Qt::black;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    double lineHeight = 0;  // distance between baselines
    double ascent = 0;      // from the line's top to its baseline
    bool clip = true;       // lines beyond the box are not drawn

    QString text() const { return lines.join(QLatin1Char('\n')); }
    bool operator==(const TextBox&) const = default;
};

struct Line {
    QPointF from;
    QPointF to;
    QColor colour = Qt::black;
    double width = 1;

    bool operator==(const Line&) const = default;
};

// A rectangle outline, optionally filled (an invalid fill means none).
struct Box {
    QRectF rect;
    QColor colour = Qt::black;
    double width = 1;
    QColor fill;

    bool operator==(const Box&) const = default;
};

struct Picture {
    QRectF rect;
    QImage image;
    bool keepAspect = true;

    bool operator==(const Picture& o) const { return rect == o.rect && keepAspect == o.keepAspect && image == o.image; }
};

using Primitive = std::variant<TextBox, Line, Box, Picture>;

// The kinds of band a report may hold.
enum class BandKind {
    Title,         // once, at the start
    PageHeader,    // at the top of every page
    ColumnHeader,  // under the page header on every page
    GroupHeader,   // when a group key changes
    Detail,        // once per row
    GroupFooter,   // before a group key changes and at the end
    Summary,       // once, at the end
    PageFooter,    // at the foot of every page
    Child,         // under the page footer (the footer line)
};

// One band placed on a page: its kind, its box on the page and the index
// range of the page's primitives it produced.
struct BandRecord {
    BandKind kind = BandKind::Detail;
    QRectF rect;
    int first = 0;  // index into Page::items
    int count = 0;

    bool operator==(const BandRecord&) const = default;
};

struct Page {
    QSizeF size = a4Portrait();
    QList<Primitive> items;  // in painting order
    QList<BandRecord> bands; // in placing order

    bool operator==(const Page&) const = default;
};

// A finished run. `description` holds markers such as "ExportFilter".
struct PreparedPages {
    QString title;
    QStringList description;
    QList<Page> pages;

    bool operator==(const PreparedPages&) const = default;
};

// A text dump of pages, one primitive a line with positions in 0.01 units:
// what tests compare when they pin a layout.
QString dump(const Page& page);

}  // namespace report
