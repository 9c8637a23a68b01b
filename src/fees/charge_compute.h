#pragma once
// Compute (code 0): for every child and chosen component, the computed
// lines of the charge month are written again from the methods, the
// quantities of the child's month and the prices; the settled month is
// reversed and recomputed. Components already approved for the child in
// the charge month are left alone with a remark.

#include "fees/charge_operation.h"

namespace fees {

std::unique_ptr<ChargeOperationRun> makeComputeOperation();

}  // namespace fees
