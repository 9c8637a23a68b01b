#pragma once
// The demonstration store's attendance: the daily register of every working
// day of a month (up to a day), and the rhythmics class held on its
// Tuesdays with the declared children's attendance at it.

#include "demo_rows.h"

namespace demo {

// Fills the working days of `month` before `end` (the whole month when
// `end` is later) and records them in `days`. Returns the rows written.
int fillAttendance(Database& db, Dice& dice, const QList<Child>& children, const QDate& month, const QDate& end,
                   Attendance& days);

// The class held on every scheduled working day from `from` to the day
// before `end`, numbered on from the store's held classes without a group.
// A declared child is marked present when the register has it present
// for the class's whole time. Returns the held classes written.
int fillHeldClasses(Database& db, int classCode, const QList<Child>& children, const Attendance& days,
                    const QDate& from, const QDate& end);

}  // namespace demo
