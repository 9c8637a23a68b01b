#pragma once
// Reads the rows of the attendance-derived quantities for a period: one
// ordered query per table, grouped by child in memory.

#include "fees/attendance_rows.h"

#include <QList>

class Database;

namespace fees {

// The rows for the days `from` ... `to` (the dated rows in force on `from`
// included) of the given children, or of every child when the list is
// empty. Throws the store's Error.
QuantityData loadQuantityData(Database& db, QDate from, QDate to, const QList<int>& children = {});

}  // namespace fees
