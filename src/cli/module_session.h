#pragma once
// A run of the program's modules from a command: the central data module on
// the store, the login checked as the login dialog checks it, the login's
// functions and visible groups, the parameters and the institution read
// from the store, prompts answered from the command's options and a
// message window that only gathers its lists.

#include "browser/area_registry.h"
#include "browser/message_log.h"
#include "browser/run_context.h"
#include "browser/window_opener.h"
#include "shell/option_prompts.h"

#include <functional>
#include <memory>

class TDMBaza;
class TDMOchrona;

namespace cli {

struct Context;

// There are no windows here: a module that wants one is refused.
class NoWindows : public WindowOpener {
public:
    void browse(TDMDane& module, DataSet& dataSet, const QString& title, ::Command* owner) override;
    bool closeOwnedBy(::Command* owner) override;
};

struct ModuleSession {
    ModuleSession(QTextStream& out, QTextStream& err);
    ~ModuleSession();

    // Declared first, so that it goes last.
    std::unique_ptr<TDMBaza> baza;
    std::unique_ptr<TDMOchrona> security;
    OptionPrompts prompts;
    NoWindows opener;
    AreaRegistry areas;
    MessageLog messages;
    std::unique_ptr<RunContext> context;

    Database& db();
    // Throws Error("Brak dostępu do funkcji „…”") unless the login was
    // granted every one of them, as the window hides what is not granted.
    void requireFunctions(const QStringList& functionNames) const;
    // Throws Error unless the child exists and its group is one the login
    // sees, as the children register shows only those.
    void requireChild(int child);
};

// Null with `status` set (Usage without a user, LoginFailed after
// "Autoryzacja negatywna", both reported on stderr) when there is no session.
std::unique_ptr<ModuleSession> openModuleSession(Context& ctx, int& status);

// Runs a command's body: a UsageError becomes exit status 2 with its
// message; any other Error goes on to the common handler (status 1).
int guarded(Context& ctx, const std::function<int()>& body);

}  // namespace cli
