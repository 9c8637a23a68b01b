#include "sqlite_statement.h"

#include "database.h"
#include "error.h"
#include "sqlite_authorizer.h"
#include "store_messages.h"

#include <QSqlDriver>

#include <sqlite3.h>

sqlite3* sqliteHandle(const QSqlDatabase& db)
{
    const QVariant v = db.driver()->handle();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3* const*>(v.data());
    return nullptr;
}

sqlite3_stmt* prepareSqliteStatement(Database& db, const QString& sql, unsigned flags)
{
    sqlite3* handle = sqliteHandle(db.connection());
    if (!handle)
        throw Error(storemsg::translate(QStringLiteral("not connected"), db.location()));
    db.takeDenied();
    const sqlite_authorizer::StatementText statement(sql);
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* out = nullptr;
    const int rc = sqlite3_prepare_v3(handle, text.constData(), int(text.size()), flags, &out, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(out);
        throwSqliteError(db, rc);
    }
    return out;
}

void throwSqliteError(Database& db, int code)
{
    if (db.takeDenied() || code == SQLITE_AUTH)
        throw AccessDenied();
    sqlite3* handle = sqliteHandle(db.connection());
    const QString text = handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QString::fromUtf8(sqlite3_errstr(code));
    throw Error(storemsg::translate(text, db.location()));
}
