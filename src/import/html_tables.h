#pragma once
// Tables of an HTML page as the import reads them: a listing with each
// table's first row, and the rows of one table as lines whose cells end with
// a tab. Cell text is decoded to Windows-1250 bytes (entities and the UTF-8
// Polish letters), so the import converts it by its code page like any text
// file.

#include <QByteArray>
#include <QList>

namespace import {

// One line per table in page order: "N. | cell | cell | " of its first row.
QList<QByteArray> htmlTableListing(const QByteArray& page);

// The rows of table `number` (from 1), each "cell\tcell\t"; empty when the
// page has no such table or the table has no rows.
QList<QByteArray> htmlTableRows(const QByteArray& page, int number);

}  // namespace import
