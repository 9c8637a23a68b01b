#pragma once
// Reading prepared pages as a table: the text, CSV, RTF, HTML and spreadsheet
// exports see a run as rows of cells, band by band in placing order, the
// texts of a band sorted into rows by their top and into cells by their left.

#include "page_model.h"

#include <QList>

namespace report {

struct TableCell {
    QRectF rect;
    QStringList lines;
    TextFont font;
    QColor colour;
    Qt::Alignment alignment;

    QString text(const QString& lineSeparator) const { return lines.join(lineSeparator); }
};

struct TableRow {
    BandKind kind = BandKind::Detail;
    int page = 0;            // index into the pages read
    QList<TableCell> cells;  // left to right
    int lineCount() const;   // lines of the tallest cell
};

enum class PageBands {
    AsPrinted,  // every band of every page
    Once,       // page and column headers of the first page only, page
                // footers of the last page only: a table read as one list
};

QList<TableRow> tableRows(const PreparedPages& pages, PageBands pageBands);

// Columns of a sheet made from rows: the distinct left edges of the detail
// rows' cells (of all rows when there are no details; edges closer than a
// millimetre are one column), so that a column's values land in one sheet
// column even when a row leaves a cell out. Other texts go to the column
// they start in.
class ColumnGrid {
public:
    explicit ColumnGrid(const QList<TableRow>& rows);
    int count() const { return int(m_lefts.size()); }
    int columnOf(double left) const;
    double width(int column) const;  // in report units
    // The columns a cell spreads over, up to (not into) column `limit`.
    int span(const TableCell& cell, int limit) const;

private:
    QList<double> m_lefts;
    double m_right = 0;
};

}  // namespace report
