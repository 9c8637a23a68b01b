#include "database.h"

#include "error.h"
#include "schema_version.h"
#include "sqlite_authorizer.h"
#include "store_integrity.h"
#include "store_messages.h"

#include <QAtomicInt>
#include <algorithm>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>

#include "sqlite_statement.h"

#include <sqlite3.h>

namespace {

QAtomicInt connectionCounter;

void execOrThrow(QSqlDatabase db, const QString& sql, const StoreLocation& location)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw Error(storemsg::fromSqlError(q.lastError(), location));
}

// Batches of one store queue on this advisory lock (the second key is the
// store's schema, so stores sharing a database do not wait for each other).
const char* const batchLockSql = "SELECT pg_advisory_xact_lock(1280660033, hashtext(current_schema()))";

// Every statement on an SQLite connection passes the authorizer while it is
// prepared, so SQL cannot reach what the credentials do not grant.
using sqlite_authorizer::authorize;

FieldType typeFromSqlite(const QString& declared, int* width)
{
    const QString t = declared.trimmed().toUpper();
    *width = 0;
    static const QRegularExpression varchar(QStringLiteral("^(VAR)?CHAR\\s*\\((\\d+)\\)$"));
    const auto m = varchar.match(t);
    if (m.hasMatch()) {
        *width = m.captured(2).toInt();
        return FieldType::String;
    }
    if (t == QLatin1String("SMALLINT"))
        return FieldType::SmallInt;
    if (t.contains(QLatin1String("INT")))
        return FieldType::Integer;
    if (t == QLatin1String("REAL") || t == QLatin1String("FLOAT") || t.startsWith(QLatin1String("DOUBLE")))
        return FieldType::Float;
    if (t == QLatin1String("DATE"))
        return FieldType::Date;
    if (t == QLatin1String("TIME"))
        return FieldType::Time;
    if (t == QLatin1String("TIMESTAMP") || t == QLatin1String("DATETIME"))
        return FieldType::DateTime;
    if (t == QLatin1String("BLOB"))
        return FieldType::Graphic;
    return FieldType::Memo;
}

// A type as pg_catalog names it (pg_type.typname).
FieldType typeFromPostgres(const QString& typeName)
{
    if (typeName == QLatin1String("int4") || typeName == QLatin1String("int8"))
        return FieldType::Integer;
    if (typeName == QLatin1String("int2"))
        return FieldType::SmallInt;
    if (typeName == QLatin1String("float8") || typeName == QLatin1String("float4")
        || typeName == QLatin1String("numeric"))
        return FieldType::Float;
    if (typeName == QLatin1String("varchar") || typeName == QLatin1String("bpchar"))
        return FieldType::String;
    if (typeName == QLatin1String("date"))
        return FieldType::Date;
    if (typeName == QLatin1String("time") || typeName == QLatin1String("timetz"))
        return FieldType::Time;
    if (typeName == QLatin1String("timestamp") || typeName == QLatin1String("timestamptz"))
        return FieldType::DateTime;
    if (typeName == QLatin1String("bytea"))
        return FieldType::Graphic;
    return FieldType::Memo;
}

// The operating system may refuse writing where the permissions did not
// tell (a read-only medium); SQLite then opens the file for reading. A
// WAL store in a folder that cannot be written is readable only as an
// unchanging file. False when even that fails.
bool readOnlyWhenNeeded(const StoreLocation& location, const QString& connectionName, bool& readOnly)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    sqlite3* h = sqliteHandle(db);
    if (!h)
        return true;
    if (!readOnly && sqlite3_db_readonly(h, "main") == 1)
        readOnly = true;
    if (!readOnly)
        return true;
    {
        QSqlQuery probe(db);
        if (probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
            return true;
    }
    db.close();
    db.setDatabaseName(QUrl::fromLocalFile(location.sqliteFile()).toString(QUrl::FullyEncoded)
                       + QStringLiteral("?mode=ro&immutable=1"));
    if (db.open())
        return true;
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName);
    return false;
}

