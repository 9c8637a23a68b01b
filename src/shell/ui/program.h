#pragma once
// The desktop program as one object: the main window, the central data
// module, the security module, the dialogs, the message window, the window
// opener and every area, made in the order each needs the ones before it
// and torn down in the reverse: the main window (and every window it owns)
// first, the store last.

#include "store/store_location.h"

#include <QStringList>

#include <memory>
#include <optional>

class TFmMain;

class Program {
public:
    // `location` empty: the store of the alias "Lunawa". `arguments` is the
    // command line without the program (two of them log in).
    // The store opens once the login dialog is on the screen (or before a
    // login from the command line); one that cannot be opened ends the run
    // there with its message, and status() is 1. Throws Error only for a
    // malformed store address (after hiding the notice).
    Program(const QStringList& arguments, const std::optional<StoreLocation>& location = std::nullopt);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    TFmMain& mainWindow();
    // The run's status: 1 when the first showing failed (login refused,
    // start-up error), 0 otherwise.
    int status() const;

private:
    struct Parts;
    std::unique_ptr<Parts> m;
};
