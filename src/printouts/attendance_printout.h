#pragma once
// The attendance printout (TRaportObecn): what the attendance window shows,
// on A4 portrait.
//
//   day view    a ruled list of the current day: one line per child with its
//               code and times, a line per extra class under it, and the
//               totals line "RAZEM"
//   month view  a page per child: the month's calendar, the legend with the
//               month's counts, declared and free time, the paid time and
//               the extra classes attended
//
// The window (attendance_print_request.h) or lunawactl gathers the input;
// the job reads the month's rows in bulk when it is made and then runs
// without the store.
//
//   attendance_printout.cpp    reading the month, the job, the page footer
//   attendance_day_list.cpp    the day view's list
//   attendance_month_pages.cpp the month view's pages

#include "report_job.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

class Database;

namespace printouts {

// One extra-class column of the day view: its caption, the times shown for
// a child present at it, and the held class it stands for (id -1: a class
// not held yet, which has no marks).
struct AttendanceClassLine {
    QString caption;  // "Angielski (14:00 - 15:00)"
    QString start;    // "14:00"
    QString end;
    QVariant group;   // invalid: no group
    int id = -1;
};

struct AttendanceChild {
    int child = 0;     // DZIECI.KOD
    QString caption;   // as the window names the child
};

struct AttendancePrintInput {
    QList<AttendanceChild> children;  // in the window's order
    QDate day;                        // the current day; its month for the month view
    // The month's free days as MIESIACE.DNIWOLNE keeps them; read from the
    // store when not given.
    std::optional<QString> freeDays;
    bool monthView = false;
    bool colours = false;
    QString title;                    // see attendanceTitle()
    QList<AttendanceClassLine> classLines;  // day view only
};

// NAZWA + " - lista obecności na wtorek 5 marca 2024" ("dziecka na " for one
// child's window), then "\r\n" and the filter's description when a filter
// is active.
QString attendanceTitle(const QString& institutionName, QDate day, bool singleChild,
                        const QString& filterDescription = {});

// The colours of the codes when colours are asked for: T green, N red,
// Z orange, anything else white; and the grey of a free day in the calendar.
QColor attendanceCodeColour(const QString& code);
QColor freeDayColour();

// Reads the month of `input.day` for the listed children (one read per
// table) and returns the printout. Throws the store's Error.
std::unique_ptr<report::Job> makeAttendancePrintout(Database& db, const AttendancePrintInput& input);

}  // namespace printouts
