#pragma once
// Sums and balances the settlement lists show beside their rows, each read
// for the whole list in one query (never one per row):
//   monthTotals      per month record: approved charges, payments and the
//                    balance up to the month (one child or all children)
//   invoiceTotals    per invoice of a month: the total of its lines
//   addMonthTotals, addInvoiceTotals   the columns on the lists' cursors
// Amounts are in grosze, each taken to the grosz before it is added, as
// childBalance() counts them.

#include <QHash>
#include <QtGlobal>

#include <functional>

class Database;
struct DataSet;

namespace fees {

struct MonthTotals {
    qint64 charged = 0;  // approved charge lines (TYP 1) of the month
    qint64 paid = 0;     // payments of the month
    qint64 balance = 0;  // payments minus approved charges of every month up to it
};

// By MIESIACE.KOD, for every month record; `child` 0 sums all children.
QHash<int, MonthTotals> monthTotals(Database& db, int child);

// By FAKT.ID, for the invoices booked in the month `monthKod`, correction
// invoices included (their lines may count in other months).
QHash<int, qint64> invoiceTotals(Database& db, int monthKod);

// "Opłaty zatwierdzone", "Wpłaty" and "Saldo" columns (NALICZONO, WPLACONO, SALDO) on
// the months list, for the child `child()` gives (0: all children); read
// again whenever the list is.
void addMonthTotals(DataSet& months, Database& db, std::function<int()> child);

// "Wartość" (WARTOSC) on the invoices list, summed in the list's footer.
void addInvoiceTotals(DataSet& invoices, Database& db);

}  // namespace fees