// Logging in reads the fields of every table a user has rights on; one
// query for all of them spares a round trip per table.
QHash<QString, QList<StoreField>> postgresFields(const QSqlDatabase& db, const StoreLocation& location)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral(
            "SELECT c.relname, a.attname, t.typname, a.atttypmod, a.attidentity <> '' FROM pg_attribute a "
            "JOIN pg_class c ON c.oid = a.attrelid JOIN pg_namespace n ON n.oid = c.relnamespace "
            "JOIN pg_type t ON t.oid = a.atttypid "
            "WHERE n.nspname = current_schema() AND c.relkind = 'r' AND a.attnum > 0 AND NOT a.attisdropped "
            "ORDER BY c.oid, a.attnum")))
        throw Error(storemsg::fromSqlError(q.lastError(), location));
    QHash<QString, QList<StoreField>> all;
    while (q.next()) {
        StoreField f;
        f.name = q.value(1).toString().toUpper();
        if (f.name == Database::hiddenRowId())
            continue;
        f.type = typeFromPostgres(q.value(2).toString());
        // A varchar's type modifier is its width plus the 4-byte header.
        const int modifier = q.value(3).toInt();
        f.width = f.type == FieldType::String && modifier > 4 ? modifier - 4 : 0;
        if (q.value(4).toBool()) {
            f.type = FieldType::AutoInc;
            f.autoInc = true;
        }
        all[q.value(0).toString().toUpper()] << f;
    }
    return all;
}

}  // namespace

Database::Database(StoreLocation location)
    : m_location(std::move(location)),
      m_connectionName(QStringLiteral("lunawa-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
}

Database::~Database()
{
    close();
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName) && connection().isOpen();
}

QString Database::dataDirectory() const
{
    return m_location.engine == Engine::SQLite ? m_location.folder : QString();
}

// Makes the named connection and opens it; `create` lets SQLite make the
// file, otherwise opening never creates anything.
void Database::connect(bool create)
{
    close();
    m_readOnly = false;
    QSqlDatabase db;
    const QString busy = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_location.lockTimeoutMs);
    if (m_location.engine == Engine::SQLite) {
        const QString file = m_location.sqliteFile();
        if (create && !QDir().mkpath(m_location.folder))
            throw Error(QStringLiteral("Nie można utworzyć folderu %1").arg(QDir::toNativeSeparators(m_location.folder)));
        if (!create && !QFileInfo(file).isFile())
            throw Error(QStringLiteral("Nie znaleziono bazy danych w folderze %1").arg(QDir::toNativeSeparators(m_location.folder)));
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        if (create) {
            db.setDatabaseName(file);
            db.setConnectOptions(busy);
        } else {
            // A file or folder that cannot be written is read without
            // touching it: the journal mode stays and nothing is created.
            m_readOnly = !QFileInfo(file).isWritable() || !QFileInfo(m_location.folder).isWritable();
            db.setDatabaseName(QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)
                               + (m_readOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw")));
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;") + busy);
        }
    } else {
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
        db.setHostName(m_location.host);
        db.setPort(m_location.port);
        db.setDatabaseName(m_location.database);
        db.setUserName(m_location.user);
        db.setPassword(m_location.password);
        db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(std::max(2, m_location.connectTimeoutSeconds)));
    }
    if (!db.open()) {
        const QString msg = storemsg::fromSqlError(db.lastError(), m_location);
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw Error(create ? msg : QStringLiteral("Nie można otworzyć bazy danych %1\n%2").arg(m_location.describe(), msg));
    }
    if (m_location.engine == Engine::SQLite && !create && !readOnlyWhenNeeded(m_location, m_connectionName, m_readOnly))
        throw Error(QStringLiteral("Nie można otworzyć bazy danych %1").arg(m_location.describe()));
}

void Database::connectForCreation()
{
    connect(true);
    runPragmas();
    installSqliteHooks();
}

void Database::open()
{
    openStore(true);
}

void Database::openForMaintenance()
{
    openStore(false);
}

void Database::openStore(bool checkSoundness)
{
    connect(false);
    try {
        runPragmas();
        installSqliteHooks();
        if (!hasTable(QStringLiteral("OPCJE")) || !hasTable(rights::systemTable()))
            throw Error(QStringLiteral("%1 nie zawiera bazy danych programu").arg(m_location.describe()));
        // Checked once here rather than before every batch: the check reads
        // the whole file, which costs as much as a charge run.
        if (checkSoundness)
            integrity::requireSound(*this);
        if (!m_readOnly)
            integrity::addStoreConstraints(*this);
        reloadRights();
    } catch (...) {
        close();
        throw;
    }
}

