#include "attendance_rows.h"

namespace fees {

int minutesOf(QTime time)
{
    return time.isValid() ? time.hour() * 60 + time.minute() : noTime;
}

void QuantityData::buildIndexes()
{
    for (auto& list : timetableByWeekday)
        list.clear();
    heldByDay.clear();
    for (int i = 0; i < timetable.size(); ++i) {
        const int w = timetable[i].weekday;
        if (w >= 1 && w <= 7)
            timetableByWeekday[w].append(i);
    }
    for (int i = 0; i < heldClasses.size(); ++i) {
        if (heldClasses[i].date.isValid())
            heldByDay[heldClasses[i].date.toJulianDay()].append(i);
    }
}

const ChildRows* QuantityData::childRows(int child) const
{
    const auto it = children.constFind(child);
    return it == children.cend() ? nullptr : &it.value();
}

}  // namespace fees
