#include "inform_attachments.h"

#include "browser/prompts.h"
#include "browser/run_context.h"
#include "sync/http_transport.h"
#include "sync/service_address.h"
#include "sync/sync_modes.h"
#include "sync/sync_session.h"

namespace inform {

QString noLocalFileMessage()
{
    return QStringLiteral("Brak określenia załącznika lokalnego");
}

QString linkExistsMessage()
{
    return QStringLiteral("Jest już określony odnośnik internetowy");
}

QString groupAttachmentRefusal()
{
    return QStringLiteral("Informacja dla wybranej grupy nie może mieć załączników");
}

UploadResult uploadWithoutWindow(RunContext& context, const UploadRequest& request)
{
    const QUrl address = service_address::toUrl(service_address::load(context.db()));
    if (!address.isValid()) {
        context.prompts.showError(service_address::missingMessage());
        return {};
    }
    UploadResult result;
    result.password = request.password;
    if (result.password.isEmpty()
        && !context.prompts.askText(QStringLiteral("Synchronizacja danych"), QStringLiteral("Hasło"), result.password, true))
        return {};
    HttpTransport transport;
    SyncSession session(transport, context.prompts, address);
    websync::Synchronizer sync({context.db(), context.params, context.institution, context.prompts}, session);
    result.sent = sync.attachment(result.password, request.linkId, request.file);
    if (result.sent)
        result.link = sync.summary().link;
    return result;
}

}  // namespace inform