void Database::runPragmas()
{
    SystemAccess sys(*this);
    if (m_location.engine == Engine::SQLite) {
        if (!m_readOnly)
            execOrThrow(connection(), QStringLiteral("PRAGMA journal_mode=WAL"), m_location);
        execOrThrow(connection(), QStringLiteral("PRAGMA synchronous=NORMAL"), m_location);
    } else {
        // One round trip for the session's settings.
        execOrThrow(connection(),
                    QStringLiteral("SET client_min_messages TO WARNING; SET lock_timeout = %1; SET statement_timeout = %2")
                        .arg(m_location.lockTimeoutMs)
                        .arg(m_location.statementTimeoutMs),
                    m_location);
    }
}

void Database::installSqliteHooks()
{
    if (m_location.engine != Engine::SQLite)
        return;
    if (sqlite3* h = sqliteHandle(connection()))
        sqlite3_set_authorizer(h, authorize, this);
}

void Database::close()
{
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen()) {
            if (m_txDepth > 0)
                rollback();
            if (sqlite3* h = m_location.engine == Engine::SQLite ? sqliteHandle(db) : nullptr)
                sqlite3_set_authorizer(h, nullptr, nullptr);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    m_fieldCache.clear();
    m_tableCache.clear();
    m_txDepth = 0;
}

void Database::setCredentials(const QStringList& credentials)
{
    m_credentials = credentials;
    reloadRights();
}

bool Database::isMaster() const
{
    return m_credentials.contains(rights::masterCredential());
}

void Database::reloadRights()
{
    m_rights.clear();
    if (isOpen() && !isMaster())
        m_rights = rights::effectiveRights(*this, m_credentials);
    // Statements prepared under the old credentials must be authorized again.
    if (m_location.engine == Engine::SQLite && isOpen())
        if (sqlite3* h = sqliteHandle(connection()))
            sqlite3_set_authorizer(h, authorize, this);
}

TableRights Database::tableRights(const QString& table) const
{
    if (isMaster() || systemAccess()) {
        TableRights all;
        all.everything = true;
        return all;
    }
    return m_rights.value(table.toUpper());
}

bool Database::takeDenied()
{
    const bool d = m_denied;
    m_denied = false;
    return d;
}

