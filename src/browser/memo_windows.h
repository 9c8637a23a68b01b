#pragma once
// The memo editor a command opens: a window of its own bound to a memo
// field of a data set's current row, owned by the command, so that the
// command opens it and, chosen again, closes it. The desktop's window
// opener provides these windows; where there are none (lunawactl, tests)
// the command edits through the memo prompt instead.

#include <QString>

class TDMDane;
class WindowOpener;
struct Command;
struct DataSet;

class MemoWindows {
public:
    virtual ~MemoWindows() = default;
    // Opens the editor of `field` titled `caption`; `owner` is checked
    // while it is open.
    virtual void openMemoWindow(TDMDane& module, DataSet& dataSet, const QString& field, const QString& caption,
                                Command* owner) = 0;
};

namespace memowindow {

// The run's memo windows; null where there are none.
MemoWindows* of(WindowOpener& opener);

// Runs a memo command: closes the command's window when it is open,
// otherwise opens one. False, and nothing done, where there are no memo
// windows.
bool toggle(TDMDane& module, DataSet& dataSet, const QString& field, const QString& caption, Command* owner);

}  // namespace memowindow
