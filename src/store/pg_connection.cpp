#include "pg_connection.h"

#include "database.h"
#include "error.h"
#include "store_messages.h"

#include <QSqlDriver>
#include <QSqlError>


PGconn* pgConnection(Database& db)
{
    if (db.engine() != Engine::PostgreSQL)
        return nullptr;
    const QSqlDatabase connection = db.connection();
    const QVariant handle = connection.driver() ? connection.driver()->handle() : QVariant();
    // Qt names the type by libpq's typedef or by the struct behind it.
    const char* type = handle.typeName();
    if (type && (qstrcmp(type, "PGconn*") == 0 || qstrcmp(type, "pg_conn*") == 0))
        return *static_cast<PGconn* const*>(handle.constData());
    return nullptr;
}

PGconn* requirePgConnection(Database& db)
{
    if (!pq().complete)
        throw Error(QStringLiteral("Brak biblioteki klienta PostgreSQL (libpq)."));
    PGconn* connection = pgConnection(db);
    if (!connection)
        throw Error(QStringLiteral("Brak połączenia z serwerem bazy danych."));
    return connection;
}

QString pgErrorMessage(const PGresult* result, PGconn* connection, const StoreLocation& location)
{
    if (!result)
        return storemsg::translate(QString::fromUtf8(pq().errorMessage(connection)), location);
    const QString code = QString::fromLatin1(pq().errorField(result, PG_DIAG_SQLSTATE));
    QString text = QString::fromUtf8(pq().resultErrorMessage(result));
    if (!code.isEmpty())
        text += QStringLiteral("(%1)").arg(code);
    return storemsg::fromSqlError(QSqlError(QString(), text, QSqlError::StatementError, code), location);
}
