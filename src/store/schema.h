#pragma once
// The table catalogue: every table of the store with its fields in order,
// its orderings and named indexes. It is the one source for DDL on both
// engines, for introspection checks and for the create-store routine.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

enum class FieldType {
    AutoInc,   // numbered by the store on insert, read-only to the program
    Integer,
    SmallInt,
    Float,
    String,    // width in characters
    Date,
    Time,
    DateTime,
    Memo,
    Graphic,
};

struct FieldDef {
    QString name;
    FieldType type = FieldType::Integer;
    int width = 0;          // characters, String only
    bool required = false;
    QVariant defaultValue;  // set on a new row; invalid = none
    QString caption;        // shown in messages; empty = the field name
    bool upgrade = false;   // added to older stores by the schema upgrade

    static FieldDef of(const QString& name, FieldType type, int width = 0)
    {
        FieldDef f;
        f.name = name;
        f.type = type;
        f.width = width;
        return f;
    }
    QString displayCaption() const { return caption.isEmpty() ? name : caption; }
    bool isText() const { return type == FieldType::String || type == FieldType::Memo; }
};

struct IndexDef {
    QString name;           // logical name; empty for a plain ordering
    QStringList fields;
    bool primary = false;
    bool caseInsensitive = false;
    bool upgrade = false;

    // "A;B;C" as the rest of the program names orderings.
    QString fieldList() const { return fields.join(QLatin1Char(';')); }
};

struct TableDef {
    QString name;
    QList<FieldDef> fields;
    QList<IndexDef> indexes;  // primary key and orderings, in the order listed
    bool upgrade = false;     // the whole table is added by the schema upgrade

    const FieldDef* field(const QString& fieldName) const;
    int fieldIndex(const QString& fieldName) const;
    const IndexDef* index(const QString& indexName) const;
    // The ordering whose field list is exactly fieldList, if any.
    const IndexDef* ordering(const QString& fieldList) const;
    // The auto-numbered field, or null.
    const FieldDef* autoIncField() const;
};

namespace schema {

// Every table of the current schema, upgrade tables and columns included.
const QList<TableDef>& tables();
const TableDef* table(const QString& name);

// The variant of DZIECI used in one-group mode: KOD is a plain integer.
TableDef oneGroupChildren();

// "A;B" -> {"A","B"}, trimming blanks and upper-casing.
QStringList splitFieldList(const QString& fieldList);

}  // namespace schema
