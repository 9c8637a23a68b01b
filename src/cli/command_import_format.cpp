// lunawactl import-format list|show NAME: the delivered bank formats, as
// the configuration window inserts them.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "import/bank_formats.h"

#include <QTextStream>

namespace cli {

namespace {

const QString usage = QStringLiteral("Użycie: lunawactl import-format list|show NAZWA");

int runImportFormat(Context& ctx)
{
    return guarded(ctx, [&] {
        const QString what = ctx.arguments.value(0);
        if (what == QLatin1String("list") && ctx.arguments.size() == 1) {
            for (const import::BankFormat& f : import::bankFormats())
                ctx.out << f.key << '\t' << f.title << '\n';
            ctx.out.flush();
            return int(Success);
        }
        if (what == QLatin1String("show") && ctx.arguments.size() == 2) {
            const import::BankFormat* f = import::bankFormat(ctx.arguments[1]);
            if (!f) {
                ctx.err << QStringLiteral("Nie ma formatu banku „%1” (lista: lunawactl import-format list)")
                               .arg(ctx.arguments[1])
                        << '\n';
                ctx.err.flush();
                return int(Failed);
            }
            ctx.out << import::bankSection(*f);
            ctx.out.flush();
            return int(Success);
        }
        throw UsageError(usage);
    });
}

const Registration importFormatCommand{{
    QStringLiteral("import-format"),
    QStringLiteral("import-format list|show NAZWA"),
    runImportFormat,
}};

}  // namespace

}  // namespace cli
