#pragma once
// Running a report definition over its rows into prepared pages, and the
// job that does so for the preview, the printer and the exports.

#include "report.h"
#include "report_job.h"

namespace report {

// Lays the report out from the first row to the last. The page footer and
// its child band are reserved at the foot of every page first; the page
// header and column header open every page; a band that does not fit goes
// to the next page; a group header never stays alone at a page's foot.
// Each finished page goes to `sink` (which may stop the run); "{pages}"
// in page-number items costs a counting run first, so that pages handed
// to the sink are already final.
PreparedPages prepare(const Report& report, const Rows& rows, Purpose purpose = Purpose::Pages,
                      const PageSink& sink = {});

// A definition with its rows, as a Job: a table export runs a copy changed
// by asTableExport().
class ReportJob : public Job {
public:
    ReportJob(Report report, Rows rows);
    QString title() const override { return m_report.title; }
    PreparedPages run(Purpose purpose, const PageSink& sink = {}) const override;

    const Report& definition() const { return m_report; }
    const Rows& rows() const { return m_rows; }

private:
    Report m_report;
    Rows m_rows;
};

}  // namespace report
