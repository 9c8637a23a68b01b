#pragma once
// What the three spreadsheet readers share: collecting cells into the used
// area of a sheet, telling a date format from a number format, and turning
// serial day numbers and clock times into the values a cell gives.

#include "import/spreadsheet_reader.h"

#include <QDate>
#include <QString>
#include <QVariant>

namespace import {

// Gathers the non-empty cells of a sheet in any order. Empty values (an
// invalid QVariant or an empty text) are not stored, so a sheet ends after
// its last row holding a value, however many formatted rows follow.
class SheetBuilder {
public:
    static constexpr int maxRows = 1048576;
    static constexpr int maxColumns = 16384;

    // Rows and columns from 1; cells outside the largest sheet are ignored.
    void set(int row, int column, const QVariant& value);
    SheetCells finish() { return SheetCells(std::move(rows_)); }

private:
    QList<QList<QVariant>> rows_;
};

enum class NumberFormatKind { Number, Date, DateTime, Time };

// The kind of a spreadsheet number format: built-in ids 14–22 and 45–47 are
// dates and times; a custom format is one when it has day, month or year
// letters (or hours and seconds) outside quotes and brackets.
NumberFormatKind numberFormatKind(int builtinId, const QString& formatCode);

// A serial day number (days since the workbook's epoch, the fraction the
// time of day) as the kind asks: a QDate, a QDateTime, a clock text, or the
// number itself. Invalid when the number is no day.
QVariant serialValue(double serial, NumberFormatKind kind, bool epoch1904 = false);

// A clock time as a cell shows it: "07:45", or "07:45:30" when it has seconds.
QString clockText(qint64 seconds);

// Booleans read as the text a Polish spreadsheet shows.
QString booleanText(bool value);

}  // namespace import
