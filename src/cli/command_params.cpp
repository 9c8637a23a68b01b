#include "cli.h"

#include "store/params.h"

#include <QTextStream>

namespace cli {

int runParams(Context& ctx)
{
    if (!ctx.arguments.isEmpty()) {
        ctx.err << QStringLiteral("Użycie: lunawactl params\n");
        return Usage;
    }
    int status = Success;
    auto session = openSession(ctx, status);
    if (!session)
        return status;
    Parameters params;
    params.load(*session->db);
    for (const auto& [key, value] : params.listing())
        ctx.out << key << '=' << value << '\n';
    return Success;
}

}  // namespace cli
