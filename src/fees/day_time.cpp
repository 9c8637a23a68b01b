#include "day_time.h"

#include <algorithm>

namespace fees {

namespace {

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

DayPieces dayPieces(Interval stay, Interval freeWindow)
{
    DayPieces pieces;
    const int p = stay.start, w = stay.end, fp = freeWindow.start, fw = freeWindow.end;
    if (w < p)
        return pieces;
    auto add = [&](int s, int e) {
        if (e > s)
            pieces.append({s, e});
    };
    if (fp <= p) {
        if (fw <= p)
            add(p, w);
        else if (fw < w)
            add(fw, w);
    } else if (fp <= w) {
        add(p, fp);
        if (fw <= w)
            add(fw, w);
    } else {
        add(p, w);
    }
    return pieces;
}

Interval widen(Interval piece, int step)
{
    if (step <= 0)
        return piece;
    return {floorDiv(piece.start, step) * step, -floorDiv(-piece.end, step) * step};
}

void addClassInterval(Intervals& intervals, Interval added)
{
    // Those it touches are joined into it and dropped, in place.
    qsizetype kept = 0;
    for (const Interval& i : intervals) {
        if (i.end < added.start || i.start > added.end) {
            intervals[kept++] = i;
        } else {
            added.start = std::min(added.start, i.start);
            added.end = std::max(added.end, i.end);
        }
    }
    intervals.resize(kept);
    const auto at = std::lower_bound(intervals.begin(), intervals.end(), added,
                                     [](const Interval& a, const Interval& b) { return a.start < b.start; });
    intervals.insert(at, added);
}

int pieceMinutes(Interval piece, const Intervals& classes, int step)
{
    int s = piece.start, e = piece.end;
    if (step > 0) {
        for (const Interval& c : classes) {
            if (s >= c.start && s <= c.end)
                s = c.end;
            if (e >= c.start && e <= c.end)
                e = c.start;
        }
        const Interval w = widen({s, e}, step);
        s = w.start;
        e = w.end;
    }
    // A piece lying inside a class can come out with its start past its
    // end; it then counts nothing rather than a negative time.
    int total = 0;
    int u = s;
    for (const Interval& c : classes) {
        if (c.end <= u)
            continue;
        if (u < c.start)
            total += std::max(0, std::min(e, c.start) - u);
        u = c.end;
        if (e < u)
            break;
    }
    if (e >= u)
        total += e - u;
    return total;
}

int paidMinutes(Interval stay, Interval freeWindow, const Intervals& classes, int step)
{
    int total = 0;
    for (const Interval& piece : dayPieces(stay, freeWindow))
        total += pieceMinutes(piece, classes, step);
    return total;
}

double roundedHours(long long minutes, int accuracy)
{
    if (accuracy <= 0)
        return double(minutes) / 60.0;
    long long units = minutes / accuracy;
    long long rest = minutes % accuracy;
    if (rest < 0) {
        rest += accuracy;
        --units;
    }
    if (2 * rest > accuracy || (2 * rest == accuracy && units % 2 != 0))
        ++units;
    return double(units * accuracy) / 60.0;
}

}  // namespace fees
