#pragma once
// The login dialog at start: what follows once it is on the screen, and its
// part in the start-up milestones (see shell/startup_trace.h).

#include <functional>

class QDialog;

namespace startup {

// Runs `then` through the event queue once the dialog is first on the
// screen (exposed and painted). Marks that moment when
// tracing; when quitting at the login was asked for, the dialog is
// rejected after `then`.
void afterFirstShowing(QDialog* dialog, std::function<void()> then);

}  // namespace startup
