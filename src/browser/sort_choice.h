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

}  // namespace sorting
