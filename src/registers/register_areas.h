#pragma once
// The areas of the registers: groups, statuses, educators and children.

class AreaRegistry;
class KeyValueSettings;

// "Klasy" (groups), "Statusy" (statuses), "Wychowawcy" (educators) and
// "Dzieci" (children, {"title": …}). The children register keeps its sort
// order in `settings`; without them, in the user's own settings.
void registerRegisterAreas(AreaRegistry& areas, KeyValueSettings* settings = nullptr);
