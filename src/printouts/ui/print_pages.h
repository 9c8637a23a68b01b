#pragma once
// Printing prepared pages on a printer, each page on paper of its own size,
// through the one page painter.

#include "printouts/page_model.h"

#include <QString>

class QPrinter;

namespace report {

// Empty on success, else the Polish message to show.
QString printPages(QPrinter& printer, const PreparedPages& pages);

}  // namespace report
