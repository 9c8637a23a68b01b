#include "store_integrity.h"

#include "database.h"
#include "ddl.h"
#include "error.h"
#include "store_messages.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QVariant>

namespace integrity {

namespace {

bool indexExists(Database& db, const QString& name)
{
    // The name written in by the driver's quoting: a prepared statement
    // costs a server three round trips, and every opening asks this.
    QSqlField field(QStringLiteral("n"), QMetaType(QMetaType::QString));
    field.setValue(name);
    const QString quoted = db.connection().driver()->formatValue(field);
    QSqlQuery q(db.connection());
    if (db.engine() == Engine::SQLite)
        return q.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = %1").arg(quoted)) && q.next();
    return q.exec(QStringLiteral("SELECT 1 FROM pg_indexes WHERE schemaname = current_schema() AND indexname = lower(%1)")
                      .arg(quoted))
        && q.next();
}

QStringList rowsOf(Database& db, const QString& sql)
{
    QSqlQuery q(db.connection());
    if (!q.exec(sql))
        throw Error(storemsg::fromSqlError(q.lastError(), db.location()));
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

}  // namespace

bool isConstraintIndex(const QString& physicalName)
{
    return physicalName.startsWith(QLatin1String("LW_"), Qt::CaseInsensitive);
}

void addStoreConstraints(Database& db)
{
    Database::SystemAccess sys(db);
    for (const ddl::Constraint& c : ddl::constraints()) {
        if (!db.hasTable(c.table) || indexExists(db, c.name))
            continue;
        QSqlQuery q(db.connection());
        q.exec(c.sql);  // refused while the data breaks it; the full check reports that
    }
}

void requireSound(Database& db)
{
    if (db.engine() != Engine::SQLite)
        return;
    Database::SystemAccess sys(db);
    QSqlQuery q(db.connection());
    if (!q.exec(QStringLiteral("PRAGMA quick_check(1)")))
        throw Error(storemsg::fromSqlError(q.lastError(), db.location()));
    if (!q.next() || q.value(0).toString() != QLatin1String("ok"))
        throw Error(storemsg::damaged());
}

CheckResult fullCheck(Database& db)
{
    Database::SystemAccess sys(db);
    CheckResult r;
    if (db.engine() == Engine::SQLite) {
        const QStringList found = rowsOf(db, QStringLiteral("PRAGMA integrity_check(100)"));
        if (found != QStringList{QStringLiteral("ok")})
            r.problems << found;
        r.notes << QStringLiteral("Sprawdzono plik bazy danych (integrity_check).");
    } else {
        // The server keeps its own files sound; its index check is an
        // extension that only the server's administrator can install.
        if (rowsOf(db, QStringLiteral("SELECT 1 FROM pg_extension WHERE extname = 'amcheck'")).isEmpty()) {
            r.notes << QStringLiteral("Spójność plików bazy PostgreSQL zapewnia serwer; jego indeksy sprawdza "
                                      "administrator serwera (rozszerzenie amcheck nie jest zainstalowane).");
        } else {
            QSqlQuery q(db.connection());
            q.exec(QStringLiteral("SELECT c.relname FROM pg_index i JOIN pg_class c ON c.oid = i.indexrelid "
                                  "JOIN pg_namespace n ON n.oid = c.relnamespace JOIN pg_am a ON a.oid = c.relam "
                                  "WHERE n.nspname = current_schema() AND a.amname = 'btree'"));
            QStringList indexes;
            while (q.next())
                indexes << q.value(0).toString();
            for (const QString& ix : indexes) {
                QSqlQuery c(db.connection());
                c.prepare(QStringLiteral("SELECT bt_index_check(CAST(:i AS regclass))"));
                c.bindValue(QStringLiteral(":i"), ix);
                if (!c.exec())
                    r.problems << QStringLiteral("Indeks %1: %2").arg(ix.toUpper(), c.lastError().databaseText().trimmed());
            }
            r.notes << QStringLiteral("Sprawdzono indeksy bazy PostgreSQL (amcheck).");
        }
    }
    for (const ddl::Constraint& c : ddl::constraints()) {
        if (!db.hasTable(c.table))
            continue;
        if (c.name == QLatin1String("LW_FAKT_NUMER")) {
            const QStringList twice = rowsOf(
                db, QStringLiteral("SELECT 'miesiąc ' || KOD || ', numer ' || NUMER || ' (' || COUNT(*) || ' razy)' "
                                   "FROM FAKT WHERE (PIERW IS NULL OR PIERW = 0) AND NUMER IS NOT NULL "
                                   "GROUP BY KOD, NUMER HAVING COUNT(*) > 1 ORDER BY KOD, NUMER"));
            for (const QString& t : twice)
                r.problems << QStringLiteral("Powtórzony numer faktury: %1").arg(t);
        }
        if (!indexExists(db, c.name))
            r.problems << QStringLiteral("Brak ograniczenia %1 w tabeli %2").arg(c.name, c.table);
    }
    return r;
}

void rebuildIndexes(Database& db)
{
    Database::SystemAccess sys(db);
    if (db.isReadOnly())
        throw Error(storemsg::readOnly());
    QSqlQuery q(db.connection());
    const QString sql = db.engine() == Engine::SQLite
        ? QStringLiteral("REINDEX")
        : QStringLiteral("REINDEX SCHEMA \"%1\"").arg(rowsOf(db, QStringLiteral("SELECT current_schema()")).value(0));
    if (!q.exec(sql))
        throw Error(storemsg::fromSqlError(q.lastError(), db.location()));
    addStoreConstraints(db);
}

}  // namespace integrity
