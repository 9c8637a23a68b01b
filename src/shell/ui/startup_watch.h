#pragma once
// The first showing of the start-up windows: what follows once they are on
// the screen, and the login dialog's part in the start-up milestones (see
// shell/startup_trace.h).

#include <functional>

class QDialog;
class QObject;
class QWindow;

namespace startup {

// Runs `run` through the event queue once `window` is first exposed (so its
// first paint comes before), at once when it already is or there is none. A
// window the system never exposes (started minimised) gets it after a
// second. Nothing runs once `owner` is gone.
void whenOnScreen(QWindow* window, QObject* owner, std::function<void()> run);

// Runs `then` once the dialog is first on the screen. Marks that moment
// when tracing; when quitting at the login was asked for, the dialog is
// rejected after `then`.
void afterFirstShowing(QDialog* dialog, std::function<void()> then);

}  // namespace startup
