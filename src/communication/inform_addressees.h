#pragma once
// The children an information is addressed to (DZIEINF): who may be added
// by "Przyporządkuj nowych adresatów", who is there already, and the
// e-mail addresses of their parents.

#include "browser/prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

class Database;

namespace inform {

// "Informacja główna jest "tablicą" i nie może mieć powiązań z dziećmi"
QString boardRefusal();
// "Brak dresów E-mail w podanym zakresie"
QString noAddressesMessage();

// DZIEINF rows of the information, whoever may see the children.
int addresseeCount(Database& db, int information);

// The groups the user sees (KLASY in display order), as check-list entries
// whose values are the group codes.
QList<PickEntry> visibleGroups(Database& db, const QStringList& visibleGroupCodes);

// The active children of the groups, group by group in the order given,
// within a group by name (Polish order); each shown as the child's caption
// + " - grupa " + the group's name, with the child's code as the value.
QList<PickEntry> activeChildrenOf(Database& db, const QList<PickEntry>& groups);

// The addressees of the information in the groups the user sees, in
// addressee order (by child code).
QList<int> addresseesOf(Database& db, int information, const QStringList& visibleGroupCodes);

// Adds a DZIEINF row for every child not yet addressed, in one transaction;
// returns how many were added.
int addAddressees(Database& db, int information, const QList<int>& children);

// The addresses in DZIECI.EMAIL of the children, in the order given: an
// entry may hold several addresses separated by ";" or ","; each address
// is taken once.
QStringList emailsOf(Database& db, const QList<int>& children);

}  // namespace inform
