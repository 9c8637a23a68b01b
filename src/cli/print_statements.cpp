// lunawactl print statements: the settlement statement of a month on a
// template of type 2, through the same printout as the dialog.

#include "cli.h"
#include "option_values.h"
#include "print_kinds.h"

#include "printouts/invoice_printout.h"
#include "printouts/statement_printout.h"
#include "store/database.h"
#include "store/money.h"
#include "store/query.h"

#include <QCoreApplication>
#include <QTextStream>

namespace cli {

namespace {

const QString synopsis = QStringLiteral(
    "statements --month RRRR-MM [--template NAZWA] [--day RRRR-MM-DD] [--mode 0..4] [--fee-group NAZWA] "
    "[--history-from RRRR-MM] [--unapproved] [--no-payments] [--confirmations] [--pesel] [--sum] [--extra] "
    "[--debt-over KWOTA] [--sort alphabetical|defined] [--without-help-centre] [--groups K,...] [--children K,...] "
    "[--child K] [--inactive] (--pdf PLIK | --export PLIK)");

// "--sum" is a flag here while the grid printout's takes a field name: the
// command line is read again with the flag given a value.
void readSumAsFlag(Context& ctx)
{
    QStringList args = QCoreApplication::arguments();
    if (!args.contains(QStringLiteral("--sum")))
        return;
    for (QString& a : args)
        if (a == QLatin1String("--sum"))
            a = QStringLiteral("--sum=T");
    if (!ctx.options.parse(args))
        throw UsageError(ctx.options.errorText());
    QStringList positional = ctx.options.positionalArguments();
    // "print" and "statements" come before the kind's own arguments.
    ctx.arguments = positional.mid(2);
}

int runStatements(Context& ctx)
{
    readSumAsFlag(ctx);
    if (!ctx.arguments.isEmpty())
        throw UsageError(QStringLiteral("Użycie: lunawactl print ") + synopsis);
    const YearMonth month = parseMonth(requiredOption(ctx, QStringLiteral("month")), QStringLiteral("--month"));
    printouts::StatementOptions o;
    if (const auto day = optionValue(ctx, QStringLiteral("day")))
        o.day = parseDate(*day, QStringLiteral("--day"));
    if (const auto mode = optionValue(ctx, QStringLiteral("mode"))) {
        const int m = parseCode(*mode, QStringLiteral("--mode"));
        if (m < 0 || m > 4)
            throw UsageError(QStringLiteral("Opcja --mode: liczba od 0 do 4"));
        o.mode = printouts::SettlementMode(m);
    }
    if (const auto from = optionValue(ctx, QStringLiteral("history-from"))) {
        const YearMonth h = parseMonth(*from, QStringLiteral("--history-from"));
        o.historyFrom = h.year * 100 + h.month;
    }
    o.unapproved = ctx.options.isSet(QStringLiteral("unapproved"));
    o.payments = !ctx.options.isSet(QStringLiteral("no-payments"));
    o.confirmations = ctx.options.isSet(QStringLiteral("confirmations"));
    o.pesel = ctx.options.isSet(QStringLiteral("pesel"));
    o.sum = ctx.options.isSet(QStringLiteral("sum"));
    o.extra = ctx.options.isSet(QStringLiteral("extra"));
    if (const auto debt = optionValue(ctx, QStringLiteral("debt-over"))) {
        const std::optional<double> amount = money::parse(*debt);
        if (!amount || *amount < 0 || *amount > 1000000)
            throw UsageError(QStringLiteral("Opcja --debt-over: kwota od 0 do 1000000"));
        o.debtOver = *amount;
    }
    if (const auto sort = optionValue(ctx, QStringLiteral("sort"))) {
        if (*sort != QLatin1String("alphabetical") && *sort != QLatin1String("defined"))
            throw UsageError(QStringLiteral("Opcja --sort: alphabetical albo defined"));
        o.definedSort = *sort == QLatin1String("defined");
    } else {
        o.definedSort = true;  // the dialog's default
    }
    o.withoutHelpCentre = ctx.options.isSet(QStringLiteral("without-help-centre"));
    if (const auto child = optionValue(ctx, QStringLiteral("child")))
        o.child = parseCode(*child, QStringLiteral("--child"));
    o.groups = optionCodes(ctx, QStringLiteral("groups"));
    o.chosen = optionCodes(ctx, QStringLiteral("children"));
    o.chosenFilter = o.chosen.has_value();
    o.inactive = ctx.options.isSet(QStringLiteral("inactive"));

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
    o.month = *code;
    if (o.historyFrom)
        o.historyFrom = printouts::clampHistoryStart(*o.historyFrom, printouts::earliestHistoryStart(db, o.month));
    if (o.groups) {
        Query q(db, QStringLiteral("select KOD, NAZWA from KLASY order by KOLEJ"));
        q.exec();
        while (q.next())
            if (o.groups->contains(q.value(0).toInt()))
                o.groupNames << q.value(1).toString();
    }

    std::optional<printouts::BuiltTemplate> built;
    if (!templateOption(ctx, db, printouts::TemplateType::Statements, QStringLiteral("Nie ma szablonu zestawień „%1”"),
                        built))
        return Failed;
    const bool landscape = printouts::isLandscapeStatement(built ? &*built : nullptr);
    if (landscape && !o.child && o.feeGroupMode()) {
        const auto name = optionValue(ctx, QStringLiteral("fee-group"));
        if (!name)
            throw UsageError(QStringLiteral("Tryb %1 wymaga opcji --fee-group NAZWA").arg(int(o.mode)));
        Query q(db, QStringLiteral("select KOD from GRUPYOP where NAZWA=:N"));
        q.bind(QStringLiteral("N"), *name).exec();
        if (!q.next()) {
            ctx.err << QStringLiteral("Nie ma grupy opłat „%1”\n").arg(*name);
            return Failed;
        }
        o.feeGroup = q.value(0).toInt();
    }
    const auto job = printouts::makeStatementsJob(db, o, built ? &*built : nullptr);
    return writePrintOutput(ctx, *job);
}

const PrintKindRegistration statements{{
    QStringLiteral("statements"),
    synopsis,
    [](Context& ctx) { return runStatements(ctx); },
}};

}  // namespace

}  // namespace cli
