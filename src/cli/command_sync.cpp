// lunawactl sync, sync-config and sync-logins: the exchange with the
// parents' web service, run by the same protocol code as the window.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "store/error.h"
#include "store/query.h"
#include "sync/http_transport.h"
#include "sync/service_address.h"
#include "sync/sync_modes.h"
#include "sync/sync_session.h"

#include <QTextStream>

namespace cli {

namespace {

// Failed requests are answered from --on-error; each is printed.
class SyncPrompts : public OptionPrompts {
public:
    SyncPrompts(QTextStream& out, QTextStream& err, bool ignore) : OptionPrompts(out, err), m_err(err), m_ignore(ignore) {}

    int askChoice(const QString& title, const QString& message, const QStringList& buttons, ChoiceIcon icon) override
    {
        if (title != QStringLiteral("Błąd"))
            return OptionPrompts::askChoice(title, message, buttons, icon);
        m_err << message << '\n';
        m_err.flush();
        failure = message;
        return m_ignore ? -3 : -1;
    }

    QString failure;

private:
    QTextStream& m_err;
    bool m_ignore;
};

struct Exchange {
    std::unique_ptr<ModuleSession> session;
    std::unique_ptr<SyncPrompts> prompts;
    std::unique_ptr<HttpTransport> transport;
    std::unique_ptr<SyncSession> sync;
    std::unique_ptr<websync::Synchronizer> synchronizer;
};

// Opens the store with the login and connects the protocol to the address.
std::unique_ptr<Exchange> openExchange(Context& ctx, int& status)
{
    const QString onError = optionValue(ctx, QStringLiteral("on-error")).value_or(QStringLiteral("abort"));
    if (onError != QLatin1String("abort") && onError != QLatin1String("ignore"))
        throw UsageError(QStringLiteral("--on-error: abort albo ignore"));
    auto ex = std::make_unique<Exchange>();
    ex->session = openModuleSession(ctx, status);
    if (!ex->session)
        return nullptr;
    ex->session->requireFunctions({QStringLiteral("Internet")});
    const QString address =
        optionValue(ctx, QStringLiteral("address")).value_or(service_address::load(ex->session->db()));
    if (address.trimmed().isEmpty())
        throw Error(service_address::missingMessage());
    ex->prompts = std::make_unique<SyncPrompts>(ctx.out, ctx.err, onError == QLatin1String("ignore"));
    ex->transport = std::make_unique<HttpTransport>();
    if (auto t = optionValue(ctx, QStringLiteral("timeout")))
        ex->transport->setTimeout(parseCode(*t, QStringLiteral("--timeout")) * 1000);
    ex->sync = std::make_unique<SyncSession>(*ex->transport, *ex->prompts, service_address::toUrl(address));
    ex->sync->onAction = [&ctx](const QString& label) {
        ctx.out << label << '\n';
        ctx.out.flush();
    };
    RunContext& rc = *ex->session->context;
    ex->synchronizer = std::make_unique<websync::Synchronizer>(
        websync::Environment{rc.db(), rc.params, rc.institution, *ex->prompts}, *ex->sync);
    return ex;
}

int finish(Context& ctx, Exchange& ex, bool ok)
{
    const websync::Summary& s = ex.synchronizer->summary();
    for (const QString& skipped : s.skipped)
        ctx.err << QStringLiteral("Pominięto: ") << skipped << '\n';
    if (!ok) {
        ctx.err << (ex.prompts->failure.isEmpty() ? QStringLiteral("Przerwano") : ex.prompts->failure) << '\n';
        return Failed;
    }
    // Requests ignored with --on-error ignore were printed; the run did not
    // do all it should, and a script must be able to tell.
    return ex.prompts->failure.isEmpty() ? Success : Failed;
}

int runSync(Context& ctx)
{
    return guarded(ctx, [&] {
        if (!ctx.arguments.isEmpty())
            throw UsageError(QStringLiteral("Użycie: lunawactl sync --web-password HASŁO [--address ADRES] "
                                            "[--start-month RRRR-MM] [--only-requests] [--on-error abort|ignore]"));
        const QString password = requiredOption(ctx, QStringLiteral("web-password"));
        int status = Success;
        auto ex = openExchange(ctx, status);
        if (!ex)
            return status;
        websync::FullOptions options;
        options.onlyRequestsAndInformation = ctx.options.isSet(QStringLiteral("only-requests"));
        options.start = websync::defaultStartMonth(ex->session->db());
        if (auto m = optionValue(ctx, QStringLiteral("start-month"))) {
            const YearMonth ym = parseMonth(*m, QStringLiteral("--start-month"));
            options.start = websync::acceptedStartMonth(ex->session->db(), {ym.year, ym.month});
        }
        ctx.out << QStringLiteral("Miesiąc początkowy: %1-%2\n").arg(options.start.year).arg(options.start.month, 2, 10, QLatin1Char('0'));
        const bool ok = ex->synchronizer->full(password, options);
        const websync::Summary& s = ex->synchronizer->summary();
        ctx.out << QStringLiteral("Pobrano: %1, wysłano: %2, zgłoszeń: %3, żądań: %4\n")
                       .arg(s.downloaded)
                       .arg(s.uploaded)
                       .arg(s.requestsReceived)
                       .arg(ex->sync->requestCount());
        return finish(ctx, *ex, ok);
    });
}

int runSyncConfig(Context& ctx)
{
    return guarded(ctx, [&] {
        const QString verb = ctx.arguments.value(0);
        if (!((verb == QLatin1String("get") && ctx.arguments.size() == 1)
              || (verb == QLatin1String("set") && ctx.arguments.size() == 2)))
            throw UsageError(QStringLiteral("Użycie: lunawactl sync-config get|set TEKST --web-password HASŁO"));
        const QString password = requiredOption(ctx, QStringLiteral("web-password"));
        int status = Success;
        auto ex = openExchange(ctx, status);
        if (!ex)
            return status;
        if (verb == QLatin1String("get")) {
            const bool ok = ex->synchronizer->readConfiguration(password);
            if (ok)
                ctx.out << QStringLiteral("COJEST=") << ex->synchronizer->summary().configuration << '\n';
            return finish(ctx, *ex, ok);
        }
        const QString text = ctx.arguments.at(1);
        for (const QChar c : text)
            if (c < QLatin1Char('0') || c > QLatin1Char('2'))
                throw UsageError(QStringLiteral("Konfiguracja to cyfry 0, 1 lub 2"));
        return finish(ctx, *ex, ex->synchronizer->writeConfiguration(password, text));
    });
}

int runSyncLogins(Context& ctx)
{
    return guarded(ctx, [&] {
        if (!ctx.arguments.isEmpty())
            throw UsageError(QStringLiteral("Użycie: lunawactl sync-logins --web-password HASŁO [--months N]"));
        const QString password = requiredOption(ctx, QStringLiteral("web-password"));
        int status = Success;
        auto ex = openExchange(ctx, status);
        if (!ex)
            return status;
        ex->prompts->answerText(QStringLiteral("Sprawdzić wejścia"), QString(),
                                optionValue(ctx, QStringLiteral("months")), QStringLiteral("--months"));
        int months = 3;
        if (!websync::askLoginMonths(*ex->prompts, months))
            return int(Failed);
        Database& db = ex->session->db();
        Query(db, QStringLiteral("DELETE FROM PRZEDLOGI")).exec();
        const bool ok = ex->synchronizer->logins(password, months, ex->session->context->systemDate());
        if (ok) {
            Query rows(db, QStringLiteral("SELECT CZAS, KON, OK FROM PRZEDLOGI ORDER BY CZAS, KON"));
            rows.exec();
            while (rows.next())
                ctx.out << rows.value(0).toString() << '\t' << rows.value(1).toString() << '\t'
                        << rows.value(2).toString() << '\n';
        }
        return finish(ctx, *ex, ok);
    });
}

// The address is read and written without contacting the service.
int runSyncAddress(Context& ctx)
{
    return guarded(ctx, [&] {
        if (ctx.arguments.size() > 1)
            throw UsageError(QStringLiteral("Użycie: lunawactl sync-address [ADRES]"));
        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        if (ctx.arguments.isEmpty()) {
            const QString address = service_address::load(session->db());
            ctx.out << service_address::key() << '=' << address << '\n';
            if (!address.isEmpty())
                ctx.out << service_address::toUrl(address).toString() << '\n';
            return int(Success);
        }
        session->requireFunctions({QStringLiteral("Internet")});
        service_address::save(session->db(), ctx.arguments.first());
        return int(Success);
    });
}

const QCommandLineOption webPassword{QStringLiteral("web-password"), QStringLiteral("Hasło administratora w internecie."),
                                     QStringLiteral("HASŁO")};
const QCommandLineOption address{QStringLiteral("address"),
                                 QStringLiteral("Adres serwisu (host[:port] albo http(s)://…); domyślnie SERWIS INTERNETOWY."),
                                 QStringLiteral("ADRES")};
const QCommandLineOption onError{QStringLiteral("on-error"), QStringLiteral("Przy błędzie żądania: abort (domyślnie) albo ignore."),
                                 QStringLiteral("abort|ignore")};
const QCommandLineOption timeout{QStringLiteral("timeout"), QStringLiteral("Czas oczekiwania na odpowiedź w sekundach."),
                                 QStringLiteral("SEKUNDY")};

const Registration syncCommand{{
    QStringLiteral("sync"),
    QStringLiteral("sync --web-password HASŁO [--address ADRES] [--start-month RRRR-MM] [--only-requests] "
                   "[--on-error abort|ignore]"),
    runSync,
    {webPassword, address, onError, timeout,
     {QStringLiteral("start-month"), QStringLiteral("Miesiąc początkowy danych na serwerze."), QStringLiteral("RRRR-MM")},
     {QStringLiteral("only-requests"), QStringLiteral("Tylko zgłoszenia i informacje.")}},
}};

const Registration syncConfigCommand{{
    QStringLiteral("sync-config"),
    QStringLiteral("sync-config get|set TEKST --web-password HASŁO [--address ADRES]"),
    runSyncConfig,
    {webPassword, address, onError, timeout},
}};

const Registration syncAddressCommand{{
    QStringLiteral("sync-address"),
    QStringLiteral("sync-address [ADRES]"),
    runSyncAddress,
}};

const Registration syncLoginsCommand{{
    QStringLiteral("sync-logins"),
    QStringLiteral("sync-logins --web-password HASŁO [--months N] [--address ADRES]"),
    runSyncLogins,
    {webPassword, address, onError, timeout,
     {QStringLiteral("months"), QStringLiteral("Z ilu ostatnich miesięcy (domyślnie 3)."), QStringLiteral("N")}},
}};

}  // namespace

}  // namespace cli
