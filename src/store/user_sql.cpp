#include "user_sql.h"

#include "database.h"
#include "error.h"
#include "libpq.h"
#include "pg_user_roles.h"
#include "query.h"
#include "sqlite_authorizer.h"
#include "store_messages.h"

#include <sqlite3.h>

#include <QAtomicInt>
#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTime>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace user_sql {

namespace {

// A value in the server's text form, typed as the driver would type it.
QVariant fromText(const libpq::Functions& pq, PGresult* res, int row, int column)
{
    if (pq.isNull(res, row, column))
        return {};
    const char* raw = pq.getValue(res, row, column);
    const QString text = QString::fromUtf8(raw, pq.getLength(res, row, column));
    switch (pq.fieldType(res, column)) {
    case 16: return text == QLatin1String("t");                       // bool
    case 20: case 21: case 23: case 26: return text.toLongLong();     // int8, int2, int4, oid
    case 700: case 701: case 1700: return text.toDouble();            // float4, float8, numeric
    case 1082: return QDate::fromString(text, Qt::ISODate);           // date
    case 1083: return QTime::fromString(text, Qt::ISODateWithMs);     // time
    case 1114: return QDateTime::fromString(text, Qt::ISODateWithMs); // timestamp
    case 17: {                                                        // bytea
        size_t length = 0;
        unsigned char* bytes = pq.unescapeBytea(reinterpret_cast<const unsigned char*>(raw), &length);
        const QByteArray out(reinterpret_cast<const char*>(bytes), qsizetype(length));
        pq.freeMemory(bytes);
        return out;
    }
    default: return text;
    }
}

QString oneStatementOnly()
{
    return QStringLiteral("Można wykonać tylko jedno polecenie SQL naraz.");
}

// The SQLite driver refuses a text with a second statement before running
// any, with a message of its own; this finds it first to say so in Polish.
bool hasSecondStatement(Database& db, const QString& sql)
{
    const QVariant v = db.connection().driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return false;
    sqlite3* handle = *static_cast<sqlite3* const*>(v.data());
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    const sqlite_authorizer::StatementText statementText(sql);
    const int rc = sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &statement, &tail);
    sqlite3_finalize(statement);
    db.takeDenied();  // a refusal here is met again when the statement runs
    return rc == SQLITE_OK && tail && !QByteArray(tail).trimmed().isEmpty();
}

UserSqlResult onStoreConnection(Database& db, const QString& sql)
{
    // Only prepared, never run: the check needs no user-text strictness.
    if (db.engine() == Engine::SQLite && hasSecondStatement(db, sql))
        throw Error(oneStatementOnly());
    const sqlite_authorizer::UserText typed;
    Query q(db, sql);
    q.exec();
    UserSqlResult out;
    out.returnsRows = q.returnsRows();
    if (!out.returnsRows) {
        out.rowsAffected = q.rowsAffected();
        return out;
    }
    for (int c = 0; c < q.columnCount(); ++c)
        out.columns << q.columnName(c);
    while (q.next()) {
        QVariantList row;
        for (int c = 0; c < out.columns.size(); ++c)
            row << q.value(c);
        out.rows << row;
    }
    return out;
}

UserSqlResult fromResult(const libpq::Functions& pq, PGresult* res, const StoreLocation& location)
{
    UserSqlResult out;
    switch (pq.resultStatus(res)) {
    case PGRES_TUPLES_OK: {
        out.returnsRows = true;
        const int columns = pq.fieldCount(res);
        for (int c = 0; c < columns; ++c)
            out.columns << QString::fromUtf8(pq.fieldName(res, c)).toUpper();
        for (int r = 0, n = pq.tupleCount(res); r < n; ++r) {
            QVariantList row;
            for (int c = 0; c < columns; ++c)
                row << fromText(pq, res, r, c);
            out.rows << row;
        }
        return out;
    }
    case PGRES_COMMAND_OK:
    case PGRES_EMPTY_QUERY:
        out.rowsAffected = std::atoi(pq.commandTuples(res));
        return out;
    case PGRES_FATAL_ERROR:
    case PGRES_NONFATAL_ERROR: {
        const char* state = pq.errorField(res, PG_DIAG_SQLSTATE);
        // Class 42501 is the server refusing a privilege the role lacks.
        if (state && qstrcmp(state, "42501") == 0)
            throw AccessDenied();
        const char* primary = pq.errorField(res, PG_DIAG_MESSAGE_PRIMARY);
        const QString text = QString::fromUtf8(primary ? primary : pq.resultErrorMessage(res)).trimmed();
        if (state && qstrcmp(state, "42601") == 0 && text.contains(QLatin1String("multiple commands")))
            throw Error(oneStatementOnly());
        throw Error(storemsg::translate(
            state ? QStringLiteral("%1 (%2)").arg(text, QString::fromLatin1(state)) : text, location));
    }
    default:
        // COPY streams and the like: the connection is closed mid-way.
        throw AccessDenied();
    }
}

