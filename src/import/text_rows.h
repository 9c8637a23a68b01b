#pragma once
// The rows of a text file or of an HTML table: lines held in memory,
// numbered from 1, cut into cells by the separator or by fixed widths.

#include "import_format.h"
#include "import_values.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace import {

// Every line of the file, empty ones included (CR LF or LF; a final line
// break opens no further line).
QList<QByteArray> fileLines(const QByteArray& content);

// True when the bytes are UTF-8 with at least one character beyond ASCII
// (or begin with its byte order mark): such a file is read as UTF-8 when
// the format names no code page.
bool looksLikeUtf8(const QByteArray& content);

// The line's cells, one per column code: with a separator the text up to
// its next occurrence (the last column takes the rest), without one the
// next run of the column's width. Columns beyond the text are empty.
QList<ImportCell> cutLine(const QString& line, const QString& separator, const QList<int>& widths, int columnCount);

}  // namespace import
