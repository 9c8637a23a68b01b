#pragma once
// SQL as text: the few constructs the two engines spell differently, and the
// tables a statement touches (so rights can be checked where the engine has
// no authorizer).

#include "store_location.h"

#include <QList>
#include <QString>

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

// True for statements that return rows (select, with, values).
bool returnsRows(const QString& sql);

}  // namespace sqltext
