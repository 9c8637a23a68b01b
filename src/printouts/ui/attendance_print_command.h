#pragma once
// The attendance window's "Wydruk obecności miesiąca" on the desktop: the
// questions, the title with the window's active filter, and the preview.

class AreaRegistry;
class TDMObecn;

namespace printouts {

// Asks the printout's questions for the window and opens the preview; the
// preview of the window's previous printout is closed.
void printAttendance(TDMObecn& window);

// The area "WydrukObecnosci" the command opens.
void registerAttendancePrintArea(AreaRegistry& areas);

}  // namespace printouts
