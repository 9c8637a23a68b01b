#pragma once
// SQL as text: the few constructs the two engines spell differently, and the
// tables a statement touches (so rights can be checked where the engine has
// no authorizer).

#include "store_location.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace sqltext {

// extract(YEAR|MONTH|DAY|HOUR|MINUTE from x), date 'yyyy-mm-dd' literals and
// substring(x from a [for b]) written once, run on either engine.
QString rewrite(const QString& sql, Engine engine);

struct TableUse {
    QString table;  // upper case
    int mask = 0;   // rights::Read / Modify / Insert / Delete / Restructure
};

// Every table named in the statement with the right it needs; a statement
// that creates or drops tables is reported with table "" and Restructure.
QList<TableUse> tablesUsed(const QString& sql);

// What a writing statement does, read from its text for the SQLite
// authorizer (which sees tables and columns, but neither an INSERT's column
// list nor its conflict handling).
struct WriteStatement {
    enum Verb { Other, Insert, Update, Delete } verb = Other;
    bool understood = false;  // false: the text is not one plain write statement
    QString table;            // upper case
    bool replaces = false;    // REPLACE, OR REPLACE: conflicting rows are deleted
    bool upsertUpdate = false;  // ON CONFLICT ... DO UPDATE
    bool allColumns = false;  // INSERT without a column list gives every field a value
    QStringList columns;      // INSERT's column list, upper case
};
WriteStatement classifyWrite(const QString& sql);

// Names the statement's WITH clauses give to their subqueries, upper case.
QStringList cteNames(const QString& sql);

// True for statements that return rows (select, with, values).
bool returnsRows(const QString& sql);

}  // namespace sqltext
