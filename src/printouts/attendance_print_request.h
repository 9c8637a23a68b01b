#pragma once
// What the attendance window's "Wydruk obecności miesiąca" hands to the
// attendance printout: the children of the window's list in its order and
// under its filter, the view and the day, the month's free days, the title
// and the extra-class columns of the day view, with the two questions the
// command asks ("Obecności w kolorach?", "Pokazać obecności dodatkowe?").

#include "attendance_printout.h"

#include <optional>

class TDMObecn;

namespace printouts {

// The input as the window shows it, before the questions: colours off and
// every extra-class column of the day view. `filterDescription` is the
// window's active filter in words (empty when none).
AttendancePrintInput attendancePrintInput(TDMObecn& window, const QString& filterDescription);

// Asks the questions through the window's prompts and returns the input
// answered; the current row of the window's list does not move.
AttendancePrintInput askAttendancePrintout(TDMObecn& window, const QString& filterDescription);

inline QString coloursQuestion() { return QStringLiteral("Obecności w kolorach?"); }
inline QString classLinesQuestion() { return QStringLiteral("Pokazać obecności dodatkowe?"); }

}  // namespace printouts
