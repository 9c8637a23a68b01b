#include "read_snapshot.h"

#include "database.h"
#include "error.h"
#include "store_messages.h"

#include <QSqlError>
#include <QSqlQuery>

ReadSnapshot::ReadSnapshot(Database& db) : m_db(db)
{
    if (db.inTransaction())
        return;
    Database::SystemAccess sys(db);
    QSqlQuery q(db.connection());
    const bool sqlite = db.engine() == Engine::SQLite;
    if (!q.exec(sqlite ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")))
        throw Error(storemsg::fromSqlError(q.lastError(), db.location()));
    m_active = true;
    // SQLite takes its snapshot at the first read, not at BEGIN.
    if (sqlite && !q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        const QString msg = storemsg::fromSqlError(q.lastError(), db.location());
        QSqlQuery(db.connection()).exec(QStringLiteral("ROLLBACK"));
        m_active = false;
        throw Error(msg);
    }
}

ReadSnapshot::~ReadSnapshot()
{
    if (!m_active)
        return;
    Database::SystemAccess sys(m_db);
    QSqlQuery(m_db.connection()).exec(QStringLiteral("ROLLBACK"));
}
