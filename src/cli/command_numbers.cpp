#include "cli.h"

#include "fees/evaluator.h"
#include "printouts/amount_in_words.h"
#include "store/money.h"

#include <QTextStream>

namespace cli {

int runEval(Context& ctx)
{
    if (ctx.arguments.size() != 1) {
        ctx.err << QStringLiteral("Użycie: lunawactl eval WYRAŻENIE [--decimals D]\n");
        return Usage;
    }
    int decimals = 4;
    if (ctx.options.isSet(QStringLiteral("decimals"))) {
        bool ok = false;
        decimals = ctx.options.value(QStringLiteral("decimals")).toInt(&ok);
        if (!ok || decimals < 0 || decimals > 10) {
            ctx.err << QStringLiteral("Liczba miejsc po przecinku musi być liczbą od 0 do 10\n");
            return Usage;
        }
    }
    ctx.out << fees::formatShortest(fees::evaluate(ctx.arguments.first(), decimals)) << '\n';
    return Success;
}

int runWords(Context& ctx)
{
    if (ctx.arguments.size() != 1) {
        ctx.err << QStringLiteral("Użycie: lunawactl words KWOTA\n");
        return Usage;
    }
    const auto amount = money::parse(ctx.arguments.first());
    if (!amount) {
        ctx.err << QStringLiteral("Niepoprawna kwota: %1\n").arg(ctx.arguments.first());
        return Usage;
    }
    ctx.out << printouts::amountInWords(*amount) << '\n';
    return Success;
}

}  // namespace cli
