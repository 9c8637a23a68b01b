#pragma once
// What the attendance window shows, read in bulk whenever its view is
// rebuilt: the month's rows of the listed children (through the quantities'
// loader), their monthly counts, the month's free days and the extra
// classes of the current day. The grid's cells are computed from it in
// memory, so painting reads no SQL.

#include "obecn_view.h"

#include "attendance/free_days.h"
#include "fees/attendance_rows.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <array>

struct RunContext;

namespace obecn {

// One extra-class column of the day view: a held class (id > 0) or a class
// scheduled that day and not held yet (id -1).
struct ClassColumn {
    QString field;    // "ZAJ1" …
    int classCode = 0;
    QVariant group;   // invalid: no group
    int id = -1;
    QString name;
    int start = fees::noTime;
    int end = fees::noTime;
    QString caption;  // "Angielski (14:00 - 15:00)"

    bool held() const { return id > 0; }
    fees::HeldClassKey key() const { return {group.isValid(), group.toInt(), id}; }
};

struct ViewData {
    fees::QuantityData rows;           // the month of the current day
    QString freeDaysText;              // DNIWOLNE as stored
    attendance::FreeDays freeDays;
    QHash<int, std::array<QVariant, 3>> counts;  // OBECM of the month: T, N, Z
    QList<ClassColumn> classes;        // day view, by start

    const fees::ChildRows* child(int kod) const { return rows.childRows(kod); }
};

// Codes of the monthly counts, in the order of ViewData::counts.
inline const std::array<QChar, 3> countCodes{QLatin1Char('T'), QLatin1Char('N'), QLatin1Char('Z')};

// The free-day list as the grid's colouring reads it: "-" spelt out as every
// day of the month, other characters than digits and commas dropped.
QString freeDaysForCells(const QString& stored);

// The month's DNIWOLNE ("" when the month has no record).
QString storedFreeDays(RunContext& context, int year, int month);

// Reads everything for the view. `listed` are the children of the list
// (the extra classes of the day need a declared child among them); one
// child is read alone.
ViewData loadViewData(RunContext& context, const ViewState& view, const QList<int>& listed, int maxClassColumns);

// The child's attendance row of a day, null when there is none.
const fees::AttendanceRow* dayRow(const fees::ChildRows* child, QDate day);
// The declaration of the child for the class in force on the day.
bool declaredFor(const fees::ChildRows* child, int classCode, QDate day);
// The declared time in force on the day (noTime sides when none).
fees::DeclaredTimeRow declaredOn(const fees::ChildRows* child, QDate day);
// The limits in force on the day, null when none.
const fees::TimeLimitsRow* limitsOn(const fees::QuantityData& rows, QDate day);

// The cell of an extra-class column for a child of group `childGroup`:
// "" (not for the child), "_" declared and present, "." declared and not
// present, or the mark stored for the held class.
QString classCell(const ViewData& data, const ClassColumn& column, const fees::ChildRows* child,
                  const QVariant& childGroup, QDate day);

// The code of a day cell of the month view: "T", "t" (present with a time
// missing), "N", "Z" or "".
QString monthCell(const fees::AttendanceRow* row);

}  // namespace obecn
