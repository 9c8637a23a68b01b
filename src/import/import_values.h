#pragma once
// Reading one cell by its column code: trimming, numbers with the format's
// separators and decimal shift, dates by pattern or by position, day marks
// and monthly counts. The separators are values handed in, never changed
// for the whole process.

#include "import_format.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>

namespace import {

// A cell as a reader gives it: text, and for spreadsheet cells the value
// they hold (a double, a QDate or QDateTime) when it is not text.
struct ImportCell {
    QString text;
    QVariant value;
};

// The number and date conventions of an import: the format's keys over the
// program's own (decimal comma, blank between thousands, "dd.MM.yyyy").
struct ValueFormat {
    QChar decimal = QLatin1Char(',');
    QChar thousands = QChar(0x00A0);
    QChar dateSeparator = QLatin1Char('.');
    QString datePattern = QStringLiteral("DD.MM.YYYY");  // upper case
    bool positionalDates = false;  // the pattern lacks the separator: cut by position
    int commaShift = 0;

    static ValueFormat of(const ImportFormat& format);
    // A date written as the pattern writes it, for the row's texts.
    QString dateText(const QDate& date) const;
};

// Removes every character up to the blank (CR, tabs …) at both ends.
QString trimCell(const QString& text);

// The cell's text as the import shows it: sheet numbers without a useless
// fraction, sheet dates in the date pattern.
QString cellText(const ImportCell& cell, const ValueFormat& vf);

// A number of codes "B", "I", "C", "S", "s"; nothing for an empty cell
// (after trimming) or one that is not a number.
std::optional<double> readNumber(const ImportCell& cell, const ValueFormat& vf);
bool isBlank(const ImportCell& cell);

// A date of code "D"; invalid when the cell cannot be read as one. An
// empty cell is not read here (the row takes the import's date).
QDate readDate(const ImportCell& cell, const ValueFormat& vf);

// 'T', 'Z' or 'N' for a cell equal to that mark's text, else ' '.
QChar readDayMark(const QString& text, const ImportFormat& format);

// A whole number 0–31; nothing otherwise.
std::optional<int> readCount(const QString& text);

// "„x” nie jest poprawną liczbą" / "… datą"
QString notNumberMessage(const QString& text);
QString notDateMessage(const QString& text);

}  // namespace import
