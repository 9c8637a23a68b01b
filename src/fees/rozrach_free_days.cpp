#include "rozrach_free_days.h"

#include <QStringList>

#include <algorithm>

namespace fees {

QSet<int> tickedDays(const QString& freeDays, int daysInMonth)
{
    QSet<int> out;
    QString list = freeDays;
    list.remove(QLatin1Char(' '));
    if (list == QLatin1String("-")) {
        for (int d = 1; d <= daysInMonth; ++d)
            out.insert(d);
        return out;
    }
    const QString wrapped = QLatin1Char(',') + list + QLatin1Char(',');
    for (int d = 1; d <= daysInMonth; ++d)
        if (wrapped.contains(QLatin1Char(',') + QString::number(d) + QLatin1Char(',')))
            out.insert(d);
    return out;
}

QString freeDaysList(const QSet<int>& ticked)
{
    QList<int> days(ticked.begin(), ticked.end());
    std::sort(days.begin(), days.end());
    QStringList parts;
    for (const int d : days)
        parts << QString::number(d);
    return parts.join(QLatin1Char(','));
}

}  // namespace fees
