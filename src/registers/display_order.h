#pragma once
// Tables shown in a user-defined order (KOLEJ): the position a new row
// takes and the two commands that move the current row.

#include "browser/module.h"

class Database;
class Table;

namespace display_order {

// The highest KOLEJ of the whole table plus one; 1 for an empty table.
int nextPosition(Database& db, const QString& tableName);

// Gives a row being inserted the next position; run before each save so
// that a save that failed takes a fresh value at the next attempt.
void assignOnInsert(Table& t);

// "Przesuń do &góry" / "Przesuń na &dół" on the data set's cursor. The
// three saves of a move run in one transaction: a failure leaves every
// position as it was. Errors are shown through the prompts.
Command moveUpCommand(RunContext& context, DataSet& ds);
Command moveDownCommand(RunContext& context, DataSet& ds);

// The move itself, throwing Error.
void move(Table& t, bool down);

}  // namespace display_order

// A place where a row is still used, for the deletion checks: the letter of
// its count, the table and column that refer to the row, the line of the
// refusal (beginning with a line break).
struct UsePlace {
    QString letter;
    QString table;
    QString column;
    QString line;
};

// The lines of the places with at least one row referring to `code`, in the
// order of `places` (places sharing a letter give their line once).
QString inUseLines(Database& db, const QList<UsePlace>& places, const QVariant& code);
