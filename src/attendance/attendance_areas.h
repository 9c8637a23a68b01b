#pragma once
// The areas of the attendance register.

#include <functional>

class AreaRegistry;
class KeyValueSettings;
struct RunContext;

// Opens the attendance terminal's window (a desktop-only window).
using TerminalWindow = std::function<void(RunContext&)>;

// "Obecnosci" (the main window's "Lista &obecności", arguments {"title"})
// and area::childAttendance() (from the children register, arguments of
// area::forChild). Without settings the user's own keep the sort order.
// With a terminal window, also "Wprowadzanieczasu" (the main window's
// "Wprowadzanie &czasu pobytu").
void registerAttendanceAreas(AreaRegistry& areas, KeyValueSettings* settings = nullptr,
                             TerminalWindow terminalWindow = {});
