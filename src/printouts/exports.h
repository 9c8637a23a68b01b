#pragma once
// Saving a report: the formats of the "Zapisz raport" dialog, one registry
// that serves the dialog and lunawactl alike. Every file is written to a
// temporary file beside the target and renamed, so a failure never leaves a
// half-written file under the chosen name.

#include "report_job.h"

#include <QList>
#include <QString>

namespace report {

struct ExportFormat {
    QString filter;     // the dialog's filter text, "Pliki PDF (*.PDF)"
    QString extension;  // lower case, without the dot: "pdf"
    // Text, CSV and spreadsheet read the run band by band; CSV and the
    // spreadsheet run the report again for a table export.
    bool tableExport = false;
};

// The save dialog's formats in its order: prepared pages, PDF, text, RTF,
// spreadsheet, HTML, CSV, pictures.
QList<ExportFormat> exportFormats();

// The format of a file name's extension (case ignored; "htm" and "html",
// "svg" and "png" both known); null for none.
const ExportFormat* formatOfFile(const QString& fileName);

// Writes `pages` (the job's pages as prepared for the preview) to the file
// in the format; formats that want a table export run `job` again with
// Purpose::TableExport (no job: they read `pages` as they are). Returns an
// empty text on success, else the Polish message to show.
QString exportReport(const PreparedPages& pages, const Job* job, const ExportFormat& format,
                     const QString& fileName);

// The prepared-pages file: written by the first format, read by "Wczytaj
// raport". Reading a missing file gives "Plik nie istnieje"; a damaged or
// foreign one a message saying so.
QString readPagesFile(const QString& fileName, PreparedPages& pages);

}  // namespace report
