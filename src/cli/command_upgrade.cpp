// lunawactl upgrade [--yes]: the schema upgrade of the store given by
// --store, asking its one question through --yes.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "maintenance/schema_upgrade.h"
#include "store/schema_version.h"

#include <QTextStream>

namespace cli {

namespace {

int runUpgrade(Context& ctx)
{
    return guarded(ctx, [&] {
        if (!ctx.arguments.isEmpty())
            throw UsageError(QStringLiteral("Użycie: lunawactl upgrade [--yes]"));
        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        session->requireFunctions({QStringLiteral("Prawa dostepu")});
        const bool yes = ctx.options.isSet(QStringLiteral("yes"));
        session->prompts.answerYesNo(upgrade::question(), yes, QStringLiteral("--yes"));
        switch (upgrade::run(session->db(), session->prompts)) {
        case upgrade::Outcome::Declined:
            ctx.err << QStringLiteral("Baza nie została zaktualizowana; aktualizację potwierdza opcja --yes\n");
            return int(Failed);
        case upgrade::Outcome::Failed:
            return int(Failed);
        default:
            ctx.out << QStringLiteral("Wersja schematu bazy: %1\n").arg(schemaversion::read(session->db()));
            return int(Success);
        }
    });
}

const Registration upgradeCommand{{
    QStringLiteral("upgrade"),
    QStringLiteral("upgrade [--yes]"),
    runUpgrade,
    {QCommandLineOption(QStringLiteral("yes"), QStringLiteral("Odpowiada Tak na pytania polecenia"))},
}};

}  // namespace

}  // namespace cli
