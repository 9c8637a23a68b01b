#pragma once
// The common questions of the charge driver: which fee components and
// which children a run covers.

#include "fees/charge_run_state.h"

namespace fees {

// "Wybierz składniki opłat", every component offered and ticked; false
// when cancelled.
bool chooseComponents(ChargeRunState& state);

// The children of the run: the marked rows of a grid (the current row when
// none is marked), the one child given, or every active child of the groups
// the user leaves ticked in "Wybierz grupy", by group and then by name in
// Polish order. False when the group list is cancelled.
bool chooseChildren(ChargeRunState& state, const ChargeChildren& children);

}  // namespace fees
