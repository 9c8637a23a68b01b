#pragma once
// One operation code of the charge driver. The frame asks the common
// questions, opens the transaction and walks the children; an operation
// adds its own questions, reads what it needs once, and does the work of
// one child. New codes are added to the table in charge_operation.cpp.

#include "fees/charge_run_state.h"

#include <memory>

namespace fees {

class ChargeOperationRun {
public:
    virtual ~ChargeOperationRun() = default;

    // The progress text shown while the operation runs.
    virtual QString progressText() const = 0;
    // Whether the user picks the fee components the run covers.
    virtual bool choosesComponents() const { return true; }
    // Questions of the operation, asked after the component list and before
    // the children are chosen; nothing may be written yet. False: cancelled.
    virtual bool ask(ChargeRunState& state) = 0;
    // Inside the run's transaction, once the children are known: reads what
    // the operation needs for all of them.
    virtual void begin(ChargeRunState& state) = 0;
    virtual void runChild(ChargeRunState& state, const RunChild& child) = 0;
    // Inside the transaction, after the last child: writes what was kept
    // back to be written in bulk.
    virtual void end(ChargeRunState&) {}
    // After the transaction has committed: what the operation hands over
    // (a printout, an e-mail); the questions it asks write nothing.
    virtual void finish(ChargeRunState&) {}
};

// The operation of a code; null for a code that has none.
std::unique_ptr<ChargeOperationRun> makeChargeOperation(ChargeOperation operation);

}  // namespace fees
