#include "obecn_view.h"

#include "store/polish_dates.h"

#include <algorithm>

namespace obecn {

int ViewState::lastDay() const
{
    return std::min(to, day.isValid() ? day.daysInMonth() : 31);
}

DayRange parseDayRange(const QString& text)
{
    DayRange r;
    const qsizetype dash = text.indexOf(QLatin1Char('-'));
    const QString fromText = (dash < 0 ? text : text.left(dash)).trimmed();
    const QString toText = dash < 0 ? QString() : text.mid(dash + 1).trimmed();
    bool fromOk = false;
    bool toOk = false;
    const int from = fromText.toInt(&fromOk);
    const int to = toText.toInt(&toOk);
    if (!fromOk)
        return r;  // the whole month
    // Days outside 1..31 ("5--3", "0-40") mean the nearest day a month has.
    r.from = std::clamp(from, 1, 31);
    if (toOk)
        r.to = std::clamp(to, 1, 31);
    if (r.to < r.from)
        r.from = r.to;
    return r;
}

QDate stepped(QDate day, bool monthView, int direction)
{
    if (!monthView)
        return day.addDays(direction);
    const QDate first = QDate(day.year(), day.month(), 1).addMonths(direction);
    const bool lastOfMonth = day.day() == day.daysInMonth();
    const int d = lastOfMonth ? first.daysInMonth() : std::min(day.day(), first.daysInMonth());
    return QDate(first.year(), first.month(), d);
}

QString windowTitle(const ViewState& view, bool singleChild)
{
    QString t = singleChild ? QStringLiteral("Lista obecności dziecka na: ") : QStringLiteral("Lista obecności na: ");
    if (!view.monthView)
        return t + polish::longDate(view.day);
    t += polish::monthYear(view.day.year(), view.day.month());
    if (view.from > 1 || view.to < view.day.daysInMonth())
        t += QStringLiteral(" (w przedziale dni %1 - %2)").arg(view.from).arg(view.lastDay());
    return t;
}

QString shortWeekday(int dayOfWeek)
{
    static const char* const names[] = {"Pn", "Wt", "Śr", "Cz", "Pt", "So", "N"};
    return dayOfWeek >= 1 && dayOfWeek <= 7 ? QString::fromUtf8(names[dayOfWeek - 1]) : QString();
}

QString shortMonth(int month)
{
    static const char* const names[] = {"sty", "lut", "mar", "kwi", "maj", "cze",
                                        "lip", "sie", "wrz", "paź", "lis", "gru"};
    return month >= 1 && month <= 12 ? QString::fromUtf8(names[month - 1]) : QString();
}

QString dayColumnCaption(QDate day)
{
    return QString::number(day.day()) + QLatin1Char(' ') + shortWeekday(day.dayOfWeek());
}

QString codeColumnCaption(QDate day)
{
    return QStringLiteral("Obecność, %1 %2 %3 %4")
        .arg(shortWeekday(day.dayOfWeek()))
        .arg(day.day())
        .arg(shortMonth(day.month()))
        .arg(day.year());
}

QString monthTooShort(int month, int count)
{
    return polish::monthName(month) + QStringLiteral(" nie ma ") + QString::number(count) + QStringLiteral(" dni");
}

QString hoursText(int minutes)
{
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace obecn
