// lunawactl charge-run and approve: the month's charge run, computing or
// approving, with the prompts of the run answered from the options.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "fees/charge_run.h"

#include <QTextStream>

namespace cli {

namespace {

// Who the run covers: one child, or the active children of the groups.
fees::ChargeChildren chosenChildren(const Context& ctx, OptionPrompts& prompts)
{
    const auto groups = optionList(ctx, QStringLiteral("groups"));
    if (auto child = optionValue(ctx, QStringLiteral("child"))) {
        if (groups)
            throw UsageError(QStringLiteral("Opcje --child i --groups wykluczają się"));
        return fees::ChargeChildren::child(parseCode(*child, QStringLiteral("--child")));
    }
    prompts.answerChecks(QStringLiteral("Wybierz grupy"), groups, QStringLiteral("--groups"));
    return fees::ChargeChildren::byGroups();
}

int report(Context& ctx, const fees::ChargeRunResult& result)
{
    for (const QString& e : result.errors)
        ctx.out << QStringLiteral("Błąd: ") << QString(e).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
    for (const QString& r : result.remarks)
        ctx.out << QStringLiteral("Uwaga: ") << QString(r).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
    ctx.out.flush();
    if (result.completed)
        return Success;
    // A stopping error has been shown through the prompts already.
    if (result.stopError.isEmpty())
        ctx.err << QStringLiteral("Operacja przerwana") << '\n';
    return Failed;
}

int runChargeRun(Context& ctx)
{
    return guarded(ctx, [&] {
        if (!ctx.arguments.isEmpty())
            throw UsageError(QStringLiteral("Użycie: lunawactl charge-run --month RRRR-MM [--settle RRRR-MM] "
                                            "[--components K,...] [--groups K,...] [--child K]"));
        const YearMonth month = parseMonth(requiredOption(ctx, QStringLiteral("month")), QStringLiteral("--month"));
        std::optional<YearMonth> settle;
        if (auto s = optionValue(ctx, QStringLiteral("settle")))
            settle = parseMonth(*s, QStringLiteral("--settle"));

        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        session->requireFunctions({QStringLiteral("Rozrachunki"), QStringLiteral("Oplaty wyliczone")});
        OptionPrompts& prompts = session->prompts;
        prompts.answerChecks(QStringLiteral("Wybierz składniki opłat"), optionList(ctx, QStringLiteral("components")),
                             QStringLiteral("--components"));
        // "OK" settles the month before; "Inny" asks for the settled month.
        if (settle && !(*settle == month.previous())) {
            prompts.answerChoice(QStringLiteral("Naliczanie, rozliczanie"), -2, QStringLiteral("--settle"));
            prompts.answerMonth(QStringLiteral("Rozliczanie"), qMakePair(settle->year, settle->month),
                                QStringLiteral("--settle"));
        } else {
            prompts.answerChoice(QStringLiteral("Naliczanie, rozliczanie"), -1, QStringLiteral("--settle"));
        }
        // A settled month never approved: the run goes on and says so in its remarks.
        const YearMonth settled = settle ? *settle : month.previous();
        prompts.answerYesNo(fees::unapprovedSettledQuestion(settled.year, settled.month), true);
        const fees::ChargeChildren children = chosenChildren(ctx, prompts);
        if (children.oneChild != 0)
            session->requireChild(children.oneChild);
        return report(ctx, fees::runCharges(*session->context, fees::ChargeOperation::Compute, month.year,
                                            month.month, children));
    });
}

int runApprove(Context& ctx)
{
    return guarded(ctx, [&] {
        if (!ctx.arguments.isEmpty())
            throw UsageError(QStringLiteral("Użycie: lunawactl approve --month RRRR-MM [--issue-date RRRR-MM-DD] "
                                            "[--due-date RRRR-MM-DD] [--title TEKST] [--components K,...] "
                                            "[--groups K,...] [--child K]"));
        const YearMonth month = parseMonth(requiredOption(ctx, QStringLiteral("month")), QStringLiteral("--month"));
        std::optional<QDate> issue, due;
        if (auto d = optionValue(ctx, QStringLiteral("issue-date")))
            issue = parseDate(*d, QStringLiteral("--issue-date"));
        if (auto d = optionValue(ctx, QStringLiteral("due-date")))
            due = parseDate(*d, QStringLiteral("--due-date"));
        const std::optional<QString> title = optionValue(ctx, QStringLiteral("title"));

        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        session->requireFunctions({QStringLiteral("Rozrachunki"), QStringLiteral("Oplaty zatwierdzone")});
        OptionPrompts& prompts = session->prompts;
        prompts.answerChecks(QStringLiteral("Wybierz składniki opłat"), optionList(ctx, QStringLiteral("components")),
                             QStringLiteral("--components"));
        const QString approving = QStringLiteral("Zatwierdzanie opłat");
        prompts.answerDate(approving, QStringLiteral("Wybierz datę wystawienia"), issue, QStringLiteral("--issue-date"));
        prompts.answerDate(approving, QStringLiteral("Wybierz termin płatności"), due, QStringLiteral("--due-date"));
        prompts.answerText(approving, QStringLiteral("Wybierz opis faktur"), title, QStringLiteral("--title"));
        const fees::ChargeChildren children = chosenChildren(ctx, prompts);
        if (children.oneChild != 0)
            session->requireChild(children.oneChild);
        return report(ctx, fees::runCharges(*session->context, fees::ChargeOperation::Approve, month.year,
                                            month.month, children));
    });
}

const QList<QCommandLineOption> selectionOptions{
    {QStringLiteral("month"), QStringLiteral("Miesiąc RRRR-MM."), QStringLiteral("RRRR-MM")},
    {QStringLiteral("components"), QStringLiteral("Kody składników opłat, po przecinku."), QStringLiteral("K,...")},
    {QStringLiteral("groups"), QStringLiteral("Kody grup, po przecinku."), QStringLiteral("K,...")},
    {QStringLiteral("child"), QStringLiteral("Kod dziecka."), QStringLiteral("KOD")},
};

const Registration chargeRun{{
    QStringLiteral("charge-run"),
    QStringLiteral("charge-run --month RRRR-MM [--settle RRRR-MM] [--components K,...] [--groups K,...] [--child K]"),
    runChargeRun,
    QList<QCommandLineOption>(selectionOptions)
        << QCommandLineOption(QStringLiteral("settle"), QStringLiteral("Miesiąc rozliczany RRRR-MM."),
                              QStringLiteral("RRRR-MM")),
}};

const Registration approve{{
    QStringLiteral("approve"),
    QStringLiteral("approve --month RRRR-MM [--issue-date RRRR-MM-DD] [--due-date RRRR-MM-DD] [--title TEKST] "
                   "[--components K,...] [--groups K,...] [--child K]"),
    runApprove,
    QList<QCommandLineOption>(selectionOptions)
        << QCommandLineOption(QStringLiteral("issue-date"), QStringLiteral("Data wystawienia faktur."),
                              QStringLiteral("RRRR-MM-DD"))
        << QCommandLineOption(QStringLiteral("due-date"), QStringLiteral("Termin płatności."),
                              QStringLiteral("RRRR-MM-DD"))
        << QCommandLineOption(QStringLiteral("title"), QStringLiteral("Opis faktur (Tytułem)."),
                              QStringLiteral("TEKST")),
}};

}  // namespace

}  // namespace cli
