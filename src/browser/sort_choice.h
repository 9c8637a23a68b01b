#pragma once
// "&Sortuj": the table's indexes as orderings to choose from.

#include "browser/prompts.h"

class Table;
struct DataSet;

namespace sorting {

// The leading fields of the ordering that link a detail table to its
// master ("" for a table without a master): every offered ordering keeps them.
QString masterPrefix(const Table& table);
QList<SortOption> options(const DataSet& ds);
// "Sortowanie"; the chosen ordering is applied. False when cancelled.
bool choose(Prompts& prompts, DataSet& ds);

// A click on a column's title: the first of the offered orderings whose
// own fields (after the master's) start with `field`; "" when none does,
// and the grid then sorts in the view.
QString orderingStartingWith(const DataSet& ds, const QString& field);
// The field the table's ordering sorts by first, after the master's
// fields; "" for none. The header marks its column.
QString leadingField(const Table& table);

}  // namespace sorting
