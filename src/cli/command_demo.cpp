// lunawactl demo: a new store filled with a demonstration kindergarten.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "shell/demo_store.h"
#include "store/store_location.h"

#include <QTextStream>

namespace cli {

namespace {

int runDemo(Context& ctx)
{
    return guarded(ctx, [&] {
        if (ctx.arguments.size() != 1)
            throw UsageError(QStringLiteral("Użycie: lunawactl demo DIR|URI"));
        const StoreLocation location = StoreLocation::parse(ctx.arguments.first());
        const demo::DemoSummary s = demo::createDemoStore(location);
        ctx.out << QStringLiteral("Utworzono bazę demonstracyjną: %1\n").arg(location.describe())
                << QStringLiteral("Grupy: %1, dzieci: %2, obecności: %3, naliczenia: %4, faktury: %5, wpłaty: %6\n")
                       .arg(s.groups)
                       .arg(s.children)
                       .arg(s.attendanceRows)
                       .arg(s.chargeLines)
                       .arg(s.invoices)
                       .arg(s.payments)
                << QStringLiteral("Zajęcia odbyte: %1, naliczenia dodatkowe: %2, zgłoszenia: %3, terminy: %4, "
                                  "jadłospisy: %5, wejścia rodziców: %6\n")
                       .arg(s.heldClasses)
                       .arg(s.extraCharges)
                       .arg(s.requests)
                       .arg(s.deadlines)
                       .arg(s.meals)
                       .arg(s.webLogins);
        for (const QString& e : s.errors)
            ctx.out << QStringLiteral("Błąd: ") << e << '\n';
        for (const QString& r : s.remarks)
            ctx.out << QStringLiteral("Uwaga: ") << r << '\n';
        return int(Success);
    });
}

const Registration demoCommand{{QStringLiteral("demo"), QStringLiteral("demo DIR|URI"), runDemo}};

}  // namespace

}  // namespace cli
