#pragma once
// The areas of the settlement months.

#include "fees/rozrach_free_days.h"

class AreaRegistry;

// "Rozrachunki" (the main window's "&Rozrachunki", arguments {"title"}) and
// area::childSettlements() (arguments of area::forChild: the window follows
// the children list given as master and belongs to the owner). `editor` is
// the desktop's free-days editor; without it "Zaznacz wolne dni" is not offered.
void registerSettlementAreas(AreaRegistry& areas, FreeDaysEditor editor = {});
