#include "free_days.h"

#include <QStringList>

namespace attendance {

FreeDays::FreeDays(const QString& list)
{
    if (list.trimmed() == QLatin1String("-")) {
        m_wholeMonth = true;
        return;
    }
    QString kept;
    kept.reserve(list.size());
    for (const QChar c : list) {
        if (c == QLatin1Char(',') || (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            kept.append(c);
    }
    for (const QString& item : kept.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        // The item must be the day's number written plainly: "06" is not day 6.
        if (item.size() > 2 || item.front() == QLatin1Char('0'))
            continue;
        const int day = item.toInt();
        if (day >= 1 && day <= 31)
            m_days |= std::uint32_t(1) << day;
    }
}

bool FreeDays::isFree(int day) const
{
    if (m_wholeMonth)
        return true;
    return day >= 1 && day <= 31 && (m_days >> day & 1U) != 0;
}

int FreeDays::workingDays(QDate from, QDate to) const
{
    if (m_wholeMonth || !from.isValid() || !to.isValid() || to < from)
        return 0;
    int count = 0;
    for (QDate d = from; d <= to; d = d.addDays(1))
        count += isFree(d) ? 0 : 1;
    return count;
}

}  // namespace attendance
