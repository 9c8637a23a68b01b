#pragma once
// The settlement months without a window: what the months window and
// lunawactl share.
//
//   generatedFreeDays    the free days a new month starts with
//   monthKod, freeDaysOf the month record of a year and month
//   addMonth             a new month record (the July/August question)
//   childBalance         payments minus approved charges up to a month
//   monthDeletionLines   what still refers to a month, checkMonthDeletion
//   undoApproval         "Cofnij opłaty"

#include <QList>
#include <QString>

class Database;
struct RunContext;

namespace fees {

// --- month records ---------------------------------------------------------

// Saturdays, Sundays and the fixed holidays (1 and 3 May, 15 August,
// 1 and 11 November, 25 and 26 December) of the month in day order,
// comma separated; "-" when the whole month is free.
QString generatedFreeDays(int year, int month, bool wholeMonthFree);

// The KOD of the month record, 0 when there is none.
int monthKod(Database& db, int year, int month);
// The month's DNIWOLNE; "-" when it has no record.
QString freeDaysOf(Database& db, int year, int month);

struct MonthRecord {
    int kod = 0;
    int year = 0;
    int month = 0;
    QString freeDays;
};
// Every month record in calendar order.
QList<MonthRecord> monthsInOrder(Database& db);

// "Jest to miesiąc całkowicie wolny od pracy?"
QString wholeMonthFreeQuestion();
// Shown instead of adding a month that exists.
QString monthExistsMessage(int year, int month);

// Adds the record of `year`-`month` with its generated free days, asking
// through context.prompts whether July or August is wholly free. A month
// that exists is not added again: monthExistsMessage() is shown and 0
// returned. Returns the new record's KOD; a store error is thrown.
int addMonth(RunContext& context, int year, int month);

// --- balance ------------------------------------------------------------------

// The balance of a child up to and including a month, in grosze: the
// child's payments of every month not after it minus the approved charge
// lines of those months. Positive is an overpayment, negative arrears.
// Each amount is taken to the grosz before it is added, so the sum is exact.
qint64 childBalance(Database& db, int child, int year, int month);
// "-123.45": a point and two decimals, for scripts.
QString balanceText(qint64 grosze);

// --- deleting a month -------------------------------------------------------------

// "\r\n- opłatach miesięcznych" when charge lines refer to the month,
// "\r\n- wpłatach miesięcznych" when payments do; empty when nothing does.
QString monthDeletionLines(Database& db, int monthKod);
QString monthInUseHeading();
// Throws Error(heading + lines) when the month is still referred to.
void checkMonthDeletion(Database& db, int monthKod);

// --- undo of approvals ---------------------------------------------------------------

QString laterChargesRefusal();      // "Aby cofnąć naliczenia …"
QString invoicedLinesQuestion();    // asked when charges carry invoice links
QString undoConfirmation();         // "Funkcja skasuje wszystkie zatwierdzone naliczenia"
QString operationEnd();             // "Koniec operacji"

// "Cofnij opłaty" for the month record `monthKod` and one child (0 = all):
// refuses while any charge line exists in a later month, asks the
// confirmations, deletes the approved lines of the month (of the child)
// and the invoices the deletion left without any line, in one transaction,
// and shows "Koniec operacji". False when refused or cancelled; a store
// error is thrown and nothing is deleted.
bool undoApproval(RunContext& context, int monthKod, int child = 0);

}  // namespace fees
