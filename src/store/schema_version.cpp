#include "schema_version.h"

#include "database.h"
#include "error.h"
#include "store_messages.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace schemaversion {

namespace {

bool exists(Database& db)
{
    Database::SystemAccess sys(db);
    QSqlQuery q(db.connection());
    if (db.engine() == Engine::SQLite)
        q.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = :n"));
    else
        q.prepare(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema() "
                                 "AND table_name = lower(:n)"));
    q.bindValue(QStringLiteral(":n"), table());
    return q.exec() && q.next();
}

void exec(Database& db, QSqlQuery& q)
{
    if (!q.exec())
        throw Error(storemsg::fromSqlError(q.lastError(), db.location()));
}

}  // namespace

QStringList createTable(Engine)
{
    return {QStringLiteral("CREATE TABLE %1 (WERSJA INTEGER NOT NULL)").arg(table())};
}

int read(Database& db)
{
    if (!exists(db))
        return 0;
    Database::SystemAccess sys(db);
    QSqlQuery q(db.connection());
    q.prepare(QStringLiteral("SELECT MAX(WERSJA) FROM %1").arg(table()));
    exec(db, q);
    return q.next() ? q.value(0).toInt() : 0;
}

void write(Database& db, int level)
{
    Database::SystemAccess sys(db);
    if (!exists(db)) {
        for (const QString& sql : createTable(db.engine())) {
            QSqlQuery q(db.connection());
            if (!q.exec(sql))  // DDL cannot be a prepared statement on PostgreSQL
                throw Error(storemsg::fromSqlError(q.lastError(), db.location()));
        }
    }
    QSqlQuery clear(db.connection());
    if (!clear.exec(QStringLiteral("DELETE FROM %1").arg(table())))
        throw Error(storemsg::fromSqlError(clear.lastError(), db.location()));
    QSqlQuery q(db.connection());
    q.prepare(QStringLiteral("INSERT INTO %1 (WERSJA) VALUES (:v)").arg(table()));
    q.bindValue(QStringLiteral(":v"), level);
    exec(db, q);
}

}  // namespace schemaversion
