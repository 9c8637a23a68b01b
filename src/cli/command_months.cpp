// lunawactl month-add, balance and undo-approval: the settlement months
// services of the months window.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "fees/settlement_months.h"
#include "store/error.h"
#include "store/query.h"

#include <QTextStream>

namespace cli {

namespace {

QString monthText(const YearMonth& ym)
{
    return QStringLiteral("%1-%2").arg(ym.year).arg(ym.month, 2, 10, QLatin1Char('0'));
}

int runMonthAdd(Context& ctx)
{
    return guarded(ctx, [&] {
        if (ctx.arguments.size() != 1)
            throw UsageError(QStringLiteral("Użycie: lunawactl month-add RRRR-MM [--all-free]"));
        const YearMonth ym = parseMonth(ctx.arguments.first(), QStringLiteral("RRRR-MM"));
        const bool allFree = ctx.options.isSet(QStringLiteral("all-free"));
        if (allFree && ym.month != 7 && ym.month != 8)
            throw UsageError(QStringLiteral("Opcja --all-free dotyczy tylko lipca i sierpnia"));

        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        session->requireFunctions({QStringLiteral("Rozrachunki")});
        if (fees::monthKod(session->db(), ym.year, ym.month) != 0) {
            ctx.err << fees::monthExistsMessage(ym.year, ym.month) << '\n';
            return int(Failed);
        }
        session->prompts.answerYesNo(fees::wholeMonthFreeQuestion(), allFree, QStringLiteral("--all-free"));
        const int kod = fees::addMonth(*session->context, ym.year, ym.month);
        if (kod == 0)
            throw Error(fees::monthExistsMessage(ym.year, ym.month));
        ctx.out << QStringLiteral("KOD=%1\n").arg(kod)
                << QStringLiteral("DNIWOLNE=%1\n").arg(fees::freeDaysOf(session->db(), ym.year, ym.month));
        return int(Success);
    });
}

int runBalance(Context& ctx)
{
    return guarded(ctx, [&] {
        if (!ctx.arguments.isEmpty())
            throw UsageError(QStringLiteral("Użycie: lunawactl balance --child KOD --month RRRR-MM"));
        const int child = parseCode(requiredOption(ctx, QStringLiteral("child")), QStringLiteral("--child"));
        const YearMonth ym = parseMonth(requiredOption(ctx, QStringLiteral("month")), QStringLiteral("--month"));
        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        session->requireFunctions({QStringLiteral("Rozrachunki")});
        session->requireChild(child);
        ctx.out << fees::balanceText(fees::childBalance(session->db(), child, ym.year, ym.month)) << '\n';
        return int(Success);
    });
}

int runUndoApproval(Context& ctx)
{
    return guarded(ctx, [&] {
        if (!ctx.arguments.isEmpty())
            throw UsageError(QStringLiteral("Użycie: lunawactl undo-approval --month RRRR-MM [--child KOD]"));
        const YearMonth ym = parseMonth(requiredOption(ctx, QStringLiteral("month")), QStringLiteral("--month"));
        int child = 0;
        if (auto c = optionValue(ctx, QStringLiteral("child")))
            child = parseCode(*c, QStringLiteral("--child"));
        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        session->requireFunctions({QStringLiteral("Rozrachunki"), QStringLiteral("Oplaty zatwierdzone")});
        Database& db = session->db();
        if (child != 0)
            session->requireChild(child);
        const int kod = fees::monthKod(db, ym.year, ym.month);
        if (kod == 0)
            throw Error(QStringLiteral("Nie ma miesiąca rozrachunkowego %1").arg(monthText(ym)));
        // Running the command is the user's confirmation.
        session->prompts.answerYesNo(fees::invoicedLinesQuestion(), true);
        session->prompts.answerYesNo(fees::undoConfirmation(), true);
        return int(fees::undoApproval(*session->context, kod, child) ? Success : Failed);
    });
}

const Registration monthAdd{{
    QStringLiteral("month-add"),
    QStringLiteral("month-add RRRR-MM [--all-free]"),
    runMonthAdd,
    {{QStringLiteral("all-free"), QStringLiteral("Lipiec lub sierpień całkowicie wolny od pracy.")}},
}};

const Registration balance{{
    QStringLiteral("balance"),
    QStringLiteral("balance --child KOD --month RRRR-MM"),
    runBalance,
    {
        {QStringLiteral("child"), QStringLiteral("Kod dziecka."), QStringLiteral("KOD")},
        {QStringLiteral("month"), QStringLiteral("Miesiąc RRRR-MM."), QStringLiteral("RRRR-MM")},
    },
}};

const Registration undoApproval{{
    QStringLiteral("undo-approval"),
    QStringLiteral("undo-approval --month RRRR-MM [--child KOD]"),
    runUndoApproval,
    {
        {QStringLiteral("month"), QStringLiteral("Miesiąc RRRR-MM."), QStringLiteral("RRRR-MM")},
        {QStringLiteral("child"), QStringLiteral("Kod dziecka."), QStringLiteral("KOD")},
    },
}};

}  // namespace

}  // namespace cli
