#pragma once
// Separated columns with quoted text, as bank statements write them: a cell
// whose first non-blank character is the quote runs to the closing quote,
// a doubled quote inside is one quote, and separators inside are text.

#include "import_values.h"

#include <QChar>
#include <QList>
#include <QString>

namespace import {

// The line's cells, one per column when `columnCount` >= 0 (missing ones
// empty, the last column only its own cell), or every cell of the line
// when it is negative. The quotes are removed; cells are not trimmed.
QList<ImportCell> cutQuoted(const QString& line, const QString& separator, QChar quote, int columnCount);

}  // namespace import
