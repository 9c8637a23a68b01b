#pragma once
// The statements that make the catalogue's tables on either engine.

#include "schema.h"
#include "store_location.h"

#include <QStringList>

namespace ddl {

// The column type as written in CREATE TABLE / ALTER TABLE ADD.
QString columnType(const FieldDef& field, Engine engine);

// Index names share the table namespace, so each is prefixed by its table:
// "NALICZ__FAKT" for a named index, "NALICZ__BY_KOD_TYP_ID" for an ordering.
QString physicalIndexName(const QString& table, const IndexDef& index);

// Orderings that get no index of their own because a longer index of the
// same table leads with their fields (NALICZ KOD;TYP;OSOBA is served by
// KOD;TYP;OSOBA;MEDIUM); the cursor still orders by them.
bool servedByLongerIndex(const QString& table, const IndexDef& index);

// CREATE TABLE followed by one CREATE INDEX per ordering.
QStringList createTable(const TableDef& table, Engine engine);
QString createIndex(const QString& table, const IndexDef& index, Engine engine);
QString dropIndex(const QString& table, const IndexDef& index);
// ALTER TABLE … ADD for one column, with the same type, default and width
// check as CREATE TABLE gives it.
QString addColumn(const QString& table, const FieldDef& field, Engine engine);

// Indexes that guard a table's data beyond its orderings, as name and
// CREATE statement: an invoice number is given once a month (corrections
// are numbered apart).
struct Constraint {
    QString table;
    QString name;
    QString sql;
};
QList<Constraint> constraints();
QStringList createConstraints(const QString& table);

// The system table of rights descriptors.
QStringList createRightsTable(Engine engine);

}  // namespace ddl
