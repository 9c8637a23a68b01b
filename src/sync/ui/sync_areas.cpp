#include "sync_areas.h"

#include "tfm_synchr.h"

#include "browser/area_registry.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "communication/tdm_dzielog.h"
#include "store/query.h"
#include "sync/service_address.h"

#include <QApplication>

namespace {

QWidget* parentWindow()
{
    return QApplication::activeWindow();
}

// The address, or nothing after telling the user it is missing.
bool address(RunContext& context, QUrl& url)
{
    url = service_address::toUrl(service_address::load(context.db()));
    if (!url.isValid()) {
        context.prompts.showError(service_address::missingMessage());
        return false;
    }
    return true;
}

void synchronise(RunContext& context, const QVariantMap& arguments)
{
    QUrl url;
    if (!address(context, url))
        return;
    const int mode = arguments.value(QStringLiteral("mode"), 1).toInt();
    TFmSynchr window(context, mode == 2 ? TFmSynchr::Correction : TFmSynchr::Full, url, parentWindow());
    window.setKey(arguments.value(QStringLiteral("key")).toInt());
    window.exec();
    // Requests came in: the reminders list shows them.
    if (mode == 1 && window.succeeded() && window.summary().requestsReceived > 0
        && context.areas.has(QStringLiteral("Przypomnienia")))
        context.areas.open(QStringLiteral("Przypomnienia"), context);
}

void configure(RunContext& context, const QVariantMap&)
{
    QUrl url;
    if (!address(context, url))
        return;
    TFmSynchr reading(context, TFmSynchr::ReadConfiguration, url, parentWindow());
    reading.exec();
    if (!reading.succeeded() || reading.configuration().isEmpty())
        return;
    TFmSynchr writing(context, TFmSynchr::WriteConfiguration, url, parentWindow());
    writing.setPassword(reading.password(), false);
    writing.setConfiguration(reading.configuration());
    writing.exec();
}

void loginLog(RunContext& context, const QVariantMap&)
{
    if (context.prompts.askYesNo(TDMDzieLog::refreshQuestion())) {
        QUrl url;
        if (!address(context, url))
            return;
        // Emptied first: a failed download leaves no stale log behind.
        Query(context.db(), QStringLiteral("DELETE FROM PRZEDLOGI")).exec();
        TFmSynchr window(context, TFmSynchr::Logins, url, parentWindow());
        window.exec();
    }
    TDMDane::openAsWindow(std::make_unique<TDMDzieLog>(context), QStringLiteral("Sprawdzić wejścia"));
}

}  // namespace

void registerSyncAreas(AreaRegistry& areas)
{
    areas.add(QStringLiteral("Synchronizacja"), synchronise);
    areas.add(QStringLiteral("Synchronizacjakonfiguracja"), configure);
    areas.add(QStringLiteral("Przedlogi"), loginLog);
}
