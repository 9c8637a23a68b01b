#include "charge_operation.h"

#include "fees/charge_approve.h"
#include "fees/charge_compute.h"
#include "fees/marked_operations.h"

#include <utility>

namespace fees {

namespace {

using Factory = std::unique_ptr<ChargeOperationRun> (*)();

// The operation codes the driver knows.
constexpr std::pair<ChargeOperation, Factory> operations[] = {
    {ChargeOperation::Compute, &makeComputeOperation},
    {ChargeOperation::Approve, &makeApproveOperation},
    {ChargeOperation::CopyComponents, &makeCopyComponentsOperation},
    {ChargeOperation::SetMethod, &makeSetMethodOperation},
    {ChargeOperation::SetSettlementMethod, &makeSetSettlementMethodOperation},
    {ChargeOperation::Passwords, &makePasswordsOperation},
    {ChargeOperation::Emails, &makeEmailsOperation},
    {ChargeOperation::MoveGroup, &makeMoveGroupOperation},
};

}  // namespace

std::unique_ptr<ChargeOperationRun> makeChargeOperation(ChargeOperation operation)
{
    for (const auto& [code, make] : operations)
        if (code == operation)
            return make();
    return nullptr;
}

}  // namespace fees
