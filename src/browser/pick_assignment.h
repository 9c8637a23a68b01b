#pragma once
// Choosing rows of a pick window for a field of another window.

#include "browser/prompts.h"

#include <QList>
#include <QStringList>

class Table;

namespace pick {

// The field being chosen for: its key fields in the target table and the
// key fields of the pick window's table they take their values from.
struct Target {
    Table* table = nullptr;
    QStringList keyFields;
    QStringList lookupKeys;
};

// A row being inserted in the pick window is saved first (throws its Error).
// A target row being edited takes the key values; one only browsed is
// positioned on the row with them (false when there is none).
bool assign(Table& source, const Target& target);

// One new target row per selected row (the current one when none), each
// saved. A pending edit of the target is offered for saving first. Returns
// the rows inserted; a refusal is shown and ends it.
int insertMany(Prompts& prompts, Table& source, const QList<int>& selected, const Target& target);

}  // namespace pick
