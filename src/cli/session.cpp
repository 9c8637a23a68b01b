#include "cli.h"

#include "shell/tdm_ochrona.h"
#include "store/database.h"

#include <QTextStream>

namespace cli {

Session::~Session() = default;

bool readLoginOptions(Context& ctx, LoginOptions& login, int& status)
{
    login.user = ctx.options.isSet(QStringLiteral("user")) ? ctx.options.value(QStringLiteral("user"))
                                                           : qEnvironmentVariable("LUNAWA_USER");
    login.password = ctx.options.isSet(QStringLiteral("password")) ? ctx.options.value(QStringLiteral("password"))
                                                                   : qEnvironmentVariable("LUNAWA_PASSWORD");
    if (login.user.isEmpty()) {
        ctx.err << QStringLiteral("Brak opcji --user (albo zmiennej LUNAWA_USER): polecenie wymaga zalogowania\n");
        status = Usage;
        return false;
    }
    return true;
}

bool logIn(Context& ctx, TDMOchrona& security, const LoginOptions& login, int& status)
{
    if (security.login(login.user, login.password))
        return true;
    ctx.err << QStringLiteral("Autoryzacja negatywna\n");
    status = LoginFailed;
    return false;
}

std::unique_ptr<Session> openSession(Context& ctx, int& status)
{
    LoginOptions login;
    if (!readLoginOptions(ctx, login, status))
        return nullptr;
    auto s = std::make_unique<Session>();
    s->db = std::make_unique<Database>(resolveStore(ctx));
    s->db->open();
    s->security = std::make_unique<TDMOchrona>(*s->db);
    if (!logIn(ctx, *s->security, login, status))
        return nullptr;
    status = Success;
    return s;
}

}  // namespace cli
