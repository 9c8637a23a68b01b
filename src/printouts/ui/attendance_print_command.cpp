#include "printouts/ui/attendance_print_command.h"

#include "attendance/tdm_obecn.h"
#include "browser/area_registry.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "browser/ui/tfm_kartot.h"
#include "printouts/attendance_print_area.h"
#include "printouts/attendance_print_request.h"
#include "printouts/ui/grid_print_command.h"
#include "printouts/ui/report_preview.h"
#include "store/error.h"

#include <QApplication>

namespace printouts {

namespace {

// The browser showing the window's list, for its active filters.
TFmKartot* browserOf(TDMObecn& window)
{
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* browser = qobject_cast<TFmKartot*>(widget);
            browser && browser->controller().module() == &window && &browser->dataSet() == &window.children())
            return browser;
    return nullptr;
}

}  // namespace

void printAttendance(TDMObecn& window)
{
    Prompts& prompts = window.context().prompts;
    try {
        TFmKartot* browser = browserOf(window);
        const QString filter = browser ? browser->controller().filters().description() : QString();
        const AttendancePrintInput input = askAttendancePrintout(window, filter);
        std::shared_ptr<report::Job> job = makeAttendancePrintout(window.context().db(), input);
        // One printout per window: a new one replaces the old one's preview.
        TReportPreview* preview = TReportPreview::open(std::move(job), prompts, &window);
        QObject::connect(&window, &QObject::destroyed, preview, &QWidget::close);
    } catch (const Error& e) {
        prompts.showError(e.message());
    }
}

void registerAttendancePrintArea(AreaRegistry& areas)
{
    areas.add(area::attendancePrintout(), [](RunContext&, const QVariantMap& arguments) {
        if (auto* window = qobject_cast<TDMObecn*>(arguments.value(area::attendanceWindowKey()).value<QObject*>()))
            printAttendance(*window);
    });
}

}  // namespace printouts