QStringList Database::tableNames() const
{
    if (!m_tableCache.isEmpty())
        return m_tableCache;
    auto* self = const_cast<Database*>(this);
    SystemAccess sys(*self);
    QSqlQuery q(connection());
    QString sql;
    if (m_location.engine == Engine::SQLite)
        sql = QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%' ORDER BY rowid");
    else
        sql = QStringLiteral("SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                             "WHERE n.nspname = current_schema() AND c.relkind = 'r' ORDER BY c.oid");
    if (!q.exec(sql))
        throw Error(storemsg::fromSqlError(q.lastError(), m_location));
    QStringList out;
    while (q.next()) {
        const QString name = q.value(0).toString().toUpper();
        if (name != rights::systemTable() && name != schemaversion::table())
            out << name;
    }
    m_tableCache = out;
    return out;
}

bool Database::hasTable(const QString& table) const
{
    if (table.compare(rights::systemTable(), Qt::CaseInsensitive) == 0) {
        auto* self = const_cast<Database*>(this);
        SystemAccess sys(*self);
        QSqlQuery q(connection());
        q.setForwardOnly(true);
        // A constant name: sent as plain text, one round trip on PostgreSQL.
        const QString sql = m_location.engine == Engine::SQLite
            ? QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name='%1'")
            : QStringLiteral("SELECT 1 FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                             "WHERE n.nspname = current_schema() AND c.relkind = 'r' AND c.relname = lower('%1')");
        return q.exec(sql.arg(rights::systemTable())) && q.next();
    }
    return tableNames().contains(table.toUpper());
}

QList<StoreField> Database::fields(const QString& tableName) const
{
    const QString table = tableName.toUpper();
    const auto cached = m_fieldCache.constFind(table);
    if (cached != m_fieldCache.constEnd())
        return *cached;
    if (m_location.engine == Engine::PostgreSQL) {
        m_fieldCache = postgresFields(connection(), m_location);
        const auto loaded = m_fieldCache.constFind(table);
        if (loaded == m_fieldCache.constEnd())
            throw Error(QStringLiteral("Tabela %1 nie istnieje").arg(table));
        return *loaded;
    }
    auto* self = const_cast<Database*>(this);
    SystemAccess sys(*self);
    QList<StoreField> out;
    QSqlQuery q(connection());
    QString createSql;
    {
        QSqlQuery s(connection());
        s.prepare(QStringLiteral("SELECT sql FROM sqlite_master WHERE type='table' AND name=:n"));
        s.bindValue(QStringLiteral(":n"), table);
        if (s.exec() && s.next())
            createSql = s.value(0).toString().toUpper();
    }
    if (createSql.isEmpty())
        throw Error(QStringLiteral("Tabela %1 nie istnieje").arg(table));
    if (!q.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table)))
        throw Error(storemsg::fromSqlError(q.lastError(), m_location));
    while (q.next()) {
        StoreField f;
        f.name = q.value(1).toString().toUpper();
        const QString declared = q.value(2).toString();
        f.type = typeFromSqlite(declared, &f.width);
        const bool pk = q.value(5).toInt() > 0;
        if (pk && declared.trimmed().compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0
            && createSql.contains(QLatin1String("AUTOINCREMENT"))) {
            f.type = FieldType::AutoInc;
            f.autoInc = true;
        }
        out << f;
    }
    m_fieldCache.insert(table, out);
    return out;
}

