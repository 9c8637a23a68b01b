#pragma once
// What the demonstration store tells parents: informations (addressed to
// children, partly opened on the web, one with an attachment; notice
// boards for a group), the menu of every working day of the current month,
// internet passwords of most children and the log of their logins to the
// parents' web service over the last weeks.

#include "demo_rows.h"

namespace demo {

void fillInformation(Database& db, const QList<Child>& children, const QList<int>& groups, const Months& months);
// Returns the days with a menu.
int fillMeals(Database& db, const QDate& month);
// Returns the login records written.
int fillWebLogins(Database& db, Dice& dice, const QList<Child>& children, const QDate& today);

}  // namespace demo
