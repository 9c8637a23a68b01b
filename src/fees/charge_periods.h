#pragma once
// The charge periods of one child and component in one month: the month
// cut by the child's component rows, then by the component's uniform method
// rows (when methods are uniform), then by its price rows. Each period
// carries the methods and the price that apply over the whole of it.

#include "fees/fee_catalogue.h"

#include <QDate>
#include <QList>

namespace fees {

// A DZIEMED row of one child and component.
struct ChildComponentRow {
    QDate from;  // invalid = from the beginning
    QDate to;    // invalid = open-ended
    int calculation = 0;  // SPOSOB
    int settlement = 0;   // SPOROZ
    double helpShare = 0; // PROCOPIE, percent paid by the help centre
};

struct ChargePeriod {
    QDate first;
    QDate last;
    int calculation = 0;
    int settlement = 0;
    double helpShare = 0;
    const catalogue::PriceRow* price = nullptr;  // points into the list given
};

// `rows` by ODDATY; only rows starting by `rowsUpTo` (the charge month's
// last day, in both passes) are taken. `uniform` null: the methods come
// from the child's rows. `prices` and `uniform` by ODDATY.
QList<ChargePeriod> chargePeriods(QDate monthFirst, QDate monthLast, QDate rowsUpTo,
                                  const QList<ChildComponentRow>& rows,
                                  const QList<catalogue::MethodRow>* uniform,
                                  const QList<catalogue::PriceRow>& prices);

}  // namespace fees
