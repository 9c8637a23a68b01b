#pragma once
// The areas of the groups, statuses and educators registers.

class AreaRegistry;

// "Klasy" (groups), "Statusy" (statuses), "Wychowawcy" (educators).
void registerRegisterAreas(AreaRegistry& areas);
