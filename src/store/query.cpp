#include "query.h"

#include "database.h"
#include "error.h"
#include "sql_text.h"
#include "statement_rights.h"
#include "store_messages.h"
#include "sqlite_authorizer.h"
#include "values.h"

#include <QSqlError>
#include <QSqlRecord>

Query::Query(Database& db, const QString& sql)
    : m_db(db), m_sql(sqltext::rewrite(sql, db.engine())), m_query(db.connection())
{
    m_returnsRows = sqltext::returnsRows(m_sql);
    // On PostgreSQL a forward-only result streams row by row and is cut off
    // by the next statement on the connection; there it is read whole.
    m_query.setForwardOnly(db.engine() == Engine::SQLite);
}

Query& Query::bind(const QString& name, const QVariant& value)
{
    const QString key = name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name;
    for (auto& [n, v] : m_binds)
        if (n == key) {
            v = values::bindable(value);
            return *this;
        }
    m_binds.append({key, values::bindable(value)});
    return *this;
}

void Query::checkRights() const
{
    checkStatementRights(m_db, m_sql);
}

Query& Query::exec()
{
    checkRights();
    m_db.takeDenied();
    // SQLite authorizes while preparing, and again when a changed schema
    // makes it prepare anew during the run.
    const sqlite_authorizer::StatementText statement(m_sql);
    bool ok;
    if (m_binds.isEmpty()) {
        // PostgreSQL cannot prepare DDL; a statement without values needs no preparing.
        ok = m_query.exec(m_sql);
    } else {
        // Prepared once; running it again with new values reuses the statement.
        ok = m_prepared || m_query.prepare(m_sql);
        m_prepared = ok;
        if (ok) {
            for (const auto& [name, value] : m_binds)
                m_query.bindValue(name, value);
            ok = m_query.exec();
        }
    }
    if (!ok) {
        const QSqlError e = m_query.lastError();
        if (m_db.takeDenied() || e.nativeErrorCode() == QLatin1String("23"))
            throw AccessDenied();
        throw Error(storemsg::fromSqlError(e, m_db.location()));
    }
    return *this;
}

bool Query::next()
{
    return m_query.next();
}

QVariant Query::value(int column) const
{
    return m_query.value(column);
}

QVariant Query::value(const QString& column) const
{
    return m_query.value(column);
}

int Query::columnCount() const
{
    return m_query.record().count();
}

QString Query::columnName(int column) const
{
    // PostgreSQL folds unquoted names to lower case; the program's are upper.
    const QString name = m_query.record().fieldName(column);
    return m_db.engine() == Engine::PostgreSQL ? name.toUpper() : name;
}

int Query::rowsAffected() const
{
    return m_query.numRowsAffected();
}

QVariant Query::scalar()
{
    exec();
    return next() ? value(0) : QVariant();
}
