#pragma once
// The payment confirmation (TRaportPotw): a receipt for one WPLATY row on a
// template of type 3, the whole template printed once at its own places.
// The dialog and lunawactl both ask for a job by the payment's ID.

#include "report_job.h"
#include "template_cache.h"

#include <memory>

class Database;

namespace printouts {

// The confirmation of the payment on the template (none: an empty page with
// the footer line). The payment and its child are read here; the job then
// runs without the store. A payment that no longer exists throws Error.
std::unique_ptr<report::Job> makeConfirmationJob(Database& db, int paymentId, const BuiltTemplate* layout);

}  // namespace printouts
