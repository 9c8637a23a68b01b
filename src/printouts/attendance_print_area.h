#pragma once
// The area of the attendance printout, opened by the attendance window's
// "Wydruk obecności miesiąca" with {area::attendanceWindowKey(): the
// window's TDMObecn as a QObject*}. The desktop registers it (it ends in the
// preview); without it the command is not offered.

#include <QString>

namespace area {
inline QString attendancePrintout() { return QStringLiteral("WydrukObecnosci"); }
inline QString attendanceWindowKey() { return QStringLiteral("module"); }
}  // namespace area
