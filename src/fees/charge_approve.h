#pragma once
// Approve (code 1): the computed lines of the chosen components become
// final. With invoices in use every payer (the child, or the help centre
// paying a share) gets one invoice per month, issue date and payment term;
// a later run with the same dates continues it.

#include "fees/charge_operation.h"

namespace fees {

std::unique_ptr<ChargeOperationRun> makeApproveOperation();

// The invoice title as stored: FAKT.TYTUL holds 40 characters.
QString invoiceTitle(const QString& text);

}  // namespace fees
