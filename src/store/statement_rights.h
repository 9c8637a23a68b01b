#pragma once
// The rights check of SQL the program runs on PostgreSQL, which has no
// authorizer: every table a statement names must grant what the statement
// does there. SQLite refuses through its authorizer instead, so there this
// checks nothing.

#include <QString>

class Database;

// Throws AccessDenied when the connection's rights do not cover `sql`.
void checkStatementRights(Database& db, const QString& sql);
