#pragma once
// The lookup lists the requests and deadlines registers share: children by
// their caption and group, users by their description, period units by name.

#include <QString>

class Database;
class Prompts;
class QObject;
class Table;

namespace followup {

// Every child (DZIECI), with the calculated CAPTION of the children register.
Table* childrenLookup(Database& db, QObject* owner);
// Every user (UZYT), ordered by NAZWA.
Table* usersLookup(Database& db, QObject* owner);
// The period units: KODY rows of kind "okres".
Table* periodUnitsLookup(Database& db, QObject* owner);

// Runs the memo editor of the current row's WYKONANIE, titled `caption`,
// and saves the text; the row is left as it was when the editor is cancelled.
void editExecutionText(Table& row, Prompts& prompts, const QString& caption);

}  // namespace followup
