#include "cli.h"

#include "printouts/delivered_templates.h"
#include "store/database.h"
#include "store/rights.h"
#include "store/store_creator.h"
#include "store/store_location.h"

#include <QTextStream>

namespace cli {

int runInit(Context& ctx)
{
    if (ctx.arguments.size() != 1) {
        ctx.err << QStringLiteral("Użycie: lunawactl init DIR|URI [--name TEXT] [--address TEXT] [--client N] [--nip TEXT]\n");
        return Usage;
    }
    InstitutionData inst;
    inst.name = ctx.options.value(QStringLiteral("name"));
    inst.address = ctx.options.value(QStringLiteral("address"));
    inst.nip = ctx.options.value(QStringLiteral("nip"));
    if (ctx.options.isSet(QStringLiteral("client"))) {
        bool ok = false;
        inst.clientNumber = ctx.options.value(QStringLiteral("client")).toInt(&ok);
        if (!ok || inst.clientNumber < 0) {
            ctx.err << QStringLiteral("Kod klienta musi być liczbą całkowitą: %1\n").arg(ctx.options.value(QStringLiteral("client")));
            return Usage;
        }
    }
    const StoreLocation location = StoreLocation::parse(ctx.arguments.first());
    store::create(location, inst);
    {
        Database db(location);
        db.setCredentials({rights::masterCredential()});
        db.open();
        printouts::addDeliveredTemplates(db);
    }
    ctx.out << QStringLiteral("Utworzono bazę danych: %1\n").arg(location.describe());
    return Success;
}

}  // namespace cli
