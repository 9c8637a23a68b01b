#pragma once
// A report definition: the page, the bands with their items and the rows
// they run over. A definition is a plain value; the engine
// (report_engine.h) runs it into prepared pages without changing it.
//
//   Rows        the data: field names and rows of values, read beforehand
//   RunState    what a computed item or a print condition may look at
//   TextStyle   font, colour, alignment, wrapping of a text item
//   Item        text, field, computed value, aggregate, page number,
//               line, rectangle, picture; positioned inside its band
//   Band        a band's height, items and options
//   Group       a header and footer around rows sharing a key
//   Columns     the detail in n columns, across or down
//   Report      all of it

#include "page_model.h"
#include "report_job.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>

namespace report {

// Forward-only rows, read before the run so that the run needs no store.
struct Rows {
    QStringList fields;
    QList<QVariantList> rows;  // each in the order of `fields`

    int fieldIndex(const QString& name) const { return int(fields.indexOf(name)); }
};

// The state of a run as a computed item or a condition sees it.
struct RunState {
    const Rows* rows = nullptr;
    int row = -1;         // the current row, -1 before the first and after the last
    int pageNumber = 0;   // counted from 1
    Purpose purpose = Purpose::Pages;
    const QStringList* description = nullptr;

    // A field of the current row; invalid when there is no row or field.
    QVariant value(const QString& field) const;
    bool exporting() const { return purpose == Purpose::TableExport; }
};

struct TextStyle {
    TextFont font;
    QColor colour = Qt::black;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool wordWrap = false;
    bool clip = true;
    // The item grows to hold all its lines, and its band with it.
    bool autoStretch = false;
};

// A fold over the rows of an aggregate's scope: the start value, the step
// taking each row's value, and the text of the result.
struct Fold {
    QVariant start;
    std::function<QVariant(const QVariant& accumulated, const QVariant& value)> step;
    std::function<QString(const QVariant& accumulated)> text;
};

struct Item {
    enum class Kind {
        Text,        // `text` as it is
        Field,       // the row's `field`, shown with `format`
        Computed,    // `compute(state)`
        Sum,         // the sum of `field` over the scope, shown with `format`
        Count,       // rows of the scope; with `field`, rows where it is not empty
        Folded,      // `fold` over `field` in the scope
        PageNumber,  // `text` with "{page}" and "{pages}" replaced
        Line,        // from the rect's top-left to its bottom-right corner
        Rectangle,
        Picture,
        Drawn,       // `draw(state)`: primitives of its own, placed from the
                     // rect's top-left corner; the band grows to hold them
    };
    // The scope of an aggregate follows its band: a group's header and
    // footer take the group's rows, the title and summary every row, the
    // page header and footer the rows of the page, a detail band the rows
    // up to and including the current one.

    Kind kind = Kind::Text;
    QRectF rect;  // inside the band
    TextStyle style;
    QString text;
    QString field;
    QString format;  // a display format such as "0.00" or "#0.00##"
    std::function<QString(const RunState&)> compute;
    std::function<QList<Primitive>(const RunState&)> draw;
    Fold fold;
    QColor lineColour = Qt::black;
    double lineWidth = 1;
    QColor fill;  // rectangles; invalid = not filled
    QImage image;
    bool keepAspect = true;
    bool visible = true;

    bool isText() const
    {
        return kind != Kind::Line && kind != Kind::Rectangle && kind != Kind::Picture && kind != Kind::Drawn;
    }

    static Item label(const QRectF& rect, const QString& text, const TextStyle& style = {});
    static Item ofField(const QRectF& rect, const QString& field, const TextStyle& style = {},
                        const QString& format = {});
    static Item computed(const QRectF& rect, std::function<QString(const RunState&)> compute,
                         const TextStyle& style = {});
    static Item sum(const QRectF& rect, const QString& field, const TextStyle& style = {}, const QString& format = {});
    static Item count(const QRectF& rect, const QString& field = {}, const TextStyle& style = {});
    static Item folded(const QRectF& rect, const QString& field, Fold fold, const TextStyle& style = {});
    static Item pageNumber(const QRectF& rect, const QString& pattern, const TextStyle& style = {});
    static Item line(const QPointF& from, const QPointF& to, double width = 1, const QColor& colour = Qt::black);
    static Item rectangle(const QRectF& rect, double width = 1, const QColor& colour = Qt::black,
                          const QColor& fill = {});
    static Item picture(const QRectF& rect, const QImage& image, bool keepAspect = true);
    static Item drawn(const QRectF& rect, std::function<QList<Primitive>(const RunState&)> draw);
};

struct Band {
    BandKind kind = BandKind::Detail;
    double height = 20;
    QList<Item> items;
    // Word-wrapped items stretch to their lines and the band with them.
    bool stretch = false;
    bool newPageBefore = false;
    bool visible = true;
    std::function<bool(const RunState&)> printIf;  // none: always

    bool printed(const RunState& state) const { return visible && (!printIf || printIf(state)); }
};

// Rows with equal key fields, one after another, form a group; the header
// goes before its first row, the footer after its last.
struct Group {
    QStringList keyFields;
    std::optional<Band> header;
    std::optional<Band> footer;
};

// The detail band in `count` columns `pitch` apart: across fills a row of
// cells left to right, down fills a column top to bottom first. Cell k of a
// page row sits at k × pitch, so labels never drift.
struct Columns {
    int count = 1;
    bool down = false;
    double pitch = 0;  // 0: the body width divided by the count
};

struct Report {
    QString title;
    QStringList description;  // markers such as "ExportFilter"
    QSizeF pageSize = a4Portrait();
    double marginLeft = defaultMargin;
    double marginTop = defaultMargin;
    double marginRight = defaultMargin;
    double marginBottom = defaultMargin;

    // Bands by kind; at most one of each besides the groups (outermost
    // first). An absent band prints nothing.
    std::optional<Band> titleBand;
    std::optional<Band> pageHeader;
    std::optional<Band> columnHeader;
    QList<Group> groups;
    std::optional<Band> detail;
    Columns columns;
    std::optional<Band> summary;
    std::optional<Band> pageFooter;
    std::optional<Band> child;  // under the page footer

    void setLandscape(bool landscape) { pageSize = landscape ? a4Landscape() : a4Portrait(); }
    double bodyWidth() const { return pageSize.width() - marginLeft - marginRight; }
};

// The marker table exports add to the description.
inline QString exportFilterMarker() { return QStringLiteral("ExportFilter"); }

// The changes a table export makes, done on a copy: the marker added,
// page headers run once as titles, page footers once as summaries,
// centred texts left-aligned.
Report asTableExport(Report report);

// A value as a report shows it, with a display format such as "0.00".
QString formatValue(const QVariant& value, const QString& format = {});

}  // namespace report
