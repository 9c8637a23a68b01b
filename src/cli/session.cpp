#include "cli.h"

#include "shell/tdm_ochrona.h"
#include "store/database.h"

#include <QTextStream>

namespace cli {

Session::~Session() = default;

std::unique_ptr<Session> openSession(Context& ctx, int& status)
{
    const QString user = ctx.options.isSet(QStringLiteral("user")) ? ctx.options.value(QStringLiteral("user"))
                                                                   : qEnvironmentVariable("LUNAWA_USER");
    const QString password = ctx.options.isSet(QStringLiteral("password"))
        ? ctx.options.value(QStringLiteral("password"))
        : qEnvironmentVariable("LUNAWA_PASSWORD");
    if (user.isEmpty()) {
        ctx.err << QStringLiteral("Brak opcji --user (albo zmiennej LUNAWA_USER): polecenie wymaga zalogowania\n");
        status = Usage;
        return nullptr;
    }
    auto s = std::make_unique<Session>();
    s->db = std::make_unique<Database>(resolveStore(ctx));
    s->db->open();
    s->security = std::make_unique<TDMOchrona>(*s->db);
    if (!s->security->login(user, password)) {
        ctx.err << QStringLiteral("Autoryzacja negatywna\n");
        status = LoginFailed;
        return nullptr;
    }
    status = Success;
    return s;
}

}  // namespace cli
