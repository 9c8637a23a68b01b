#pragma once
// An attachment of an information sent in the synchronisation window's
// attachment mode: with a remembered password the window starts by itself.

#include "communication/inform_attachments.h"

namespace inform {

UploadResult uploadInWindow(RunContext& context, const UploadRequest& request);

}  // namespace inform
