#pragma once
// The schema level a store is at, kept in a one-row system table beside the
// rights. A store made before levels were recorded has no such table and
// reads as level 0; the schema upgrade brings it to current().

#include "store_location.h"

#include <QString>
#include <QStringList>

class Database;

namespace schemaversion {

// Never listed among the store's tables.
inline QString table() { return QStringLiteral("LW_WERSJA"); }

// 1: the columns, tables and indexes of the original upgrade list;
// 2: NALICZ without its ordering KOD;TYP;OSOBA, a prefix of KOD;TYP;OSOBA;MEDIUM;
// 3: OBECN's index DZIEN, by day.
inline constexpr int kCurrent = 3;

QStringList createTable(Engine engine);
// 0 when the store has no level recorded.
int read(Database& db);
// Creates the table when missing; call inside the unit of work that made
// the change.
void write(Database& db, int level);

}  // namespace schemaversion
