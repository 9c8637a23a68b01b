#pragma once
// The import engine: reads a file described by an import format, matches
// each row to a child, asks its questions while reading (the confirmation
// of the child, the similar row, another month, the balance mismatch, the
// payments missing at the end of the file) and then writes what was
// confirmed in one short transaction, so that no dialog ever holds the
// store and an error leaves nothing half written.

#include "import_sources.h"
#include "similar_rows.h"

#include <QDate>
#include <QString>
#include <QStringList>

class Database;
class Prompts;

namespace import {

struct ImportRequest {
    ImportTarget target = ImportTarget::Payments;
    QString section;            // the format's section, and the dialogs' titles
    QString configurationText;  // OPCJE.PARAMS
    QDate defaultDate;          // of rows without date; the month rows are checked against
    QString type;               // NALICZ.TYP; for attendance the month's free days
    int monthKod = 0;           // MIESIACE.KOD written to KOD
    QStringList visibleGroups;  // of the login; the children list
    QDate today;                // collecting persons valid on this day
};

struct ImportReport {
    int read = 0;     // rows taken from the file
    int written = 0;  // rows that wrote something
    int skipped = 0;
    QStringList summaries;  // one line per written row
    QStringList remarks;    // balance mismatches
    QStringList notes;      // titles cut to OPIS, a missing "START PO" line
    bool stopped = false;   // "Przerwij": the rows confirmed before it are written
    bool cancelled = false; // the file or a slot's component was not chosen: nothing written
};

// The whole import: format, slots, file choice, rows, end of file, writing.
// Throws Error with the message (no format, a file, date or number that
// cannot be read, a store refusal); nothing is written then.
ImportReport runImport(Database& db, Prompts& prompts, const ImportRequest& request);

// The same over rows already opened (no file choice).
ImportReport runImport(Database& db, Prompts& prompts, const ImportRequest& request, const ImportRows& rows);

// The texts of the questions, which also let a command line recognise them.
namespace texts {
QString confirmationTitle(const QString& section);  // section + " - potwierdzenie"
QString fileTitle(const QString& section);          // section + " - wybierz plik"
QString noChild();          // "Program nie dopasował żadnego dziecka…"
QString found();            // "Odszukano"
QString foundInTitle();     // "Odszukano w tytule"
QString similar();          // "Podobna pozycja już widnieje…"
QString otherMonth();       // ") z innego miesiąca…"
QString balanceMismatch();  // "Niezgodność salda odczytanego i wyliczonego"
QString missingRow();       // "Brak wiersza dla dziecka"
QString componentTitle();   // "Wybierz składnik - "
QString slotKindTitle();    // "Rodzaj pozycji"
QString childListTitle();   // "Dziecko"
}  // namespace texts

}  // namespace import
