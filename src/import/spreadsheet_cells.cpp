#include "import/spreadsheet_cells.h"

#include <QDateTime>

#include <cmath>

namespace import {

void SheetBuilder::set(int row, int column, const QVariant& value)
{
    if (!value.isValid() || row < 1 || row > maxRows || column < 1 || column > maxColumns) return;
    if (value.typeId() == QMetaType::QString && value.toString().isEmpty()) return;
    if (rows_.size() < row) rows_.resize(row);
    QList<QVariant>& cells = rows_[row - 1];
    if (cells.size() < column) cells.resize(column);
    cells[column - 1] = value;
}

NumberFormatKind numberFormatKind(int builtinId, const QString& formatCode)
{
    if (builtinId >= 14 && builtinId <= 17) return NumberFormatKind::Date;
    if ((builtinId >= 18 && builtinId <= 21) || (builtinId >= 45 && builtinId <= 47))
        return NumberFormatKind::Time;
    if (builtinId == 22) return NumberFormatKind::DateTime;

    // Runs of date and time letters in the first section of the format;
    // an "m" next to hours or seconds is minutes, otherwise the month.
    QString letters;
    const QString code = formatCode.section(QLatin1Char(';'), 0, 0).toLower();
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'"') {
            const qsizetype close = code.indexOf(u'"', i + 1);
            i = close < 0 ? code.size() : close;
        } else if (c == u'[') {
            const qsizetype close = code.indexOf(u']', i + 1);
            const QString inside = code.mid(i + 1, close < 0 ? -1 : close - i - 1);
            // [h], [mm], [ss]: elapsed time; any other bracket is a colour,
            // condition or locale.
            if (!inside.isEmpty() && inside.count(inside[0]) == inside.size()
                && QStringLiteral("hms").contains(inside[0]))
                letters += inside[0] == u'm' ? u'n' : inside[0];
            i = close < 0 ? code.size() : close;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (code.mid(i, 5) == u"am/pm") {
            i += 4;
        } else if (code.mid(i, 3) == u"a/p") {
            i += 2;
        } else if (QStringLiteral("ymdhs").contains(c)) {
            if (letters.isEmpty() || letters.back() != c) letters += c;
            while (i + 1 < code.size() && code[i + 1] == c) ++i;
        }
    }
    bool date = false;
    bool time = false;
    for (qsizetype i = 0; i < letters.size(); ++i) {
        const QChar c = letters[i];
        if (c == u'm') {
            const bool minutes = (i > 0 && letters[i - 1] == u'h')
                                 || (i + 1 < letters.size() && letters[i + 1] == u's');
            (minutes ? time : date) = true;
        } else if (c == u'y' || c == u'd') {
            date = true;
        } else {
            time = true;  // h, s, or n for elapsed minutes
        }
    }
    if (date) return time ? NumberFormatKind::DateTime : NumberFormatKind::Date;
    return time ? NumberFormatKind::Time : NumberFormatKind::Number;
}

QString clockText(qint64 seconds)
{
    const QString hhmm = QStringLiteral("%1:%2")
                             .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                             .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'));
    return seconds % 60 ? hhmm + QStringLiteral(":%1").arg(seconds % 60, 2, 10, QLatin1Char('0'))
                        : hhmm;
}

QString booleanText(bool value)
{
    return value ? QStringLiteral("PRAWDA") : QStringLiteral("FAŁSZ");
}

QVariant serialValue(double serial, NumberFormatKind kind, bool epoch1904)
{
    if (kind == NumberFormatKind::Number) return serial;
    if (!std::isfinite(serial) || serial < 0 || serial > 2958466) return {};
    qint64 days = qint64(std::floor(serial));
    qint64 seconds = std::llround((serial - double(days)) * 86400.0);
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    if (kind == NumberFormatKind::Time) return clockText(days * 86400 + seconds);

    QDate date;
    if (epoch1904) {
        date = QDate(1904, 1, 1).addDays(days);
    } else if (days >= 61) {
        date = QDate(1899, 12, 30).addDays(days);
    } else if (days >= 1) {
        // The 1900 system counts a 29 February 1900 that never was: serial
        // 60 stands for it, and the days before are one off.
        date = QDate(1899, 12, 31).addDays(std::min<qint64>(days, 59));
    } else {
        return {};
    }
    if (kind == NumberFormatKind::Date) return date;
    return QDateTime(date, QTime(0, 0).addSecs(int(seconds)));
}

}  // namespace import
