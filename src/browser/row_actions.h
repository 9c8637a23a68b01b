#pragma once
// Operations on rows of a browser's table: deleting the selected rows and
// moving a row in the user-defined order (KOLEJ).

#include "browser/prompts.h"

#include <QList>
#include <QVariant>

class Table;

namespace rows {

// The snapshot index of the row with this identity, -1 when gone.
int indexOfId(Table& table, const QVariant& id);

// Confirms "Usunąć dane?" (one row) or "Usunąć wszystkie wskazane dane?"
// (several), then deletes them one by one. A row the rules refuse is shown
// and stops the deletion. Returns the number deleted.
int removeSelected(Prompts& prompts, Table& table, const QList<int>& selected, const QString& questionPrefix = {});

// Swaps the current row's KOLEJ with its neighbour's (the next row when
// `down`), going through a free value so that no two rows share a position
// at any time. Throws Error "Sort zbioru musi być wg definiowalnej
// kolejności" when the table is not ordered by KOLEJ first. False when
// there is no neighbour.
bool move(Table& table, bool down);

}  // namespace rows
