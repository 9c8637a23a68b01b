#pragma once
// What group export and import share: the transfer folder (a store of its
// own, lunawa.db, that a group installation can run on), the one-group
// mode of a store, its groups, the folder checks and how field values are
// compared and written across engines.

#include "store/schema.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

#include <functional>

class Database;
class MessageLog;
class Query;

namespace grouptransfer {

// The installation's DZIECI numbered by the program marks one-group mode.
bool oneGroupStore(Database& db);

// Groups of children (KLASY), KOD and NAZWA in KOLEJ order, without group 0
// (the inactive children, which every store has).
QList<QPair<int, QString>> groups(Database& db);

// folder + "/lunawa.db"
QString transferFile(const QString& folder);

// True when `folder` is the live store's folder, holds it, or lies inside it.
bool overlapsStore(Database& db, const QString& folder);

// "Katalog "X" jest katalogiem bazy, określ inny"
QString storeFolderMessage(const QString& folder);
// "Katalog "X" nie istnieje, określ inny"
QString missingFolderMessage(const QString& folder);

// A value as text for comparing and showing: empty for NULL and empty
// text, dates ISO, times HH:MM, numbers without trailing zeros.
QString text(const QVariant& value, FieldType type);
// The value as the store layer binds it (dates, times from their text).
QVariant bindable(const QVariant& value, FieldType type);

// After rows were written with their own values into an auto-numbered key:
// PostgreSQL's identity continues after the highest (SQLite does so itself).
void continueNumbering(Database& db, const QString& table);

// The schema's definition of a table restricted to the fields the store has.
QList<FieldDef> presentFields(Database& db, const QString& table);

// The schema's definition of `table` with only `fields`, and only the
// indexes those fields complete.
TableDef definitionWith(const QString& table, const QList<FieldDef>& fields);

// Which rows of a table a copy takes: those `where` selects (every row
// when empty), its values given by `bind`.
struct RowSelection {
    QString where;
    std::function<void(Query&)> bind;
};

// The selected rows, each the values of `fields` in their order.
QList<QVariantList> readRows(Database& db, const QString& table, const QList<FieldDef>& fields,
                             const RowSelection& selection = {});

// Reads the selected rows of `table` from `from` and hands each to `write`,
// with `progress` shown in `log` when given, its bar and counter going over
// this table's rows a step per row; every row is
// read before the first is written. Returns the number of rows.
int copyRows(Database& from, const QString& table, const QList<FieldDef>& fields, const RowSelection& selection,
             const std::function<void(const QVariantList&)>& write, MessageLog* log, const QString& progress);

}  // namespace grouptransfer
