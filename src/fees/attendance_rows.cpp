#include "attendance_rows.h"

#include <algorithm>

namespace fees {

int minutesOf(QTime time)
{
    return time.isValid() ? time.hour() * 60 + time.minute() : noTime;
}

void QuantityData::buildIndexes()
{
    for (auto& list : timetableByWeekday)
        list.clear();
    heldByDate.clear();
    for (int i = 0; i < timetable.size(); ++i) {
        const int w = timetable[i].weekday;
        if (w >= 1 && w <= 7)
            timetableByWeekday[w].append(i);
    }
    for (int i = 0; i < heldClasses.size(); ++i) {
        if (heldClasses[i].date.isValid())
            heldByDate.append(i);
    }
    std::stable_sort(heldByDate.begin(), heldByDate.end(),
                     [this](int a, int b) { return heldClasses[a].date < heldClasses[b].date; });
    heldDayStart.clear();
    if (heldByDate.isEmpty())
        return;
    heldFirstDay = heldClasses[heldByDate.first()].date.toJulianDay();
    const qint64 days = heldClasses[heldByDate.last()].date.toJulianDay() - heldFirstDay + 1;
    heldDayStart.reserve(days + 1);
    qsizetype at = 0;
    for (qint64 d = 0; d <= days; ++d) {
        heldDayStart.append(int(at));
        while (at < heldByDate.size() && heldClasses[heldByDate[at]].date.toJulianDay() - heldFirstDay == d)
            ++at;
    }
}

std::span<const int> QuantityData::heldOn(QDate day) const
{
    // Asked for every day of every child, so found by the day's number.
    const qint64 d = day.toJulianDay() - heldFirstDay;
    if (heldDayStart.isEmpty() || d < 0 || d + 1 >= heldDayStart.size())
        return {};
    return {heldByDate.constData() + heldDayStart[d], heldByDate.constData() + heldDayStart[d + 1]};
}

const ChildRows* QuantityData::childRows(int child) const
{
    const auto it = children.constFind(child);
    return it == children.cend() ? nullptr : &it.value();
}

}  // namespace fees
