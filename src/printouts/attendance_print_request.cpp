#include "attendance_print_request.h"

#include "attendance/tdm_obecn.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "registers/child_caption.h"
#include "store/polish_dates.h"
#include "store/table.h"

namespace printouts {

AttendancePrintInput attendancePrintInput(TDMObecn& window, const QString& filterDescription)
{
    AttendancePrintInput input;
    const obecn::ViewState& view = window.view();
    const obecn::ViewData& data = window.viewData();
    // Read by index: the cursor stays where the user left it.
    const Table& list = *window.children().table;
    for (int i = 0; i < list.rowCount(); ++i) {
        AttendanceChild child;
        child.child = list.valueAt(i, QStringLiteral("KOD")).toInt();
        child.caption = childCaption(list.valueAt(i, QStringLiteral("NAZWA")).toString(),
                                     list.valueAt(i, QStringLiteral("ULICA")).toString(),
                                     list.valueAt(i, QStringLiteral("PESEL")).toString());
        input.children << child;
    }
    input.day = view.day;
    input.freeDays = data.freeDaysText;
    input.monthView = view.monthView;
    input.title = attendanceTitle(window.context().institution.name, view.day, window.singleChild(), filterDescription);
    if (!view.monthView) {
        for (const obecn::ClassColumn& c : data.classes) {
            AttendanceClassLine line;
            line.caption = c.caption;
            line.start = c.start == fees::noTime ? QString() : polish::time(QTime(c.start / 60, c.start % 60));
            line.end = c.end == fees::noTime ? QString() : polish::time(QTime(c.end / 60, c.end % 60));
            line.group = c.group;
            line.id = c.held() ? c.id : -1;
            input.classLines << line;
        }
    }
    return input;
}

AttendancePrintInput askAttendancePrintout(TDMObecn& window, const QString& filterDescription)
{
    AttendancePrintInput input = attendancePrintInput(window, filterDescription);
    Prompts& prompts = window.context().prompts;
    input.colours = prompts.askYesNo(coloursQuestion());
    if (!input.classLines.isEmpty() && !prompts.askYesNo(classLinesQuestion()))
        input.classLines.clear();
    return input;
}

}  // namespace printouts
