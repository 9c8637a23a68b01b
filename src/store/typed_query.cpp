#include "typed_query.h"

#include "database.h"
#include "error.h"
#include "pg_connection.h"
#include "sql_text.h"
#include "sqlite_authorizer.h"
#include "sqlite_statement.h"
#include "statement_rights.h"
#include "values.h"

#include <sqlite3.h>

#include <charconv>

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

// ":NAME" placeholders as libpq's $1, $2 ...; a name used twice is one
// value. Quoted text and "::" casts are left as they are.
QByteArray positional(const QString& sql, QStringList& names)
{
    QString out;
    out.reserve(sql.size());
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            quote = c == quote ? QChar() : quote;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char(':') && i + 1 < sql.size() && sql[i + 1] == QLatin1Char(':')) {
            out += QLatin1String("::");
            ++i;
            continue;
        } else if (c == QLatin1Char(':') && i + 1 < sql.size() && (sql[i + 1].isLetter() || sql[i + 1] == QLatin1Char('_'))) {
            qsizetype end = i + 1;
            while (end < sql.size() && (sql[end].isLetterOrNumber() || sql[end] == QLatin1Char('_')))
                ++end;
            const QString name = sql.mid(i, end - i);
            qsizetype at = names.indexOf(name);
            if (at < 0) {
                names.append(name);
                at = names.size() - 1;
            }
            out += QLatin1Char('$') + QString::number(at + 1);
            i = end - 1;
            continue;
        }
        out += c;
    }
    return out.toUtf8();
}

// A value as PostgreSQL reads it from text; null for NULL.
QByteArray pgText(const QVariant& value)
{
    const QVariant v = values::bindable(value);
    if (values::isEmpty(v))
        return {};
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return QByteArray::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    const QByteArray text = v.toString().toUtf8();
    return text.isNull() ? QByteArray("") : text;
}

// A number in the server's text; 0 for NULL.
template <class T>
T fromText(const unsigned char* s, int size)
{
    T value = 0;
    if (s)
        std::from_chars(reinterpret_cast<const char*>(s), reinterpret_cast<const char*>(s) + size, value);
    return value;
}

}  // namespace

TypedQuery::TypedQuery(Database& db, const QString& sql) : m_db(db), m_sql(sql)
{
    if (db.engine() == Engine::SQLite)
        return;
    m_sql = sqltext::rewrite(sql, db.engine());
    m_pgSql = positional(m_sql, m_pgNames);
    m_pgValues.resize(m_pgNames.size());
}

TypedQuery::~TypedQuery()
{
    if (m_statement)
        sqlite3_finalize(m_statement);
    if (m_result)
        pq().clear(m_result);
}

void TypedQuery::prepareSqlite()
{
    if (m_statement)
        return;
    m_statement = prepareSqliteStatement(m_db, m_sql);
}

TypedQuery& TypedQuery::bind(const QString& name, const QVariant& value)
{
    if (m_db.engine() != Engine::SQLite) {
        const qsizetype at = m_pgNames.indexOf(name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name);
        if (at >= 0)  // a name the text does not use is ignored, as Query ignores it
            m_pgValues[at] = pgText(value);
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
    if (m_db.engine() != Engine::SQLite) {
        execPg();
        return *this;
    }
    prepareSqlite();
    sqlite3_reset(m_statement);
    m_done = false;
    return *this;
}

void TypedQuery::execPg()
{
    checkStatementRights(m_db, m_sql);
    PGconn* connection = requirePgConnection(m_db);
    if (m_result)
        pq().clear(m_result);
    m_row = -1;
    QList<const char*> values;
    values.reserve(m_pgValues.size());
    for (const QByteArray& v : std::as_const(m_pgValues))
        values.append(v.isNull() ? nullptr : v.constData());
    // Text values of no stated type: the server takes each as its column's.
    m_result = pq().execParams(connection, m_pgSql.constData(), int(values.size()), nullptr, values.constData(),
                            nullptr, nullptr, 0);
    const ExecStatusType status = pq().resultStatus(m_result);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        const QString message = pgErrorMessage(m_result, connection, m_db.location());
        pq().clear(m_result);
        m_result = nullptr;
        throw Error(message);
    }
}

bool TypedQuery::next()
{
    if (m_db.engine() != Engine::SQLite)
        return m_result && ++m_row < pq().tupleCount(m_result);
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

const unsigned char* TypedQuery::raw(int column, int* size) const
{
    if (m_statement) {
        const unsigned char* s = sqlite3_column_text(m_statement, column);
        *size = s ? sqlite3_column_bytes(m_statement, column) : 0;
        return s;
    }
    if (!m_result || m_row < 0 || pq().isNull(m_result, m_row, column)) {
        *size = 0;
        return nullptr;
    }
    *size = pq().getLength(m_result, m_row, column);
    return reinterpret_cast<const unsigned char*>(pq().getValue(m_result, m_row, column));
}

bool TypedQuery::isNull(int column) const
{
    if (m_statement) {
        const int type = sqlite3_column_type(m_statement, column);
        return type == SQLITE_NULL || (type == SQLITE_TEXT && sqlite3_column_bytes(m_statement, column) == 0);
    }
    int size;
    return !raw(column, &size) || size == 0;
}

qint64 TypedQuery::integer(int column) const
{
    if (m_statement)
        return sqlite3_column_int64(m_statement, column);
    int size;
    const unsigned char* s = raw(column, &size);
    return fromText<qint64>(s, size);
}

double TypedQuery::number(int column) const
{
    if (m_statement)
        return sqlite3_column_double(m_statement, column);
    int size;
    const unsigned char* s = raw(column, &size);
    return fromText<double>(s, size);
}

// Dates and times are read from their text, as both engines give them.
QDate TypedQuery::date(int column) const
{
    int size;
    const unsigned char* s = raw(column, &size);
    if (!s)
        return {};
    // "YYYY-MM-DD", as the store keeps dates, without the general parsers.
    int y, m, d;
    if (size >= 10 && s[4] == '-' && s[7] == '-' && digits(s, 4, &y) && digits(s + 5, 2, &m) && digits(s + 8, 2, &d))
        return QDate(y, m, d);
    return values::toDate(text(column));
}

int TypedQuery::minutes(int column) const
{
    int size;
    const unsigned char* s = raw(column, &size);
    if (!s)
        return -1;
    int h, m;
    if (size >= 5 && s[2] == ':' && digits(s, 2, &h) && digits(s + 3, 2, &m) && h < 24 && m < 60)
        return h * 60 + m;
    const QTime t = values::toTime(text(column));
    return t.isValid() ? t.hour() * 60 + t.minute() : -1;
}

QChar TypedQuery::mark(int column) const
{
    int size;
    const unsigned char* s = raw(column, &size);
    if (!s)
        return {};
    int i = 0;
    while (i < size && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r')))
        ++i;
    if (i == size)
        return {};
    if (s[i] < 0x80)
        return QLatin1Char(s[i] >= 'a' && s[i] <= 'z' ? char(s[i] - 'a' + 'A') : char(s[i]));
    const QString t = text(column).trimmed();
    return t.isEmpty() ? QChar() : t.front().toUpper();
}

QString TypedQuery::text(int column) const
{
    int size;
    const unsigned char* s = raw(column, &size);
    return s ? QString::fromUtf8(reinterpret_cast<const char*>(s), size) : QString();
}
