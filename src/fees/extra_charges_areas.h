#pragma once
// The areas of extra charges:
//   "Naldodat"                  the grid of every active child (main window)
//   area::childExtraCharges()   the grid of the children register's current
//                               child, following `master`

class AreaRegistry;

void registerExtraChargeAreas(AreaRegistry& areas);
