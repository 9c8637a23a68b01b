#pragma once
// The grid's rows as tab-separated text and back: copying to and pasting
// from spreadsheets. Lines end with CR LF.

#include "browser/prompts.h"

#include <QList>
#include <QString>

class Table;

namespace clip {

// A grid column in the order shown.
struct Column {
    QString field;
    QString caption;
    bool readOnly = false;  // the browser's own read-only mark
};

// Rows in the order given. A header of captions comes first only for more
// than one row and `header`. A calculated column fed from a lookup gives
// its key and then its text (and its caption twice).
QString copyText(const Table& table, const QList<Column>& columns, const QList<int>& rows, bool header);

// "&Kopiuj": the selected rows (else the current one), asking "Z nagłówkami?"
// only when a header can come of it. Empty when there is nothing to copy.
QString copy(Prompts& prompts, const Table& table, const QList<Column>& columns, const QList<int>& selected);
// "Wybrane": first the columns to copy and whether with a header.
// Empty when cancelled.
QString copyChosen(Prompts& prompts, const Table& table, const QList<Column>& columns, const QList<int>& selected);

// The rows to act on: the selection, else the current row of a non-empty table.
QList<int> rowsToUse(const Table& table, const QList<int>& selected);

struct PasteResult {
    int rows = 0;           // rows inserted
    bool leftOpen = false;  // one line: the new row stays open for editing
    bool stopped = false;   // refused or cancelled on the way
};

// Inserts a row per line of `text`. A pending edit is offered for saving
// first ("Zapisać zmiany?"; cancelling pastes nothing). Read-only,
// calculated and auto-numbered fields are never written; their pieces are
// skipped. A value that does not fit its field is left out. A row the
// table's rules refuse is shown, dropped and ends the paste.
PasteResult paste(Prompts& prompts, Table& table, const QList<Column>& columns, const QString& text);

// Settles a pending edit before something that would discard it:
// Yes saves (a refusal is shown and counts as cancel), No drops it.
// True when the way is clear.
bool settlePendingEdit(Prompts& prompts, Table& table);

}  // namespace clip
