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
    // Day numbers run on within a month; only a month's change needs the date.
    int count = 0;
    for (QDate d = from; d <= to; d = d.addDays(d.daysInMonth() - d.day() + 1)) {
        const int last = d.year() == to.year() && d.month() == to.month() ? to.day() : d.daysInMonth();
        for (int day = d.day(); day <= last; ++day)
            count += isFree(day) ? 0 : 1;
    }
    return count;
}

// Gregorian Easter by the anonymous (Meeus/Jones/Butcher) computus.
QDate easterSunday(int year)
{
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

// The days free from work by the Polish act on public holidays (Ustawa z
// dnia 18 stycznia 1951 r. o dniach wolnych od pracy, art. 1, as amended:
// 6 January since 2011, 24 December since 2025).
bool isPublicHoliday(QDate date)
{
    const int y = date.year();
    const int m = date.month();
    const int d = date.day();
    switch (m) {
    case 1:
        if (d == 1 || (d == 6 && y >= 2011))
            return true;
        break;
    case 5:
        if (d == 1 || d == 3)
            return true;
        break;
    case 8:
        if (d == 15)
            return true;
        break;
    case 11:
        if (d == 1 || d == 11)
            return true;
        break;
    case 12:
        if (d == 25 || d == 26 || (d == 24 && y >= 2025))
            return true;
        break;
    default:
        break;
    }
    const QDate easter = easterSunday(y);
    const qint64 fromEaster = easter.daysTo(date);
    // Easter Sunday and Monday, Pentecost Sunday, Corpus Christi.
    return fromEaster == 0 || fromEaster == 1 || fromEaster == 49 || fromEaster == 60;
}

QString generatedFreeDays(int year, int month, bool wholeMonthFree)
{
    if (wholeMonthFree)
        return QStringLiteral("-");
    const QDate first(year, month, 1);
    QStringList days;
    for (int d = 1; d <= first.daysInMonth(); ++d) {
        const QDate date(year, month, d);
        const int weekday = date.dayOfWeek();
        if (weekday == Qt::Saturday || weekday == Qt::Sunday || isPublicHoliday(date))
            days << QString::number(d);
    }
    return days.join(QLatin1Char(','));
}

}  // namespace attendance
