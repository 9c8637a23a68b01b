#pragma once
// The functions editor of a user or user group ("Widoczne &funkcje"): the
// granted lines of FUNKCJE checked, every other function of the function
// table once, and each extra class by its name. An entry stands for the
// line it saves, so a class is granted by its code whatever its name.

#include "memo_choice.h"

class Database;
class Table;
struct RunContext;

namespace function_grants {

struct ExtraClass {
    int code = 0;
    QString name;
};

QString title();  // "Lista dostępnych funkcji"

// The extra classes (ZAJDOD) in key order.
QList<ExtraClass> extraClasses(Database& db);

// The list offered for the stored lines.
MemoChoice choice(const QStringList& stored, const QList<ExtraClass>& classes);
// The lines saved for the checked entries, in their order.
QStringList linesOf(const QList<PickEntry>& checked);

// The command on the current row of `row` (UZYT or GRUPY); false when
// cancelled or there is no row.
bool edit(RunContext& context, Table& row);

}  // namespace function_grants
