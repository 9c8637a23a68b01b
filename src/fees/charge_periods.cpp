#include "charge_periods.h"

#include <algorithm>

namespace fees {

namespace {

// Cuts [first, last] to a dated row; false when nothing is left.
bool clip(QDate& first, QDate& last, const QDate& from, const QDate& to)
{
    if (from.isValid())
        first = std::max(first, from);
    if (to.isValid())
        last = std::min(last, to);
    return first <= last;
}

void byPrices(ChargePeriod period, const QList<catalogue::PriceRow>& prices, QList<ChargePeriod>& out)
{
    for (const catalogue::PriceRow& price : prices) {
        if (price.from.isValid() && price.from > period.last)
            continue;
        ChargePeriod p = period;
        if (!clip(p.first, p.last, price.from, price.to))
            continue;
        p.price = &price;
        out << p;
    }
}

}  // namespace

QList<ChargePeriod> chargePeriods(QDate monthFirst, QDate monthLast, QDate rowsUpTo,
                                  const QList<ChildComponentRow>& rows,
                                  const QList<catalogue::MethodRow>* uniform,
                                  const QList<catalogue::PriceRow>& prices)
{
    QList<ChargePeriod> out;
    for (const ChildComponentRow& row : rows) {
        if (row.from.isValid() && (row.from > rowsUpTo || row.from > monthLast))
            continue;
        ChargePeriod period;
        period.first = monthFirst;
        period.last = monthLast;
        period.helpShare = row.helpShare;
        if (!clip(period.first, period.last, row.from, row.to))
            continue;
        if (!uniform) {
            period.calculation = row.calculation;
            period.settlement = row.settlement;
            byPrices(period, prices, out);
            continue;
        }
        for (const catalogue::MethodRow& methods : *uniform) {
            if (methods.from.isValid() && methods.from > period.last)
                continue;
            ChargePeriod p = period;
            if (!clip(p.first, p.last, methods.from, methods.to))
                continue;
            p.calculation = methods.calculation;
            p.settlement = methods.settlement;
            byPrices(p, prices, out);
        }
    }
    return out;
}

}  // namespace fees
