#pragma once
// The demonstration store's extra charges: one-off amounts for a group or
// for every child around the current month (one older than the grid shows
// at first, one still ahead), each child's payment ticked off, some absent
// or paid in part, and a few overpayments.

#include "demo_rows.h"

namespace demo {

// Returns the charges written.
int fillExtraCharges(Database& db, Dice& dice, const QList<Child>& children, const QList<int>& groups,
                     const QDate& today, const QDate& schoolYear);

}  // namespace demo
