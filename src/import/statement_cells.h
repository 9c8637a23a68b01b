#pragma once
// Small readings of bank statement cells: values that carry their label
// inside the cell ("Tytuł: czesne marzec"), and the "|" marks with which
// Elixir transfers break their text into lines.

#include "import_values.h"

#include <QList>
#include <QString>

#include <optional>

namespace import {

// The rest of the first cell that begins with `label` (letter case
// ignored, blanks trimmed), or nothing when no cell does.
std::optional<QString> labelledValue(const QList<ImportCell>& cells, const QString& label);

// The text with each "|" line mark read as a blank and blanks collapsed.
QString withoutLineMarks(const QString& text);

}  // namespace import
