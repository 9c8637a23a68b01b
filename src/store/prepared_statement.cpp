#include "prepared_statement.h"

#include "database.h"
#include "error.h"
#include "sqlite_authorizer.h"
#include "sqlite_statement.h"
#include "statement_rights.h"
#include "store_messages.h"
#include "values.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

PreparedStatement::PreparedStatement(Database& db, const QString& sql) : m_db(db), m_sql(sql) {}

PreparedStatement::~PreparedStatement()
{
    if (m_statement)
        sqlite3_finalize(m_statement);
}

void PreparedStatement::prepare()
{
    if (m_prepared)
        return;
    if (m_db.engine() == Engine::SQLite) {
        m_statement = prepareSqliteStatement(m_db, m_sql, SQLITE_PREPARE_PERSISTENT);
    } else {
        checkStatementRights(m_db, m_sql);
        m_query = std::make_unique<QSqlQuery>(m_db.connection());
        m_query->setForwardOnly(false);  // read whole, like every result on this engine
        if (!m_query->prepare(m_sql))
            throw Error(storemsg::fromSqlError(m_query->lastError(), m_db.location()));
    }
    m_prepared = true;
}

void PreparedStatement::bind(int index, qint64 value)
{
    prepare();
    if (m_statement)
        sqlite3_bind_int64(m_statement, index + 1, value);
    else
        m_query->bindValue(index, value);
}

void PreparedStatement::bind(int index, double value)
{
    prepare();
    if (m_statement)
        sqlite3_bind_double(m_statement, index + 1, value);
    else
        m_query->bindValue(index, value);
}

void PreparedStatement::bind(int index, const QString& value)
{
    if (value.isEmpty())
        return bindNull(index);
    prepare();
    if (!m_statement) {
        m_query->bindValue(index, value);
        return;
    }
    // The store keeps UTF-8: a text bound as UTF-16 would be converted
    // again on every run. Short codes and units need no allocation.
    char ascii[32];
    if (value.size() <= qsizetype(sizeof ascii)) {
        qsizetype i = 0;
        for (; i < value.size() && value[i].unicode() < 0x80; ++i)
            ascii[i] = char(value[i].unicode());
        if (i == value.size()) {
            sqlite3_bind_text(m_statement, index + 1, ascii, int(i), SQLITE_TRANSIENT);
            return;
        }
    }
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(m_statement, index + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void PreparedStatement::bindNull(int index)
{
    prepare();
    if (m_statement)
        sqlite3_bind_null(m_statement, index + 1);
    else
        m_query->bindValue(index, QVariant(QMetaType(QMetaType::QString)));
}

void PreparedStatement::bind(int index, const QVariant& value)
{
    if (values::isEmpty(value))
        return bindNull(index);
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Bool:
        return bind(index, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return bind(index, value.toDouble());
    case QMetaType::QString:
        return bind(index, value.toString());
    default:
        break;
    }
    // Dates, times and the rest in the form the store keeps them.
    const QVariant stored = values::bindable(value);
    if (stored.typeId() == QMetaType::QString)
        return bind(index, stored.toString());
    prepare();
    if (m_statement) {
        const QByteArray text = stored.toString().toUtf8();
        sqlite3_bind_text(m_statement, index + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    } else {
        m_query->bindValue(index, stored);
    }
}

void PreparedStatement::exec()
{
    prepare();
    if (m_statement) {
        // A changed schema makes SQLite prepare again while stepping, and authorize again.
        m_db.takeDenied();
        const sqlite_authorizer::StatementText statement(m_sql);
        int rc;
        do
            rc = sqlite3_step(m_statement);
        while (rc == SQLITE_ROW);
        sqlite3_reset(m_statement);
        if (rc != SQLITE_DONE)
            throwSqliteError(m_db, rc);
        return;
    }
    if (!m_query->exec())
        throw Error(storemsg::fromSqlError(m_query->lastError(), m_db.location()));
}

bool PreparedStatement::next()
{
    return m_query && m_query->next();
}

QVariant PreparedStatement::value(int column) const
{
    return m_query ? m_query->value(column) : QVariant();
}

qint64 PreparedStatement::lastInsertId() const
{
    sqlite3* handle = m_statement ? sqlite3_db_handle(m_statement) : nullptr;
    return handle ? sqlite3_last_insert_rowid(handle) : 0;
}
