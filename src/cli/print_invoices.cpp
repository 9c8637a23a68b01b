// lunawactl print invoices: the invoices and corrections of a month on a
// template of type 4, through the same printout as the dialog.

#include "cli.h"
#include "option_values.h"
#include "print_kinds.h"

#include "printouts/invoice_printout.h"
#include "store/database.h"

#include <QTextStream>

namespace cli {

namespace {

const QString synopsis = QStringLiteral(
    "invoices --month RRRR-MM [--template NAZWA] [--copy \"Oryginał\"|\"Kopia\"|\"Oryginał - duplikat\"|"
    "\"Kopia - duplikat\"] [--groups K,...] [--inactive] [--children K,...] [--child K] (--pdf PLIK | --export PLIK)");

int runInvoices(Context& ctx)
{
    if (!ctx.arguments.isEmpty())
        throw UsageError(QStringLiteral("Użycie: lunawactl print ") + synopsis);
    const YearMonth month = parseMonth(requiredOption(ctx, QStringLiteral("month")), QStringLiteral("--month"));
    printouts::InvoiceSelection selection;
    if (const auto copy = optionValue(ctx, QStringLiteral("copy"))) {
        if (!printouts::copyLabels().contains(*copy))
            throw UsageError(QStringLiteral("Opcja --copy: jedno z: %1").arg(printouts::copyLabels().join(QStringLiteral(", "))));
        selection.copyLabel = *copy;
    }
    if (const auto child = optionValue(ctx, QStringLiteral("child")))
        selection.child = parseCode(*child, QStringLiteral("--child"));
    selection.groups = optionCodes(ctx, QStringLiteral("groups"));
    selection.chosen = optionCodes(ctx, QStringLiteral("children"));
    selection.inactive = ctx.options.isSet(QStringLiteral("inactive"));

    int status = Success;
    auto session = openSession(ctx, status);
    if (!session)
        return status;
    Database& db = *session->db;
    const std::optional<int> code = printouts::monthCode(db, month.year, month.month);
    if (!code) {
        ctx.err << QStringLiteral("Nie ma miesiąca %1-%2\n").arg(month.year).arg(month.month, 2, 10, QLatin1Char('0'));
        return Failed;
    }
    selection.month = *code;

    std::optional<printouts::BuiltTemplate> built;
    if (!templateOption(ctx, db, printouts::TemplateType::Invoices, QStringLiteral("Nie ma szablonu faktur „%1”"),
                        built))
        return Failed;
    const auto job = printouts::makeInvoicesJob(db, selection, built ? &*built : nullptr);
    return writePrintOutput(ctx, *job);
}

const PrintKindRegistration invoices{{
    QStringLiteral("invoices"),
    synopsis,
    [](Context& ctx) { return runInvoices(ctx); },
}};

}  // namespace

}  // namespace cli