// The user's own login: opened while no other workstation can change the
// role, closed and forgotten when the statement is done.
class RoleConnection {
public:
    RoleConnection() : m_name(QStringLiteral("lunawa-user-sql-%1").arg(counter().fetchAndAddRelaxed(1))) {}

    void open(Database& db)
    {
        const StoreLocation& where = db.location();
        QString schema;
        {
            pg_roles::ChangeLock lock(db);
            const QString password = pg_roles::prepareLogin(db);
            const QString role = pg_roles::roleName(db, pg_roles::userCodeOf(db.credentials()));
            QSqlQuery s(db.connection());
            if (!s.exec(QStringLiteral("SELECT current_schema()")) || !s.next())
                throw AccessDenied();
            schema = s.value(0).toString();
            QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
            c.setHostName(where.host);
            c.setPort(where.port);
            c.setDatabaseName(where.database);
            c.setUserName(role);
            c.setPassword(password);
            c.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(std::max(2, where.connectTimeoutSeconds)));
            if (!c.open())
                throw Error(storemsg::fromSqlError(c.lastError(), where));
        }
        static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
        if (!plain.match(schema).hasMatch())
            throw AccessDenied();
        // Set before the user's text, which runs as one statement and so
        // cannot lift them for a later one.
        for (const QString& sql : {QStringLiteral("SET search_path TO %1").arg(schema),
                                   QStringLiteral("SET statement_timeout = %1").arg(std::max(1000, where.statementTimeoutMs)),
                                   QStringLiteral("SET lock_timeout = %1").arg(std::max(1000, where.lockTimeoutMs))}) {
            QSqlQuery q(connection());
            if (!q.exec(sql))
                throw Error(storemsg::fromSqlError(q.lastError(), where));
        }
    }
    ~RoleConnection()
    {
        if (!QSqlDatabase::contains(m_name))
            return;
        {
            QSqlDatabase c = QSqlDatabase::database(m_name, false);
            c.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    RoleConnection(const RoleConnection&) = delete;
    RoleConnection& operator=(const RoleConnection&) = delete;

    QSqlDatabase connection() const { return QSqlDatabase::database(m_name, false); }

    PGconn* handle() const
    {
        const QVariant v = connection().driver()->handle();
        // The driver registers the handle under the struct's own name.
        if (v.isValid() && (qstrcmp(v.typeName(), "PGconn*") == 0 || qstrcmp(v.typeName(), "pg_conn*") == 0))
            return *static_cast<PGconn* const*>(v.data());
        return nullptr;
    }

private:
    static QAtomicInt& counter()
    {
        static QAtomicInt n;
        return n;
    }
    QString m_name;
};

UserSqlResult asUserRole(Database& db, const QString& sql)
{
    const libpq::Functions& pq = libpq::functions();
    if (!pq.complete || db.inTransaction())
        throw AccessDenied();
    RoleConnection connection;
    connection.open(db);
    PGconn* conn = connection.handle();
    if (!conn)
        throw AccessDenied();
    const QByteArray text = sql.toUtf8();
    std::unique_ptr<PGresult, decltype(pq.clear)> res(
        pq.execParams(conn, text.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0), pq.clear);
    if (!res)
        throw Error(QStringLiteral("Utracono połączenie z bazą danych"));
    return fromResult(pq, res.get(), db.location());
}

}  // namespace

UserSqlResult run(Database& db, const QString& sql)
{
    if (db.engine() == Engine::PostgreSQL && !db.isMaster())
        return asUserRole(db, sql);
    return onStoreConnection(db, sql);
}

}  // namespace user_sql
