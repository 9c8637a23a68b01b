#pragma once
// The browser's footer line: the sum of every summed column (a field with
// a non-zero mark, as the grid printout sums it) over the rows the data
// set holds under its filters, read from the cursor's snapshot (no SQL).

#include <QHash>
#include <QString>

struct DataSet;

namespace sums {

// Field name (upper case) -> the sum as its column shows values; only
// shown numeric fields with a mark. Empty when nothing is summed.
QHash<QString, QString> footer(const DataSet& ds);

// Summed in units of 1/10000, so that adding amounts of two decimals
// gives no binary remainder.
double exactSum(const QList<double>& values);

}  // namespace sums
