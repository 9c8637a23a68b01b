#pragma once
// The login dialog's part in the start-up milestones: it marks the moment
// the dialog is on the screen and, when asked to, abandons the login there.

class QDialog;

namespace startup {

// Watches the dialog's first showing only; does nothing unless tracing or
// quitting at the login was asked for.
void watchLoginDialog(QDialog* dialog);

}  // namespace startup
