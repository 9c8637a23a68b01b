#pragma once
// Prepared pages made by hand for the painter and export tests: a list with
// a centred title in the page header, column captions, detail rows with
// Polish letters and numbers, and "Strona: n" in the page footer.

#include "printouts/report_job.h"

#include <QByteArray>
#include <QStringList>

namespace exporttest {

// A text measured as the engine measures it.
report::TextBox text(const QRectF& rect, const QString& text, Qt::Alignment alignment = Qt::AlignLeft,
                     bool bold = false);

// Adds primitives to a page as one band.
void addBand(report::Page& page, report::BandKind kind, double top, double height,
             const QList<report::Primitive>& items);

// The rows are {city, amount}; `rowsPerPage` of them go on each page.
report::PreparedPages listPages(const QList<QStringList>& rows, int rowsPerPage);

// The same list laid out for a table export: one page, the page header as a
// title band, the page footer as a summary band.
report::PreparedPages listTable(const QList<QStringList>& rows);

// The list used by most tests: four rows over two pages.
QList<QStringList> sampleRows();

class FakeJob : public report::Job {
public:
    explicit FakeJob(QList<QStringList> rows) : m_rows(std::move(rows)) {}
    QString title() const override { return QStringLiteral("Zażółć gęślą jaźń"); }
    report::PreparedPages run(report::Purpose purpose, const report::PageSink& = {}) const override;
    mutable int tableRuns = 0;

private:
    QList<QStringList> m_rows;
};

// Runs a program and returns its standard output; empty with `ok` false
// when it could not run or failed.
QByteArray runTool(const QString& program, const QStringList& arguments, bool* ok = nullptr);

QByteArray readAll(const QString& fileName);

}  // namespace exporttest