bool Database::hasColumn(const QString& table, const QString& column) const
{
    if (!hasTable(table))
        return false;
    for (const StoreField& f : fields(table))
        if (f.name.compare(column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QList<StoreIndex> Database::indexes(const QString& tableName) const
{
    const QString table = tableName.toUpper();
    auto* self = const_cast<Database*>(this);
    SystemAccess sys(*self);
    QList<StoreIndex> out;
    const QString prefix = table + QStringLiteral("__");
    auto logical = [&](const QString& physical) {
        QString name = physical.toUpper();
        if (!name.startsWith(prefix))
            return name;
        name = name.mid(prefix.size());
        return name.startsWith(QLatin1String("BY_")) ? QString() : name;
    };
    for (const StoreField& f : fields(table))
        if (f.autoInc)
            out << StoreIndex{QStringLiteral("PRIMARY"), {f.name}, true};
    if (m_location.engine == Engine::SQLite) {
        QSqlQuery list(connection());
        if (!list.exec(QStringLiteral("PRAGMA index_list(\"%1\")").arg(table)))
            throw Error(storemsg::fromSqlError(list.lastError(), m_location));
        QList<QPair<QString, QString>> found;  // name, origin
        while (list.next())
            if (!integrity::isConstraintIndex(list.value(1).toString()))
                found.append({list.value(1).toString(), list.value(3).toString()});
        for (const auto& [name, origin] : found) {
            QSqlQuery info(connection());
            if (!info.exec(QStringLiteral("PRAGMA index_info(\"%1\")").arg(name)))
                throw Error(storemsg::fromSqlError(info.lastError(), m_location));
            StoreIndex ix;
            ix.primary = origin == QLatin1String("pk");
            ix.name = ix.primary ? QStringLiteral("PRIMARY") : logical(name);
            while (info.next())
                ix.fields << info.value(2).toString().toUpper();
            out << ix;
        }
    } else {
        QSqlQuery q(connection());
        q.prepare(QStringLiteral(
            "SELECT ic.relname, a.attname, x.indisprimary FROM pg_index x "
            "JOIN pg_class ic ON ic.oid = x.indexrelid JOIN pg_class t ON t.oid = x.indrelid "
            "JOIN pg_namespace n ON n.oid = t.relnamespace "
            "CROSS JOIN LATERAL unnest(x.indkey) WITH ORDINALITY AS k(attnum, ord) "
            "JOIN pg_attribute a ON a.attrelid = t.oid AND a.attnum = k.attnum "
            "WHERE n.nspname = current_schema() AND t.relname = lower(:t) ORDER BY ic.oid, k.ord"));
        q.bindValue(QStringLiteral(":t"), table);
        if (!q.exec())
            throw Error(storemsg::fromSqlError(q.lastError(), m_location));
        QString lastPhysical;
        while (q.next()) {
            const QString physical = q.value(0).toString();
            if (integrity::isConstraintIndex(physical))
                continue;
            const bool primary = q.value(2).toBool();
            if (physical != lastPhysical) {
                lastPhysical = physical;
                out << StoreIndex{primary ? QStringLiteral("PRIMARY") : logical(physical), {}, primary};
            }
            const QString col = q.value(1).toString().toUpper();
            if (col != hiddenRowId())
                out.last().fields << col;
        }
        // The hidden row identity's key is not the schema's; an auto-numbered
        // column's key was listed first already.
        QList<StoreIndex> unique;
        for (const StoreIndex& ix : out) {
            const bool duplicate = std::any_of(unique.begin(), unique.end(), [&](const StoreIndex& u) {
                return u.primary == ix.primary && u.fields == ix.fields;
            });
            if (!ix.fields.isEmpty() && !duplicate)
                unique << ix;
        }
        out = unique;
    }
    return out;
}

bool Database::hasIndex(const QString& table, const QString& logicalName) const
{
    for (const StoreIndex& ix : indexes(table))
        if (ix.name.compare(logicalName, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void Database::forgetStructure()
{
    m_fieldCache.clear();
    m_tableCache.clear();
}

QString Database::rowIdColumn(const QString& table) const
{
    for (const StoreField& f : fields(table))
        if (f.autoInc)
            return f.name;
    return m_location.engine == Engine::SQLite ? QStringLiteral("rowid") : hiddenRowId();
}

// Every unit of work is the only writer of its store while it runs:
// SQLite's BEGIN IMMEDIATE queues writers, PostgreSQL queues them on the
// store's advisory lock. Both waits end after the lock timeout, before the
// unit has read anything, so it never works from data another one changes.
void Database::begin()
{
    if (m_txDepth++ > 0)
        return;
    SystemAccess sys(*this);
    try {
        if (m_readOnly)
            throw Error(storemsg::readOnly());
        if (m_location.engine == Engine::SQLite) {
            execOrThrow(connection(), QStringLiteral("BEGIN IMMEDIATE"), m_location);
        } else {
            execOrThrow(connection(), QStringLiteral("BEGIN"), m_location);
            QSqlQuery q(connection());
            if (!q.exec(QString::fromLatin1(batchLockSql)))
                throw Error(storemsg::fromSqlError(q.lastError(), m_location));
        }
    } catch (...) {
        QSqlQuery(connection()).exec(QStringLiteral("ROLLBACK"));  // harmless when none began
        m_txDepth = 0;
        throw;
    }
}

void Database::commit()
{
    if (m_txDepth == 0)
        return;
    if (--m_txDepth > 0)
        return;
    SystemAccess sys(*this);
    QSqlQuery q(connection());
    if (!q.exec(QStringLiteral("COMMIT"))) {
        const QString msg = storemsg::fromSqlError(q.lastError(), m_location);
        QSqlQuery(connection()).exec(QStringLiteral("ROLLBACK"));
        throw Error(msg);
    }
}

void Database::rollback()
{
    if (m_txDepth == 0)
        return;
    m_txDepth = 0;
    SystemAccess sys(*this);
    QSqlQuery(connection()).exec(QStringLiteral("ROLLBACK"));
}

void Database::batch(const std::function<void()>& fn)
{
    Transaction tx(*this);
    fn();
    tx.commit();
}

Transaction::Transaction(Database& db) : m_db(db)
{
    if (m_db.inTransaction())
        m_done = true;  // joins the running unit of work
    else
        m_db.begin();
}

Transaction::~Transaction()
{
    if (!m_done)
        m_db.rollback();
}

void Transaction::commit()
{
    if (m_done)
        return;
    m_done = true;
    m_db.commit();
}
