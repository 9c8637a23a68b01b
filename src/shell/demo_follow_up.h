#pragma once
// The demonstration store's follow-up work: parents' requests around the
// current month (some open, some dealt with, one of them older than a
// month) and periodic deadlines with their executions, so that the
// reminder list holds open requests, a coming and a missed deadline.

#include "demo_rows.h"

namespace demo {

// Returns the requests and deadlines written.
int fillRequests(Database& db, const QList<Child>& children, const Months& months);
int fillDeadlines(Database& db, const QList<Child>& children, const QDate& today, const QDate& schoolYear);

}  // namespace demo
