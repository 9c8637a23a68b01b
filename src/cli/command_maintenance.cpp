// lunawactl maintenance check, repair, reindex and compact: the store's full
// soundness check, the rebuilding of all its indexes (with the delivered
// print templates of any type the store has none of), the rebuilding of one
// table's indexes from the schema, and the compression of the store.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "printouts/delivered_templates.h"
#include "shell/tdm_ochrona.h"
#include "store/database.h"
#include "store/store_integrity.h"
#include "browser/message_log.h"
#include "maintenance/compaction.h"
#include "maintenance/index_repair.h"
#include "shell/option_prompts.h"

#include <QTextStream>

namespace cli {

namespace {

int report(Context& ctx, const integrity::CheckResult& result)
{
    for (const QString& note : result.notes)
        ctx.out << note << '\n';
    if (result.problems.isEmpty()) {
        ctx.out << QStringLiteral("Baza danych jest sprawna.\n");
        return Success;
    }
    ctx.out.flush();
    ctx.err << QStringLiteral("Baza danych jest uszkodzona:\n");
    for (const QString& problem : result.problems)
        ctx.err << QStringLiteral("  ") << problem << '\n';
    return Failed;
}

int reindexTable(Context& ctx, Database& db, const QString& table)
{
    const std::optional<TableDef> model = indexrepair::modelFor(db, table);
    if (!model)
        throw Error(QStringLiteral("Schemat nie zawiera wzorca tabeli %1").arg(table));
    const QStringList planned = indexrepair::plannedIndexes(db, table, *model);
    indexrepair::rebuild(db, table, *model);
    for (const QString& index : planned)
        ctx.out << table << QStringLiteral(" ") << index << '\n';
    ctx.out << indexrepair::finished() << '\n';
    return Success;
}

int compact(Context& ctx, Database& db)
{
    OptionPrompts prompts(ctx.out, ctx.err);
    MessageLog log;
    const compaction::Result result = compaction::run(db, prompts, log);
    for (const QString& done : result.done)
        ctx.out << done << '\n';
    if (!result.failed.isEmpty()) {
        ctx.err << QStringLiteral("Nie skompresowano: ") << result.failed.join(QStringLiteral("; ")) << '\n';
        return Failed;
    }
    ctx.out << compaction::finished() << '\n';
    return Success;
}

int runMaintenance(Context& ctx)
{
    return guarded(ctx, [&] {
        const QString usage = QStringLiteral("Użycie: lunawactl maintenance check|repair|reindex TABELA|compact");
        if (ctx.arguments.isEmpty())
            throw UsageError(usage);
        const QString action = ctx.arguments.first();
        const bool reindex = action == QLatin1String("reindex");
        if (ctx.arguments.size() != (reindex ? 2 : 1))
            throw UsageError(usage);
        if (action != QLatin1String("check") && action != QLatin1String("repair") && !reindex
            && action != QLatin1String("compact"))
            throw UsageError(usage);
        // A damaged store is opened all the same: finding and mending the
        // damage is what the command is for.
        int status = Success;
        LoginOptions login;
        if (!readLoginOptions(ctx, login, status))
            return status;
        Database db(resolveStore(ctx));
        db.openForMaintenance();
        TDMOchrona security(db);
        if (!logIn(ctx, security, login, status))
            return status;
        if (reindex)
            return reindexTable(ctx, db, ctx.arguments.at(1).toUpper());
        if (action == QLatin1String("compact")) {
            if (!security.current().functions.contains(QStringLiteral("Prawa dostepu")))
                throw Error(QStringLiteral("Brak dostępu do funkcji „Prawa dostepu”"));
            return compact(ctx, db);
        }
        if (action == QLatin1String("repair")) {
            integrity::rebuildIndexes(db);
            ctx.out << QStringLiteral("Indeksy bazy danych zostały odbudowane.\n");
            // Stores made before templates were delivered get them here.
            if (const int added = printouts::addDeliveredTemplates(db))
                ctx.out << QStringLiteral("Dodano szablony wydruków: %1\n").arg(added);
        }
        return report(ctx, integrity::fullCheck(db));
    });
}

const Registration maintenance{{
    QStringLiteral("maintenance"),
    QStringLiteral("maintenance check|repair|reindex TABELA|compact"),
    runMaintenance,
}};

}  // namespace

}  // namespace cli
