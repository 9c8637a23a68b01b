#pragma once
// Inside the attendance printout: the month as read from the store, and the
// two report definitions made from it. Each definition runs over rows
// numbered 0 … n-1 (field "N"), one per entry, whose texts were worked out
// beforehand, so a run reads nothing but them.

#include "attendance_printout.h"
#include "report.h"

#include "attendance/free_days.h"
#include "fees/attendance_rows.h"

#include <QHash>
#include <QVariant>

#include <array>

namespace printouts::attendance_print {

struct MonthData {
    fees::QuantityData rows;                     // the month of the day
    attendance::FreeDays freeDays;
    QHash<int, std::array<QVariant, 3>> counts;  // OBECM of the month, T N Z; invalid: no count
    QHash<int, fees::DeclaredTimeRow> latestDeclared;  // DZIECZAS of the latest ODDATY
    std::optional<fees::FreeTimeRow> latestFree;       // CZASBEZP of the latest ODDATY
    int chargeStep = 0;                           // NALICZANIE MINUT
};

// "08:05", empty for no time.
QString timeText(int minutes);
// "Bezpłatny czas pobytu: 12:00 - 13:00" from a start and end; blank when
// neither is set.
QString timeLine(const QString& prefix, int start, int end);

// Text styles of the printout: Arial 10 pt unless told.
report::TextStyle textStyle(Qt::Alignment alignment = Qt::AlignLeft, bool bold = false, bool italic = false,
                            double pointSize = 10);
// "Strona: n" at the left and the footer line at the right, 8 pt.
report::Band pageFooter(const QString& footerLine, double width);

report::Report dayListReport(const AttendancePrintInput& input, const MonthData& data, report::Rows& rows);
report::Report monthPagesReport(const AttendancePrintInput& input, const MonthData& data, report::Rows& rows);

}  // namespace printouts::attendance_print
