#pragma once
// How a module gets a window: the desktop opens record browsers, tests
// record what would have opened.

#include <QString>

class TDMDane;
struct Command;
struct DataSet;

class WindowOpener {
public:
    virtual ~WindowOpener() = default;
    // Opens a browser on the data set. `owner` is the command that opened
    // it (checked while it is open), null for none. A module whose window
    // it is stays alive as long as the window does when `ownsModule`.
    virtual void browse(TDMDane& module, DataSet& dataSet, const QString& title, Command* owner) = 0;
    // Closes the windows owned by the command; false when none was open.
    virtual bool closeOwnedBy(Command* owner) = 0;
};
