#pragma once
// The demonstration store's children: three groups of children with
// addresses, parents, PESEL numbers, declared times of stay, their fee
// components and the rhythmics class for the older ones. The last child of
// the first group joins later than the others.

#include "demo_rows.h"

namespace demo {

struct Catalogue;

QList<Child> fillChildren(Database& db, Dice& dice, const Catalogue& c, const QDate& since, const QDate& newcomer,
                          int perGroup, int& groups);

}  // namespace demo
