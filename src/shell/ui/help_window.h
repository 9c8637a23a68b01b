#pragma once
// The user guide: Polish HTML pages shipped in the "help" folder beside the
// program, shown in one help window, opened by "Tematy pomocy" and by F1 at
// the page of the window that is active.

#include <QString>

class AreaRegistry;
class QWidget;

namespace help {

// The folder of the pages: beside the program, or the source tree's
// docs/help while the program runs from its build folder.
QString folder();
// The page of a window, by its title ("Lista obecności na: …" gives the
// attendance page); the contents for any other window.
QString pageFor(const QString& windowTitle);
// Shows the help window at `page` (raised when already open); returns it.
QWidget* show(const QString& page);
// "Tematy pomocy": the contents, in a window the command toggles.
void registerArea(AreaRegistry& areas);

}  // namespace help
