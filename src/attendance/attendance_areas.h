#pragma once
// The areas of the attendance register.

class AreaRegistry;
class KeyValueSettings;

// "Obecnosci" (the main window's "Lista &obecności", arguments {"title"})
// and area::childAttendance() (from the children register, arguments of
// area::forChild). Without settings the user's own keep the sort order.
void registerAttendanceAreas(AreaRegistry& areas, KeyValueSettings* settings = nullptr);
