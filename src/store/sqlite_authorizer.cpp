#include "sqlite_authorizer.h"

#include "database.h"
#include "schema.h"
#include "sql_text.h"

#include <sqlite3.h>

namespace sqlite_authorizer {

namespace {

thread_local const QString* currentText = nullptr;
thread_local bool userText = false;

// A statement's columns are authorized one by one: its text is read once.
const sqltext::WriteStatement& classified(const QString& text)
{
    thread_local QString lastText;
    thread_local sqltext::WriteStatement last;
    if (text != lastText || lastText.isNull()) {
        last = sqltext::classifyWrite(text);
        lastText = text.isNull() ? QStringLiteral("") : text;
    }
    return last;
}

// Pragmas that only describe the store; any other pragma may change it.
bool isDescribingPragma(const char* name)
{
    static const char* const allowed[] = {"table_info", "table_xinfo", "index_list", "index_info",
                                          "index_xinfo", "database_list", "collation_list"};
    if (!name)
        return false;
    for (const char* a : allowed)
        if (sqlite3_stricmp(a, name) == 0)
            return true;
    return false;
}

bool isSqliteOwn(const char* table)
{
    return table && sqlite3_strnicmp(table, "sqlite_", 7) == 0;
}

// A name read that is no table of the store (nor of the program's schema,
// nor one the rights name) but a WITH clause of the statement: the clause's
// own reads are authorized one by one.
bool isCteOnly(Database& db, const char* name)
{
    if (!currentText || !name)
        return false;
    const QString n = QString::fromUtf8(name).toUpper();
    const TableRights r = db.tableRights(n);
    if (schema::table(n) || n == rights::systemTable() || r.table != 0 || !r.fields.isEmpty())
        return false;
    thread_local QString lastText;
    thread_local QStringList lastNames;
    if (*currentText != lastText || lastText.isNull()) {
        lastNames = sqltext::cteNames(*currentText);
        lastText = currentText->isNull() ? QStringLiteral("") : *currentText;
    }
    return lastNames.contains(n);
}

bool isRowidAlias(const QString& column)
{
    return column == QLatin1String("ROWID") || column == QLatin1String("OID") || column == QLatin1String("_ROWID_");
}

bool writable(const TableRights& r, const QString& field)
{
    return (r.field(field) & rights::Modify) != 0;
}

// An INSERT into `table`: the insert right, the rights its conflict handling
// implies, and no value for a field the user may not write.
bool insertAllowed(const TableRights& r, const QString& table)
{
    if (!r.can(rights::Insert))
        return false;
    if (!userText)
        return true;
    if (!currentText)
        return false;
    const sqltext::WriteStatement& w = classified(*currentText);
    if (!w.understood || w.verb != sqltext::WriteStatement::Insert || w.table != table)
        return false;
    if (w.replaces && !r.can(rights::Delete))
        return false;
    if (w.upsertUpdate && !r.can(rights::Modify))
        return false;
    bool restricted = false;
    for (auto it = r.fields.constBegin(); it != r.fields.constEnd(); ++it)
        restricted = restricted || !(it.value() & rights::Modify);
    if (w.allColumns)
        return !restricted;
    for (const QString& column : w.columns) {
        // The row number may stand for the key field, whatever its mask.
        if (isRowidAlias(column) ? restricted : !writable(r, column))
            return false;
    }
    return true;
}

// An UPDATE of `table`: OR REPLACE deletes the rows it collides with.
bool updateStatementAllowed(const TableRights& r, const QString& table)
{
    if (!userText)
        return true;
    if (!currentText)
        return false;
    const sqltext::WriteStatement& w = classified(*currentText);
    if (!w.understood)
        return false;
    if (w.verb == sqltext::WriteStatement::Insert)
        return w.table == table && w.upsertUpdate && (!w.replaces || r.can(rights::Delete));
    return w.verb == sqltext::WriteStatement::Update && w.table == table && (!w.replaces || r.can(rights::Delete));
}

}  // namespace

StatementText::StatementText(const QString& sql) : m_previous(currentText)
{
    currentText = &sql;
}

StatementText::~StatementText()
{
    currentText = m_previous;
}

UserText::UserText() : m_previous(userText)
{
    userText = true;
}

UserText::~UserText()
{
    userText = m_previous;
}

void install(sqlite3* handle, Database& db)
{
    if (handle)
        sqlite3_set_authorizer(handle, authorize, &db);
}

int authorize(void* ctx, int action, const char* a, const char* b, const char*, const char*)
{
    auto* db = static_cast<Database*>(ctx);
    if (db->systemAccess() || db->isMaster())
        return SQLITE_OK;
    auto deny = [db] {
        db->noteDenied();
        return SQLITE_DENY;
    };
    auto rightsOf = [db](const char* table) { return db->tableRights(QString::fromUtf8(table)); };
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_TRANSACTION:
    case SQLITE_SAVEPOINT:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_FUNCTION:
        return b && sqlite3_stricmp(b, "load_extension") == 0 ? deny() : SQLITE_OK;
    case SQLITE_PRAGMA:
        return isDescribingPragma(a) ? SQLITE_OK : deny();
    case SQLITE_READ: {
        if (isSqliteOwn(a))
            return deny();
        if (isCteOnly(*db, a))
            return SQLITE_OK;
        const TableRights r = rightsOf(a);
        if (!r.can(rights::Read))
            return deny();
        if (b && *b && !(r.field(QString::fromUtf8(b)) & rights::Read))
            return SQLITE_IGNORE;  // a hidden field reads as empty
        return SQLITE_OK;
    }
    case SQLITE_UPDATE: {
        if (isSqliteOwn(a))
            return deny();
        const TableRights r = rightsOf(a);
        if (!r.can(rights::Modify) || (b && *b && !writable(r, QString::fromUtf8(b)))
            || !updateStatementAllowed(r, QString::fromUtf8(a).toUpper()))
            return deny();
        return SQLITE_OK;
    }
    case SQLITE_INSERT:
        if (isSqliteOwn(a))
            return deny();
        return insertAllowed(rightsOf(a), QString::fromUtf8(a).toUpper()) ? SQLITE_OK : deny();
    case SQLITE_DELETE:
        if (isSqliteOwn(a))
            return deny();
        return rightsOf(a).can(rights::Delete) ? SQLITE_OK : deny();
    case SQLITE_ALTER_TABLE:
    case SQLITE_CREATE_INDEX:
    case SQLITE_DROP_INDEX:
        if (isSqliteOwn(b))
            return deny();
        return rightsOf(b).can(rights::Restructure) ? SQLITE_OK : deny();
    default:
        return deny();  // tables, views, triggers, ATTACH, ANALYZE, REINDEX, virtual tables: master only
    }
}

}  // namespace sqlite_authorizer
