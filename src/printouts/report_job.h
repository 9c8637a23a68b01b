#pragma once
// A report ready to run: its definition together with every value it reads,
// so that it can be prepared on a worker thread, page by page, and prepared
// again for a table export. The preview, the printer, the exports and
// lunawactl all take a Job.

#include "page_model.h"

#include <functional>

namespace report {

enum class Purpose {
    Pages,        // preview, printer, PDF, pictures, the prepared-pages file
    TableExport,  // CSV and spreadsheet: "ExportFilter" in the description,
                  // page headers run once as a title, page footers once as a
                  // summary, centred texts left-aligned
};

// Called with each finished page (its number counted from 1) and the
// progress in percent; returning false stops the run.
using PageSink = std::function<bool(const Page& page, int pageNumber, int percent)>;

class Job {
public:
    virtual ~Job() = default;
    virtual QString title() const = 0;
    // Lays the report out from the start. Safe to call from any thread and
    // more than once; the result has totals such as "page n of m" resolved.
    // A run stopped by the sink returns the pages finished so far.
    virtual PreparedPages run(Purpose purpose, const PageSink& sink = {}) const = 0;
};

}  // namespace report
