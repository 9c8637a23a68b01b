// lunawactl print confirmation: one payment's confirmation on a template of
// type 3, through the same printout as the dialog.

#include "cli.h"
#include "option_values.h"
#include "print_kinds.h"

#include "printouts/payment_confirmation.h"
#include "store/database.h"

#include <QTextStream>

namespace cli {

namespace {

const QString synopsis =
    QStringLiteral("confirmation --payment ID [--template NAZWA] (--pdf PLIK | --export PLIK)");

int runConfirmation(Context& ctx)
{
    if (!ctx.arguments.isEmpty())
        throw UsageError(QStringLiteral("Użycie: lunawactl print ") + synopsis);
    const int payment = parseCode(requiredOption(ctx, QStringLiteral("payment")), QStringLiteral("--payment"));

    int status = Success;
    auto session = openSession(ctx, status);
    if (!session)
        return status;
    Database& db = *session->db;

    std::optional<printouts::BuiltTemplate> built;
    if (!templateOption(ctx, db, printouts::TemplateType::Confirmations, QStringLiteral("Nie ma szablonu potwierdzeń wpłat „%1”"),
                        built))
        return Failed;
    const auto job = printouts::makeConfirmationJob(db, payment, built ? &*built : nullptr);
    return writePrintOutput(ctx, *job);
}

const PrintKindRegistration confirmation{{
    QStringLiteral("confirmation"),
    synopsis,
    [](Context& ctx) { return runConfirmation(ctx); },
}};

}  // namespace

}  // namespace cli
