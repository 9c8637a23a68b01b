#pragma once
// Direct access to an SQLite connection for the paths that bypass
// QSqlQuery to read or write many rows: the handle, a statement prepared
// under the store's authorizer, and the store's error for a failed call.

#include <QString>

class Database;
class QSqlDatabase;
struct sqlite3;
struct sqlite3_stmt;

// The connection's own handle; null on other engines or when closed.
sqlite3* sqliteHandle(const QSqlDatabase& db);

// Prepares sql on the store's SQLite connection with the user's rights
// checked by the authorizer; throws the store's Error or AccessDenied.
sqlite3_stmt* prepareSqliteStatement(Database& db, const QString& sql, unsigned flags = 0);

// Throws what a failed call with result code means to the user.
[[noreturn]] void throwSqliteError(Database& db, int code);
