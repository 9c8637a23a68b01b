#pragma once
// The invoices printout ("Zestawienie faktur i rachunków"): the invoices and
// corrections of one settlement month on a template of type 4, each with the
// template's header and footer around a framed item table, the VAT
// breakdown and the totals. The dialog and lunawactl both fill an
// InvoiceSelection and ask for a job.

#include "report_job.h"
#include "template_cache.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class Database;

namespace printouts {

// The items of "Oryginał/kopia".
QStringList copyLabels();
// The label as the field prints it: the two duplicates add "\r\nz dnia "
// and `today` as a short date.
QString copyLabelText(const QString& label, QDate today);

// Which documents print. With `child` set the other filters are ignored.
struct InvoiceSelection {
    int month = 0;                     // MIESIACE.KOD
    std::optional<int> child;          // opened for one child's record
    std::optional<QList<int>> groups;  // KLASY.KOD; none: no restriction, empty: no child
    bool inactive = false;             // "Nieaktywni": inactive children too
    std::optional<QList<int>> chosen;  // "Wybrani": only these children; none: all
    QString copyLabel = QStringLiteral("Oryginał");
    QDate today = QDate::currentDate();  // the computer's date, for the duplicates' "z dnia"
};

// The month code of a year and month; nothing when MIESIACE has no such month.
std::optional<int> monthCode(Database& db, int year, int month);

// The addressees of the documents the selection prints without `chosen`,
// in the order their documents print: what "Wybrani" offers.
QList<int> invoiceAddressees(Database& db, InvoiceSelection selection);

// The report of the selection on the template (none: the fixed parts
// only). Every row is read here, in one read per table; the job then runs
// without the store, on any thread, as often as asked.
std::unique_ptr<report::Job> makeInvoicesJob(Database& db, const InvoiceSelection& selection,
                                             const BuiltTemplate* layout);

}  // namespace printouts
