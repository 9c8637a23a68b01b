#include "pg_user_roles.h"

#include "database.h"
#include "error.h"
#include "rights.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <array>

namespace pg_roles {

namespace {

// First key of the advisory lock role changes queue on (the batch lock
// uses another); the second is the store's schema.
const char* const changeLockKey = "1280660034, hashtext(current_schema())";

// Runs a statement of the program's own on the shared connection.
QSqlQuery run(Database& db, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery q(db.connection());
    bool ok;
    if (values.isEmpty()) {
        ok = q.exec(sql);
    } else {
        ok = q.prepare(sql);
        for (int i = 0; ok && i < values.size(); ++i)
            q.bindValue(i, values[i]);
        ok = ok && q.exec();
    }
    if (!ok)
        throw Error(q.lastError().databaseText().trimmed());
    return q;
}

QVariant scalar(Database& db, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery q = run(db, sql, values);
    return q.next() ? q.value(0) : QVariant();
}

// Names the program makes itself; anything else is never written into SQL.
bool plainName(const QString& name)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(name).hasMatch();
}

QString storePrefix(Database& db)
{
    QSqlQuery q = run(db, QStringLiteral("SELECT d.oid, current_schema() FROM pg_database d "
                                         "WHERE d.datname = current_database()"));
    if (!q.next())
        throw AccessDenied();
    const QByteArray key = q.value(0).toString().toUtf8() + ':' + q.value(1).toString().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Md5).toHex().left(8);
    return QStringLiteral("lw_") + QString::fromLatin1(hash) + QStringLiteral("_u");
}

QString currentSchema(Database& db)
{
    const QString schema = scalar(db, QStringLiteral("SELECT current_schema()")).toString();
    if (!plainName(schema))
        throw AccessDenied();
    return schema;
}

// Privileges of one table mirroring the rights; field masks become column
// privileges (a table privilege when every field has the right).
QStringList grantsOf(Database& db, const QString& table, const TableRights& r, const QString& role)
{
    QStringList out;
    if (r.table == 0 || !plainName(table))
        return out;
    QStringList names;
    for (const StoreField& f : db.fields(table))
        if (plainName(f.name))
            names << f.name;
    auto privilege = [&](int tableBit, int fieldBit, const char* what) {
        if (!r.can(tableBit))
            return;
        QStringList allowed;
        for (const QString& n : names)
            if (r.field(n) & fieldBit)
                allowed << n;
        if (allowed.size() == names.size())
            out << QStringLiteral("GRANT %1 ON %2 TO %3").arg(QLatin1String(what), table, role);
        else if (!allowed.isEmpty())
            out << QStringLiteral("GRANT %1 (%2) ON %3 TO %4")
                       .arg(QLatin1String(what), allowed.join(QStringLiteral(", ")), table, role);
    };
    privilege(rights::Read, rights::Read, "SELECT");
    privilege(rights::Modify, rights::Modify, "UPDATE");
    // A field the user may not write cannot be given a value either.
    privilege(rights::Insert, rights::Modify, "INSERT");
    if (r.can(rights::Delete))
        out << QStringLiteral("GRANT DELETE ON %1 TO %2").arg(table, role);
    return out;
}

QStringList credentialsOfUser(Database& db, int userCode)
{
    QStringList out{rights::userCredential(userCode)};
    QSqlQuery q = run(db, QStringLiteral("SELECT KODGR FROM UZGR WHERE KODUZ = ?"), {userCode});
    while (q.next())
        out << rights::groupCredential(q.value(0).toInt());
    return out;
}

