#include "module_session.h"

#include "cli.h"
#include "option_values.h"
#include "shell/access_rules.h"
#include "shell/tdm_ochrona.h"
#include "store/database.h"
#include "store/error.h"
#include "store/institution.h"
#include "store/params.h"
#include "store/query.h"
#include "store/tdm_baza.h"

#include <QTextStream>

namespace cli {

namespace {

// An installation holding one group received from another numbers its
// children itself, not by the store; it grants less, as the window does.
bool oneGroupStore(Database& db)
{
    for (const StoreField& f : db.fields(QStringLiteral("DZIECI")))
        if (f.name == QLatin1String("KOD"))
            return !f.autoInc && (f.type == FieldType::Integer || f.type == FieldType::SmallInt);
    return false;
}

}  // namespace

void NoWindows::browse(TDMDane&, DataSet&, const QString& title, ::Command*)
{
    throw Error(QStringLiteral("Polecenie nie otwiera okien: %1").arg(title));
}

bool NoWindows::closeOwnedBy(::Command*)
{
    return false;
}

ModuleSession::ModuleSession(QTextStream& out, QTextStream& err) : prompts(out, err) {}

ModuleSession::~ModuleSession() = default;

Database& ModuleSession::db()
{
    return baza->database();
}

void ModuleSession::requireFunctions(const QStringList& functionNames) const
{
    for (const QString& f : functionNames)
        if (!context->login.functions.contains(f))
            throw Error(QStringLiteral("Brak dostępu do funkcji „%1”").arg(f));
}

void ModuleSession::requireChild(int child)
{
    Query q(db(), QStringLiteral("select KLASA from DZIECI where KOD = :K"));
    q.bind(QStringLiteral("K"), child).exec();
    if (!q.next())
        throw Error(QStringLiteral("Nie ma dziecka o kodzie %1").arg(child));
    const QVariant group = q.value(0);
    if (!permissions::groupVisible(context->login.visibleGroups, group.isNull() ? QString() : group.toString()))
        throw Error(QStringLiteral("Brak dostępu do dziecka o kodzie %1").arg(child));
}

std::unique_ptr<ModuleSession> openModuleSession(Context& ctx, int& status)
{
    LoginOptions login;
    if (!readLoginOptions(ctx, login, status))
        return nullptr;
    auto s = std::make_unique<ModuleSession>(ctx.out, ctx.err);
    s->baza = std::make_unique<TDMBaza>(resolveStore(ctx));
    s->security = std::make_unique<TDMOchrona>(s->baza->database());
    if (!logIn(ctx, *s->security, login, status))
        return nullptr;
    s->context = std::make_unique<RunContext>(RunContext{*s->baza, s->prompts, s->opener, s->areas,
                                                         s->security->current(), Parameters{}, Institution{},
                                                         RunSettings{}, &s->messages});
    if (oneGroupStore(s->db())) {
        s->context->settings.oneGroupMode = true;
        s->context->login.functions = permissions::narrowToOneGroup(s->context->login.functions);
    }
    s->context->institution = Institution::read(s->db());
    s->context->params.load(s->db());
    status = Success;
    return s;
}

int guarded(Context& ctx, const std::function<int()>& body)
{
    try {
        return body();
    } catch (const UsageError& e) {
        ctx.out.flush();
        ctx.err << e.message() << '\n';
        return Usage;
    }
}

}  // namespace cli
