#pragma once
// The store's soundness: the constraints it keeps beyond the schema's
// orderings, the quick check a batch makes before writing, and the full
// check and repair of `lunawactl maintenance`.

#include <QString>
#include <QStringList>

class Database;

namespace integrity {

// Indexes that guard data rather than order it ("LW_…"); they are not
// orderings of the schema and are left out of a table's index list.
bool isConstraintIndex(const QString& physicalName);

// Adds the constraints a store made before them lacks, when its data
// allows; a store whose data breaks one keeps working without it (the full
// check names the rows).
void addStoreConstraints(Database& db);

// SQLite's quick check, made when a store is opened; throws Error naming
// the repair commands when the store is damaged. Nothing to do on
// PostgreSQL, whose server keeps its files sound.
void requireSound(Database& db);

struct CheckResult {
    QStringList problems;  // empty when the store is sound
    QStringList notes;     // what was checked, or why not
};
// The full check: SQLite's integrity check and the program's constraints.
CheckResult fullCheck(Database& db);
// Rebuilds the indexes (SQLite); the full check afterwards says whether
// that was enough.
void rebuildIndexes(Database& db);

}  // namespace integrity
