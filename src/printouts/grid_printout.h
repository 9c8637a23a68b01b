#pragma once
// The list printout of a browser: the grid's columns as it shows them (order,
// widths, fonts, alignment), its rows, the title and the filter description,
// the sums of summed numeric columns and the value counts of other summed
// columns, "Strona: " with the page number and the footer line at the foot.

#include "report_job.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

struct DataSet;
class Database;

namespace report {

struct GridColumn {
    QString field;
    QString caption;
    double width = 64;  // report units
    TextFont captionFont;
    QColor captionColour = Qt::black;
    TextFont font;
    QColor colour = Qt::black;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool summed = false;   // the field carries the summing mark
    bool numeric = false;  // summed by value, else by counting values
    bool floating = false; // a sum shown with the display format
    QString displayFormat;
};

struct GridLayout {
    QString title;
    QString filterDescription;  // printed under the title on every page when not empty
    QString footerLine;         // see footerLine()
    QList<GridColumn> columns;
};

// One row: the value of every column (in the layout's column order) and its
// text as the grid shows it.
struct GridRow {
    QVariantList values;
    QStringList texts;
};

// The report of a grid; the rows are read before and kept, so the job runs
// on any thread and as often as asked.
std::unique_ptr<Job> makeGridPrintout(const GridLayout& layout, QList<GridRow> rows);

// The columns a data set shows (visible fields in order, captions, display
// formats, alignment, summing marks) with default widths and fonts, and its
// rows from its cursor's current range: what lunawactl prints, and where
// the browser starts before it applies its grid's widths and order.
GridLayout gridLayoutOfDataSet(const DataSet& ds, const QString& title);
QList<GridRow> gridRowsOfDataSet(const DataSet& ds, const GridLayout& layout);

// `Vendrix "Lunawa" dla ` + the institution's name + ", " + its address + " ".
QString footerLine(Database& db);

}  // namespace report
