#pragma once
// The three callers of the import: the payments of a month, the charge
// lines of a month and type, and the attendance (daily or monthly counts)
// of the window's current day. Each reads the options' current text, so an
// edited format applies at once.

#include "import_posting.h"

#include <QDate>

struct RunContext;

namespace import {

// OPCJE.PARAMS as it is now in the store.
QString currentConfiguration(Database& db);

// "IMPORT WPŁAT" into the payments of the month record `monthKod`
// (`year`-`month`); rows without date get the month's last day.
ImportRequest paymentsRequest(RunContext& context, int monthKod, int year, int month);
// "IMPORT NALICZEŃ" into the lines of type `type` ("0" or "1") of the month.
ImportRequest chargesRequest(RunContext& context, int monthKod, int year, int month, const QString& type);
// "IMPORT OBECNOŚCI" with `day` as the rows' default date; `monthly` writes counts.
ImportRequest attendanceRequest(RunContext& context, const QDate& day, bool monthly);

// A "Wczytaj z pliku" command: runs the import, showing its error (nothing
// is then written). True when rows were written, so the list is re-read.
bool importFromWindow(RunContext& context, const ImportRequest& request);
// The month record's year and month; false when there is none.
bool monthOfRecord(Database& db, int monthKod, int& year, int& month);

// The attendance window's question: daily (false) or monthly counts
// (true); nothing when it was closed.
std::optional<bool> askAttendanceKind(Prompts& prompts);

}  // namespace import
