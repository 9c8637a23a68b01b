#include "statement_rights.h"

#include "database.h"
#include "error.h"
#include "rights.h"
#include "sql_text.h"

void checkStatementRights(Database& db, const QString& sql)
{
    if (db.engine() != Engine::PostgreSQL || db.isMaster() || db.systemAccess())
        return;
    for (const sqltext::TableUse& use : sqltext::tablesUsed(sql)) {
        if (use.table.isEmpty() || use.table == rights::systemTable())
            throw AccessDenied();
        if (use.table.startsWith(QLatin1String("PG_")) || use.table == QLatin1String("INFORMATION_SCHEMA"))
            continue;
        if (!db.hasTable(use.table))
            continue;  // the engine reports an unknown name itself
        if (!db.tableRights(use.table).can(use.mask))
            throw AccessDenied();
    }
}
