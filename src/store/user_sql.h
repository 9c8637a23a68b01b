#pragma once
// Free SQL typed by a user (lunawactl query): the one place where user text
// becomes SQL. One statement per call. On SQLite, and for master, it runs on
// the store's connection under the authorizer; on PostgreSQL a user other
// than master runs it on a connection of his own, logged in as a role that
// holds exactly his rights, so the server refuses what he may not do.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class Database;

struct UserSqlResult {
    bool returnsRows = false;
    int rowsAffected = 0;
    QStringList columns;  // upper case on PostgreSQL, as the store's names
    QList<QVariantList> rows;
};

namespace user_sql {

// Runs `sql`; throws AccessDenied ("Brak dostępu") for what the user's
// rights refuse, Error with the store's message otherwise.
UserSqlResult run(Database& db, const QString& sql);

}  // namespace user_sql
