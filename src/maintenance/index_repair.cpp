#include "index_repair.h"

#include "browser/prompts.h"
#include "store/database.h"
#include "store/ddl.h"
#include "store/error.h"
#include "store/query.h"
#include "store/store_integrity.h"
#include "store/store_messages.h"

#include <QSqlError>
#include <QSqlQuery>

namespace indexrepair {

namespace {

bool contains(const QList<StoreField>& fields, const QString& name)
{
    for (const StoreField& f : fields)
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// The indexes the program made on the table (not the engine's own key
// indexes, nor the constraints, which are rebuilt in place).
QStringList droppableIndexes(Database& db, const QString& table)
{
    QSqlQuery q(db.connection());
    if (db.engine() == Engine::SQLite) {
        q.prepare(QStringLiteral("SELECT name FROM pragma_index_list(:t) WHERE origin = 'c'"));
    } else {
        q.prepare(QStringLiteral("SELECT c.relname FROM pg_index x JOIN pg_class c ON c.oid = x.indexrelid "
                                 "JOIN pg_class t ON t.oid = x.indrelid JOIN pg_namespace n ON n.oid = t.relnamespace "
                                 "WHERE n.nspname = current_schema() AND t.relname = lower(:t) AND NOT x.indisprimary "
                                 "AND NOT EXISTS (SELECT 1 FROM pg_constraint k WHERE k.conindid = x.indexrelid)"));
    }
    q.bindValue(QStringLiteral(":t"), table.toUpper());
    if (!q.exec())
        throw Error(storemsg::fromSqlError(q.lastError(), db.location()));
    QStringList out;
    while (q.next())
        if (!integrity::isConstraintIndex(q.value(0).toString()))
            out << q.value(0).toString();
    return out;
}

void exec(Database& db, const QString& sql)
{
    QSqlQuery q(db.connection());
    if (!q.exec(sql))
        throw Error(storemsg::fromSqlError(q.lastError(), db.location()));
}

// The model's indexes that the store builds itself or that wait for the
// upgrade are left out; any other field the table lacks is an error.
QList<IndexDef> modelIndexes(Database& db, const QString& table, const TableDef& model)
{
    const QList<StoreField> present = db.fields(table);
    QList<IndexDef> out;
    for (const IndexDef& ix : model.indexes) {
        const FieldDef* key = ix.fields.size() == 1 ? model.field(ix.fields.first()) : nullptr;
        if (ix.primary && key && key->type == FieldType::AutoInc)
            continue;
        if (ddl::servedByLongerIndex(table, ix))
            continue;
        bool complete = true;
        for (const QString& f : ix.fields) {
            if (contains(present, f))
                continue;
            const FieldDef* def = model.field(f);
            if (ix.upgrade || (def && def->upgrade)) {
                complete = false;
                continue;
            }
            throw Error(QStringLiteral("Tabela %1 nie posiada pola %2 wzorca").arg(table.toUpper(), f));
        }
        if (complete)
            out << ix;
    }
    return out;
}

}  // namespace

std::optional<TableDef> modelFor(Database& db, const QString& table)
{
    const TableDef* t = schema::table(table);
    if (!t)
        return std::nullopt;
    if (t->name == QLatin1String("DZIECI") && db.hasTable(t->name))
        for (const StoreField& f : db.fields(t->name))
            if (f.name == QLatin1String("KOD") && !f.autoInc)
                return schema::oneGroupChildren();
    return *t;
}

QStringList plannedIndexes(Database& db, const QString& table, const TableDef& model)
{
    Database::SystemAccess sys(db);
    if (!db.hasTable(table))
        throw Error(QStringLiteral("Tabela %1 nie istnieje").arg(table.toUpper()));
    QStringList out;
    for (const IndexDef& ix : modelIndexes(db, table, model))
        out << (ix.name.isEmpty() ? QString() : ix.name + QLatin1Char(' ')) + QLatin1Char('(') + ix.fieldList()
                + QLatin1Char(')');
    return out;
}

int rebuild(Database& db, const QString& table, const TableDef& model)
{
    Database::SystemAccess sys(db);
    if (db.isReadOnly())
        throw Error(storemsg::readOnly());
    if (!db.hasTable(table))
        throw Error(QStringLiteral("Tabela %1 nie istnieje").arg(table.toUpper()));
    const QList<IndexDef> wanted = modelIndexes(db, table, model);
    const QString name = table.toUpper();
    db.batch([&] {
        for (const QString& old : droppableIndexes(db, name))
            exec(db, QStringLiteral("DROP INDEX %1").arg(old));
        for (const IndexDef& ix : wanted)
            exec(db, ddl::createIndex(name, ix, db.engine()));
        // The engine's key and the constraints stay; rebuilt from the data too.
        exec(db, (db.engine() == Engine::SQLite ? QStringLiteral("REINDEX %1") : QStringLiteral("REINDEX TABLE %1"))
                     .arg(name));
    });
    db.forgetStructure();
    return int(wanted.size());
}

bool run(Database& db, Prompts& prompts, const std::function<void(bool on)>& waitCursor)
{
    QList<PickEntry> tables;
    for (const QString& t : db.tableNames())
        tables << PickEntry{t, t};
    QVariant chosen;
    if (!prompts.pickFromList(tableTitle(), QString(), tables, chosen))
        return false;
    const QString table = chosen.toString();
    std::optional<TableDef> model = modelFor(db, table);
    if (!model) {
        QList<PickEntry> models;
        for (const TableDef& t : schema::tables())
            models << PickEntry{t.name, t.name};
        QVariant modelName;
        if (!prompts.pickFromList(modelTitle(), QString(), models, modelName))
            return false;
        model = modelFor(db, modelName.toString());
        if (!model)
            return false;
    }
    if (waitCursor)
        waitCursor(true);
    try {
        rebuild(db, table, *model);
    } catch (const Error& e) {
        if (waitCursor)
            waitCursor(false);
        prompts.showError(e.message());
        return false;
    }
    if (waitCursor)
        waitCursor(false);
    prompts.showInfo(finished());
    return true;
}

}  // namespace indexrepair
