#pragma once
// "Naprawa indeksów": rebuilds one table's indexes from its model, the
// schema's definition of the table. The model is found and checked against
// the table before anything is dropped, and the old indexes go and the new
// ones come in one unit of work, so a table whose model does not fit, or a
// rebuild that fails, leaves the table as it was.

#include "store/schema.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Database;
class Prompts;

namespace indexrepair {

inline QString tableTitle() { return QStringLiteral("Podaj zbiór do naprawy"); }
inline QString modelTitle() { return QStringLiteral("Podaj zbiór wzorcowy"); }
inline QString finished() { return QStringLiteral("Koniec operacji"); }

// The schema's definition of `table` as this store keeps it (one-group
// children numbered by the program, upgrade columns the store lacks left
// out); nothing when the schema has no such table.
std::optional<TableDef> modelFor(Database& db, const QString& table);

// The indexes `model` gives `table`, as "NAME (A;B)" or "(A;B)" for an
// ordering, after checking they fit the table; throws Error naming the
// first field the table lacks.
QStringList plannedIndexes(Database& db, const QString& table, const TableDef& model);

// Drops the table's indexes and builds the model's; returns how many were
// built. Throws Error (nothing changed) when the model does not fit or the
// store refuses.
int rebuild(Database& db, const QString& table, const TableDef& model);

// The command: asks for the table (and for a model table when the schema
// has none of that name), rebuilds and shows "Koniec operacji" or the
// error. False when cancelled or failed.
bool run(Database& db, Prompts& prompts, const std::function<void(bool on)>& waitCursor = {});

}  // namespace indexrepair
