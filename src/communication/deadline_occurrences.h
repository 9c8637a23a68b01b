#pragma once
// When a periodic deadline falls: its base date repeated every so many days
// (D), weeks (E), months (M) or years (R). A monthly or yearly occurrence
// keeps the base day, or takes the month's last day when the month is
// shorter (31 January, 29 February 2024, 31 March …).

#include <QDate>
#include <QString>

namespace deadlines {

struct Occurrences {
    QDate next;      // the first occurrence on or after the day; invalid: none
    QDate previous;  // the last one before it; invalid: none
};

// The occurrences around `today`. A base date on or after `today` is itself
// the next occurrence. Without a base date, with a period count of 0 or
// less, or with any other unit there is no occurrence.
Occurrences occurrences(const QDate& base, int periods, const QString& unit, const QDate& today);

}  // namespace deadlines
