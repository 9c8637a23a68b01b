#pragma once
// The writers behind exportReport(), one file each. Table formats take the
// rows read from the pages (export_table.h); paged formats take the pages.

#include "export_table.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace report {

// Plain UTF-8 text, each text at the character column of its place on the
// page, pages separated by a form feed; CRLF line ends.
QByteArray textExport(const QList<TableRow>& rows);

// Semicolon-separated values (the list separator of Polish spreadsheets, whose
// decimal separator is the comma), UTF-8 with a byte order mark so that
// spreadsheets read the Polish letters; CRLF line ends; one column per
// distinct left edge of the texts.
QByteArray csvExport(const QList<TableRow>& rows);

// Rich text: one paragraph per text line with tab stops at the texts' places,
// a page break between pages, non-ASCII letters as \u escapes.
QByteArray rtfExport(const QList<TableRow>& rows, const PreparedPages& pages);

// An HTML document (well-formed XML) with one table per page.
QByteArray htmlExport(const QList<TableRow>& rows, const QString& title);

// A text that reads as a Polish number ("-1 234,50"): its value, the
// decimals and grouping shown. Leading zeros and plain integers of more than
// nine digits (identity and account numbers) are no numbers.
struct PolishNumber {
    double value = 0;
    int decimals = 0;
    bool grouped = false;
};
std::optional<PolishNumber> readPolishNumber(const QString& text);

// A spreadsheet (.xlsx), one sheet, texts that read as Polish numbers stored
// as numbers. Empty text on success, else the message.
QString writeXlsx(const QList<TableRow>& rows, const QString& title, const QString& fileName);

// One picture per page: SVG, or PNG when the name ends in .png. One page
// goes under the name itself; more pages under NAME-1.svg, NAME-2.svg, …
QString writePictures(const PreparedPages& pages, const QString& fileName);
QStringList pictureFileNames(const QString& fileName, int pageCount);

// The prepared-pages file of "Wczytaj raport".
QString writePagesFile(const PreparedPages& pages, const QString& fileName);

}  // namespace report
