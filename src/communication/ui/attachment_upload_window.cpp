#include "attachment_upload_window.h"

#include "browser/prompts.h"
#include "browser/run_context.h"
#include "sync/service_address.h"
#include "sync/ui/tfm_synchr.h"

#include <QApplication>

namespace inform {

UploadResult uploadInWindow(RunContext& context, const UploadRequest& request)
{
    const QUrl address = service_address::toUrl(service_address::load(context.db()));
    if (!address.isValid()) {
        context.prompts.showError(service_address::missingMessage());
        return {};
    }
    TFmSynchr window(context, TFmSynchr::Attachment, address, QApplication::activeWindow());
    window.setAttachment(request.linkId, request.file);
    if (!request.password.isEmpty())
        window.setPassword(request.password, true);
    window.exec();
    UploadResult result;
    result.sent = window.succeeded();
    result.link = result.sent ? window.summary().link : QString();
    result.password = window.password();
    return result;
}

}  // namespace inform
