// lunawactl maintenance check and repair: the store's full soundness check,
// and the rebuilding of its indexes (with the delivered print templates
// of any type the store has none of).

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "printouts/delivered_templates.h"
#include "shell/tdm_ochrona.h"
#include "store/database.h"
#include "store/store_integrity.h"

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

int runMaintenance(Context& ctx)
{
    return guarded(ctx, [&] {
        const QString usage = QStringLiteral("Użycie: lunawactl maintenance check|repair");
        if (ctx.arguments.size() != 1)
            throw UsageError(usage);
        const QString action = ctx.arguments.first();
        if (action != QLatin1String("check") && action != QLatin1String("repair"))
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
    QStringLiteral("maintenance check|repair"),
    runMaintenance,
}};

}  // namespace

}  // namespace cli
