#include "deadline_occurrences.h"

namespace deadlines {

namespace {

// The base date moved by `offset` months, its day clipped to the month's end.
QDate monthsAfter(const QDate& base, qint64 offset)
{
    const qint64 count = 12 * qint64(base.year()) + base.month() + offset;
    const int year = int((count - 1) / 12);
    const int month = int((count - 1) % 12 + 1);
    const int day = qMin(base.day(), QDate(year, month, 1).daysInMonth());
    return QDate(year, month, day);
}

}  // namespace

Occurrences occurrences(const QDate& base, int periods, const QString& unit, const QDate& today)
{
    Occurrences o;
    if (!base.isValid() || !today.isValid())
        return o;
    if (base >= today) {
        o.next = base;
        return o;
    }
    if (periods <= 0)
        return o;
    const qint64 n = periods;
    if (unit == QLatin1String("D") || unit == QLatin1String("E")) {
        const qint64 step = unit == QLatin1String("E") ? 7 * n : n;
        const qint64 k = (base.daysTo(today) - 1) / step;
        o.next = base.addDays((k + 1) * step);
        o.previous = base.addDays(k * step);
    } else if (unit == QLatin1String("M") || unit == QLatin1String("R")) {
        int month = today.month();
        // The base day not yet reached (or reached today) in this month.
        if (base.day() >= today.day())
            --month;
        // Whole months from the base date to today; never negative, since the
        // base date lies before today.
        const qint64 months = 12 * qint64(today.year()) + month - 12 * qint64(base.year()) - base.month();
        const qint64 step = unit == QLatin1String("R") ? 12 * n : n;
        o.next = monthsAfter(base, step * ((months / step) + 1));
        o.previous = monthsAfter(base, step * (months / step));
    }
    return o;
}

}  // namespace deadlines
