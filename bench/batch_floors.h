#pragma once
// What the month's batches read and write, done through the C APIs alone:
// the floor each batch is measured against. The rows written are those the
// program wrote itself, taken from the store after its run.

#include "native_store.h"

#include <QDate>

#include <vector>

namespace bench {

// Every read of the quantities' loader for a period, worded as the loader
// words them (keep the two in step, or the floor measures other SQL).
long long readQuantityRows(native::Connection& c, QDate from, QDate to);
// The period's attendance read child by child, one index seek each.
long long readAttendanceBySeeks(native::Connection& c, QDate from, QDate to, int children);

// The charge lines of a month, as the program wrote them.
struct ChargeLines {
    std::vector<native::Row> rows;
    static ChargeLines of(native::Connection& c, int month);
};
// The charge run's reads for the month starting on `first` and the month
// before it (settled), one delete of the month's computed lines and the
// inserts of `lines`, in one transaction.
void computeFloor(native::Connection& c, int month, int settledMonth, QDate first, const ChargeLines& lines);
// The inserts alone, in one transaction (the month's computed lines are
// deleted first, outside the timing's concern).
void deleteComputed(native::Connection& c, int month);
void insertLines(native::Connection& c, const ChargeLines& lines);
// The same through PostgreSQL's COPY, the fastest way in.
void copyLines(native::Connection& c, const ChargeLines& lines);

// What an approval wrote: the invoices and each line's invoice and place.
struct Approval {
    std::vector<native::Row> invoices;  // ID, KOD, NUMER, OSOBA, WYST, TERMIN, TYTUL
    std::vector<native::Row> lines;     // IDF, LPF, ID
    static Approval of(native::Connection& c, int month);
};
void undoApproval(native::Connection& c, int month);
// Reads the month's computed lines, writes the invoices and approves each
// line, in one transaction.
void approvalFloor(native::Connection& c, int month, const Approval& approval);

// The attendance window's month: the loader's reads, the month's counts
// and free days.
long long readMonthView(native::Connection& c, QDate day);

}  // namespace bench
