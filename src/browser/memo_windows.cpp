#include "memo_windows.h"

#include "module.h"
#include "window_opener.h"

namespace memowindow {

MemoWindows* of(WindowOpener& opener)
{
    return dynamic_cast<MemoWindows*>(&opener);
}

bool toggle(TDMDane& module, DataSet& dataSet, const QString& field, const QString& caption, Command* owner)
{
    WindowOpener& opener = module.context().opener;
    MemoWindows* windows = of(opener);
    if (!windows)
        return false;
    if (owner && owner->opensWindow && owner->checked)
        opener.closeOwnedBy(owner);
    else
        windows->openMemoWindow(module, dataSet, field, caption, owner);
    return true;
}

}  // namespace memowindow
