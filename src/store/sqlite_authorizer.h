#pragma once
// The SQLite authorizer: every statement prepared on a store connection is
// checked against the connection's rights while it is prepared. Users other
// than master never reach SQLite's own tables, attach files, change settings
// or give a value to a field they may not write; statements whose conflict
// handling deletes or modifies rows need those rights too.

#include <QString>

struct sqlite3;
class Database;

namespace sqlite_authorizer {

// Installs (again) the callback for `db` on its SQLite handle; installing
// anew makes SQLite authorize prepared statements again.
void install(sqlite3* handle, Database& db);

// The callback itself (sqlite3_set_authorizer's signature).
int authorize(void* db, int action, const char* a, const char* b, const char* schema, const char* trigger);

// Tells the authorizer which text is being prepared or run on this thread.
class StatementText {
public:
    explicit StatementText(const QString& sql);
    ~StatementText();
    StatementText(const StatementText&) = delete;
    StatementText& operator=(const StatementText&) = delete;

private:
    const QString* m_previous;
};

// Marks the statements run on this thread meanwhile as typed by the user:
// their text decides whether an INSERT gives a value to a field the user may
// not write and what its conflict handling does; a text that is not one
// plain statement of a known form may then not write at all. (The program's
// own inserts may carry defaults and link values into read-only fields.)
class UserText {
public:
    UserText();
    ~UserText();
    UserText(const UserText&) = delete;
    UserText& operator=(const UserText&) = delete;

private:
    bool m_previous;
};

}  // namespace sqlite_authorizer
