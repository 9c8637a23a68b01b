#include "typed_query.h"

#include "database.h"
#include "error.h"
#include "query.h"
#include "sqlite_authorizer.h"
#include "sqlite_statement.h"
#include "store_messages.h"
#include "values.h"

#include <QSqlDriver>

#include <sqlite3.h>

namespace {

bool digits(const unsigned char* s, int count, int* out)
{
    int n = 0;
    for (int i = 0; i < count; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        n = n * 10 + (s[i] - '0');
    }
    *out = n;
    return true;
}

}  // namespace

TypedQuery::TypedQuery(Database& db, const QString& sql) : m_db(db), m_sql(sql)
{
    if (db.engine() != Engine::SQLite)
        m_query = std::make_unique<Query>(db, sql);
}

TypedQuery::~TypedQuery()
{
    if (m_statement)
        sqlite3_finalize(m_statement);
}

void TypedQuery::prepareSqlite()
{
    if (m_statement)
        return;
    m_statement = prepareSqliteStatement(m_db, m_sql);
}

TypedQuery& TypedQuery::bind(const QString& name, const QVariant& value)
{
    if (m_query) {
        m_query->bind(name, value);
        return *this;
    }
    prepareSqlite();
    const QByteArray key = (name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name).toUtf8();
    const int index = sqlite3_bind_parameter_index(m_statement, key.constData());
    if (index == 0)
        return *this;  // a name the text does not use, as Query ignores it
    if (!m_done) {
        sqlite3_reset(m_statement);
        m_done = true;
    }
    const QVariant v = values::bindable(value);
    if (values::isEmpty(v)) {
        sqlite3_bind_null(m_statement, index);
        return *this;
    }
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
        sqlite3_bind_int64(m_statement, index, v.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(m_statement, index, v.toDouble());
        break;
    default: {
        const QByteArray utf8 = v.toString().toUtf8();
        sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    }
    return *this;
}

TypedQuery& TypedQuery::exec()
{
    if (m_query) {
        m_query->exec();
        return *this;
    }
    prepareSqlite();
    sqlite3_reset(m_statement);
    m_done = false;
    return *this;
}

bool TypedQuery::next()
{
    if (m_query)
        return m_query->next();
    if (m_done || !m_statement)
        return false;
    // A changed schema makes SQLite prepare again while stepping, and authorize again.
    m_db.takeDenied();
    const sqlite_authorizer::StatementText statement(m_sql);
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    m_done = true;
    sqlite3_reset(m_statement);
    if (rc != SQLITE_DONE)
        throwSqliteError(m_db, rc);
    return false;
}

QVariant TypedQuery::variant(int column) const
{
    if (m_query)
        return m_query->value(column);
    return QVariant(text(column));
}

bool TypedQuery::isNull(int column) const
{
    if (m_query)
        return values::isEmpty(m_query->value(column));
    const int type = sqlite3_column_type(m_statement, column);
    return type == SQLITE_NULL || (type == SQLITE_TEXT && sqlite3_column_bytes(m_statement, column) == 0);
}

qint64 TypedQuery::integer(int column) const
{
    if (m_query)
        return m_query->value(column).toLongLong();
    return sqlite3_column_int64(m_statement, column);
}

double TypedQuery::number(int column) const
{
    if (m_query)
        return m_query->value(column).toDouble();
    return sqlite3_column_double(m_statement, column);
}

// Values are read as text first: SQLite gives NULL as a null pointer, and
// the store keeps dates and times as text.
QDate TypedQuery::date(int column) const
{
    if (!m_query) {
        const unsigned char* s = sqlite3_column_text(m_statement, column);
        if (!s)
            return {};
        // "YYYY-MM-DD", as the store keeps dates, without the general parsers.
        const int size = sqlite3_column_bytes(m_statement, column);
        int y, m, d;
        if (size >= 10 && s[4] == '-' && s[7] == '-' && digits(s, 4, &y) && digits(s + 5, 2, &m) && digits(s + 8, 2, &d))
            return QDate(y, m, d);
    }
    return values::toDate(variant(column));
}

int TypedQuery::minutes(int column) const
{
    if (!m_query) {
        const unsigned char* s = sqlite3_column_text(m_statement, column);
        if (!s)
            return -1;
        const int size = sqlite3_column_bytes(m_statement, column);
        int h, m;
        if (size >= 5 && s[2] == ':' && digits(s, 2, &h) && digits(s + 3, 2, &m) && h < 24 && m < 60)
            return h * 60 + m;
    }
    const QTime t = values::toTime(variant(column));
    return t.isValid() ? t.hour() * 60 + t.minute() : -1;
}

QChar TypedQuery::mark(int column) const
{
    if (!m_query) {
        const unsigned char* s = sqlite3_column_text(m_statement, column);
        if (!s)
            return {};
        const int size = sqlite3_column_bytes(m_statement, column);
        int i = 0;
        while (i < size && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r')))
            ++i;
        if (i == size)
            return {};
        if (s[i] < 0x80)
            return QLatin1Char(s[i] >= 'a' && s[i] <= 'z' ? char(s[i] - 'a' + 'A') : char(s[i]));
    }
    const QString t = text(column).trimmed();
    return t.isEmpty() ? QChar() : t.front().toUpper();
}

QString TypedQuery::text(int column) const
{
    if (m_query)
        return m_query->value(column).toString();
    const unsigned char* s = sqlite3_column_text(m_statement, column);
    return s ? QString::fromUtf8(reinterpret_cast<const char*>(s), sqlite3_column_bytes(m_statement, column)) : QString();
}
