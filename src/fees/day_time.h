#pragma once
// Paid time of one day: the parts of a stay outside the free (unpaid)
// window, each widened to the charging step and measured with the extra
// classes of the day taken out. Shared by the quantities and the paid-time
// columns of the attendance window. Times are minutes from midnight.

#include <QVarLengthArray>

namespace fees {

struct Interval {
    int start = 0;
    int end = 0;
    bool operator==(const Interval&) const = default;
};

// A day holds a handful of classes and at most two pieces of stay: kept on
// the stack, since every child's every day is measured.
using Intervals = QVarLengthArray<Interval, 8>;
using DayPieces = QVarLengthArray<Interval, 2>;

// The parts of the stay [arrival, departure] outside the free window
// [start, end]. A stay ending before it starts has no parts, and parts of no
// length are left out (widening would otherwise charge a whole step for them).
DayPieces dayPieces(Interval stay, Interval freeWindow);

// Start down and end up to whole `step`-minute units; step <= 0 keeps it.
Interval widen(Interval piece, int step);

// Adds a class interval to a list of disjoint intervals sorted by start,
// joining it with every interval it touches or overlaps.
void addClassInterval(Intervals& intervals, Interval added);

// Minutes of one piece less the class intervals (disjoint, sorted). With a
// step, an end lying inside a class is first moved to the class's edge, then
// the piece is widened.
int pieceMinutes(Interval piece, const Intervals& classes, int step);

// Paid minutes of a day: every piece of the stay outside the free window,
// measured as above.
int paidMinutes(Interval stay, Interval freeWindow, const Intervals& classes, int step);

// A monthly total rounded to whole `accuracy`-minute units, ties to the even
// unit; accuracy <= 0 keeps it. Returned in hours.
double roundedHours(long long minutes, int accuracy);

}  // namespace fees
