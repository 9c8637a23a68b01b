#pragma once
// The free days of a month as the editor's tick boxes: the stored list
// (MIESIACE.DNIWOLNE) read as a set of days and written back.

#include <QSet>
#include <QString>

#include <functional>

struct RunContext;

namespace fees {

// The days ticked for a stored list: every day of the month for "-",
// otherwise each day whose number stands as a whole item of the list
// (blanks ignored, so "1, 8" ticks 1 and 8 and "18" ticks neither).
QSet<int> tickedDays(const QString& freeDays, int daysInMonth);

// The ticked days in day order joined by commas; empty when none. Never
// "-": a month whose every day is ticked lists them all.
QString freeDaysList(const QSet<int>& ticked);

}  // namespace fees

// The calendar of tick boxes, titled `title`, for `year`-`month`; `ticked`
// is the preset and, on OK, the answer. False when closed without OK.
using FreeDaysEditor =
    std::function<bool(RunContext&, const QString& title, int year, int month, QSet<int>& ticked)>;