// The role holds exactly the privileges of `credentials` on the store's
// tables and nothing through attributes or memberships.
void synchronise(Database& db, const QString& role, const QStringList& credentials)
{
    Database::SystemAccess sys(db);
    const QString schema = currentSchema(db);
    const QHash<QString, TableRights> granted = rights::effectiveRights(db, credentials);
    QStringList tables = db.tableNames();
    tables << rights::systemTable();
    // Inside a running unit of work the changes join it (and show when it
    // commits) behind a savepoint, so a failure here leaves it usable.
    const bool own = !db.inTransaction();
    run(db, own ? QStringLiteral("BEGIN") : QStringLiteral("SAVEPOINT lw_roles"));
    try {
        run(db, QStringLiteral("REVOKE ALL ON ALL TABLES IN SCHEMA %1 FROM %2").arg(schema, role));
        run(db, QStringLiteral("REVOKE ALL ON ALL SEQUENCES IN SCHEMA %1 FROM %2").arg(schema, role));
        for (const QString& table : tables)
            for (const QString& sql : grantsOf(db, table, granted.value(table.toUpper()), role))
                run(db, sql);
        if (!scalar(db, QStringLiteral("SELECT has_schema_privilege(?, current_schema(), 'USAGE')"), {role}).toBool())
            run(db, QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2").arg(schema, role));
        run(db, own ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE SAVEPOINT lw_roles"));
    } catch (...) {
        QSqlQuery(db.connection()).exec(own ? QStringLiteral("ROLLBACK") : QStringLiteral("ROLLBACK TO SAVEPOINT lw_roles"));
        throw;
    }
}

// Creating objects is never a user's right: CREATE granted to PUBLIC on the
// schema (servers before 15) or on the database is taken back; a server
// where that fails is refused.
void refuseCreation(Database& db, const QString& role)
{
    const QString schema = currentSchema(db);
    auto creates = [&] {
        QSqlQuery q = run(db, QStringLiteral("SELECT has_schema_privilege(?, current_schema(), 'CREATE'), "
                                             "has_database_privilege(?, current_database(), 'CREATE'), "
                                             "has_database_privilege(?, current_database(), 'TEMP')"),
                          {role, role, role});
        q.next();
        return std::array<bool, 3>{q.value(0).toBool(), q.value(1).toBool(), q.value(2).toBool()};
    };
    std::array<bool, 3> now = creates();
    if (!now[0] && !now[1] && !now[2])
        return;
    const QString database = scalar(db, QStringLiteral("SELECT current_database()")).toString();
    if (!plainName(database) && (now[1] || now[2]))
        throw AccessDenied();
    // Best effort: a database owner may take these back from PUBLIC.
    if (now[0])
        QSqlQuery(db.connection()).exec(QStringLiteral("REVOKE CREATE ON SCHEMA %1 FROM PUBLIC").arg(schema));
    if (now[1])
        QSqlQuery(db.connection()).exec(QStringLiteral("REVOKE CREATE ON DATABASE %1 FROM PUBLIC").arg(database));
    if (now[2])
        QSqlQuery(db.connection()).exec(QStringLiteral("REVOKE TEMPORARY ON DATABASE %1 FROM PUBLIC").arg(database));
    now = creates();
    // Temporary tables vanish with the one-statement session and can only
    // hold what the role may read: tolerated where they cannot be revoked.
    if (now[0] || now[1])
        throw AccessDenied();
}

QString randomPassword()
{
    QByteArray bytes(24, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    return QString::fromLatin1(bytes.toHex());
}

}  // namespace

QString roleName(Database& db, int userCode)
{
    return storePrefix(db) + QString::number(userCode);
}

int userCodeOf(const QStringList& credentials)
{
    const QString prefix = rights::masterCredential() + QLatin1Char('U');
    int code = -1;
    for (const QString& c : credentials) {
        if (!c.startsWith(prefix))
            continue;
        bool ok = false;
        const int n = c.mid(prefix.size()).toInt(&ok);
        if (!ok || n < 0 || code >= 0)
            return -1;
        code = n;
    }
    return code;
}

ChangeLock::ChangeLock(Database& db) : m_db(db)
{
    run(m_db, QStringLiteral("SELECT pg_advisory_lock(%1)").arg(QLatin1String(changeLockKey)));
}

ChangeLock::~ChangeLock()
{
    QSqlQuery(m_db.connection()).exec(QStringLiteral("SELECT pg_advisory_unlock(%1)").arg(QLatin1String(changeLockKey)));
}

QString prepareLogin(Database& db)
{
    if (db.engine() != Engine::PostgreSQL || db.isMaster())
        throw AccessDenied();
    const int code = userCodeOf(db.credentials());
    if (code < 0)
        throw AccessDenied();
    try {
        const QString role = roleName(db, code);
        const QString password = randomPassword();
        const bool exists = scalar(db, QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname = ?"), {role}).toInt() > 0;
        // The password is hexadecimal digits: nothing to quote.
        run(db, QStringLiteral("%1 ROLE %2 LOGIN NOINHERIT CONNECTION LIMIT -1 PASSWORD '%3'")
                    .arg(exists ? QStringLiteral("ALTER") : QStringLiteral("CREATE"), role, password));
        QSqlQuery attributes = run(db, QStringLiteral(
            "SELECT r.rolsuper OR r.rolcreaterole OR r.rolcreatedb OR r.rolreplication OR r.rolbypassrls "
            "OR r.rolinherit, (SELECT count(*) FROM pg_auth_members m WHERE m.member = r.oid) "
            "FROM pg_roles r WHERE r.rolname = ?"), {role});
        // A role that could act as another or beyond its grants is not used.
        if (!attributes.next() || attributes.value(0).toBool() || attributes.value(1).toInt() != 0)
            throw AccessDenied();
        synchronise(db, role, db.credentials());
        refuseCreation(db, role);
        return password;
    } catch (const Error&) {
        throw AccessDenied();
    }
}

void refreshRoles(Database& db)
{
    if (db.engine() != Engine::PostgreSQL)
        return;
    Database::SystemAccess sys(db);
    const QString prefix = storePrefix(db);
    QList<int> codes;
    {
        QSqlQuery q = run(db, QStringLiteral("SELECT rolname FROM pg_roles WHERE starts_with(rolname, ?)"), {prefix});
        while (q.next()) {
            bool ok = false;
            const int code = q.value(0).toString().mid(prefix.size()).toInt(&ok);
            if (ok)
                codes << code;
        }
    }
    if (codes.isEmpty())
        return;
    ChangeLock lock(db);
    for (int code : codes)
        synchronise(db, prefix + QString::number(code), credentialsOfUser(db, code));
}

void dropRoles(Database& db)
{
    if (db.engine() != Engine::PostgreSQL)
        return;
    Database::SystemAccess sys(db);
    const QString prefix = storePrefix(db);
    QStringList roles;
    {
        QSqlQuery q = run(db, QStringLiteral("SELECT rolname FROM pg_roles WHERE starts_with(rolname, ?)"), {prefix});
        while (q.next())
            if (plainName(q.value(0).toString()))
                roles << q.value(0).toString();
    }
    for (const QString& role : roles) {
        run(db, QStringLiteral("DROP OWNED BY %1").arg(role));
        run(db, QStringLiteral("DROP ROLE %1").arg(role));
    }
}

}  // namespace pg_roles
