#include "compaction.h"

#include "browser/message_log.h"
#include "browser/prompts.h"
#include "store/database.h"
#include "store/error.h"
#include "store/store_messages.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace compaction {

namespace {

QString rebuild(Database& db, const QString& sql)
{
    QSqlQuery q(db.connection());
    return q.exec(sql) ? QString() : storemsg::fromSqlError(q.lastError(), db.location());
}

}  // namespace

Result run(Database& db, Prompts& prompts, MessageLog& log)
{
    Database::SystemAccess sys(db);
    Result result;
    log.setTitle(title());
    log.resetProgress();
    log.show(true);
    QStringList units;
    QStringList failedUnits;
    if (db.engine() == Engine::SQLite)
        units << QFileInfo(db.location().sqliteFile()).fileName();
    else
        units = db.tableNames();
    for (const QString& unit : units) {
        log.step(int(units.size()), unit);
        QString failure;
        if (db.isReadOnly())
            failure = storemsg::readOnly();
        else if (db.inTransaction())
            failure = QStringLiteral("Kompresja wymaga zakończenia innych operacji na bazie");
        else
            failure = rebuild(db, db.engine() == Engine::SQLite ? QStringLiteral("VACUUM")
                                                                : QStringLiteral("VACUUM FULL %1").arg(unit));
        if (failure.isEmpty()) {
            result.done << unit;
        } else {
            result.failed << unit + QStringLiteral(": ") + failure;
            log.addError(result.failed.last());
            prompts.showError(failure);
            failedUnits << unit;
        }
    }
    // A run with failures must not look finished well.
    log.step(0, failedUnits.isEmpty() ? finished() : failedWith(failedUnits), false);
    return result;
}

}  // namespace compaction
