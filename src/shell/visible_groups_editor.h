#pragma once
// The visible-groups editor of a user or user group ("Widoczne grupy
// &dzieci"): "Wszystkie" for every group, then each group of children by
// name, the stored lines of KLASY checked. A stored line that is no number
// is offered and saved as it was: it never becomes a group code.

#include "memo_choice.h"

class Database;
class Table;
struct RunContext;

namespace visible_groups {

struct Group {
    int code = 0;
    QString name;
};

QString title();    // "Lista dostępnych grup dzieci"
QString allText();  // "Wszystkie"

// The groups of children (KLASY) in key order.
QList<Group> groups(Database& db);

// The list offered for the stored lines. An entry's value is its group code
// (an int, -1 for all) or, for a line that is no number, the line itself.
MemoChoice choice(const QStringList& stored, const QList<Group>& groups);
// The single line "-1" when "Wszystkie" is checked, else one line per
// checked entry.
QStringList linesOf(const QList<PickEntry>& checked);

// The command on the current row of `row` (UZYT or GRUPY).
bool edit(RunContext& context, Table& row);

}  // namespace visible_groups
