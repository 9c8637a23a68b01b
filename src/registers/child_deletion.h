#pragma once
// Whether a child may be deleted, and what goes with it.

#include <QString>

class Database;

namespace child_deletion {

// The refusal of deleting a child still referred to, naming every place in
// a fixed order; empty when nothing refers to it.
QString refusal(Database& db, int child);

// The child's own rows no other record relies on: declared times,
// extra-class declarations and collecting persons.
void deleteOwnRows(Database& db, int child);

QString heading();  // "Nie można skasować dziecka, gdyż występuje ono w:"

}  // namespace child_deletion
