#pragma once
// lunawactl: the headless front of the program. Each command is a function
// taking the parsed options; it returns the exit status (0 success, 1 the
// operation failed, 2 usage error) and reports failures on stderr.

#include "store/store_location.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class Database;
class QTextStream;
class TDMOchrona;

namespace cli {

enum Status { Success = 0, Failed = 1, Usage = 2, LoginFailed = 3 };

struct Context {
    QCommandLineParser& options;
    QStringList arguments;  // after the command name
    QTextStream& out;
    QTextStream& err;
};

struct Command {
    QString name;
    QString synopsis;  // shown by --help
    std::function<int(Context&)> run;
    // The options the command reads besides the common ones; an option
    // several commands declare is parsed once.
    QList<QCommandLineOption> options = {};
};

// The built-in commands, then those registered from their own files in
// name order.
QList<Command> commands();

// Registers a command from the file that implements it:
//   static const cli::Registration monthAdd{{"month-add", "...", runMonthAdd, {...}}};
struct Registration {
    explicit Registration(Command command);
};

// The store named by --store, or the program's own rule.
StoreLocation resolveStore(const Context& ctx);

// An open store with a login: --user/--password or LUNAWA_USER and
// LUNAWA_PASSWORD, checked exactly as the login dialog checks them.
struct Session {
    std::unique_ptr<Database> db;
    std::unique_ptr<TDMOchrona> security;
    ~Session();
};
// Null with `status` set (Usage when no user is given, LoginFailed after
// "Autoryzacja negatywna") when there is no session.
std::unique_ptr<Session> openSession(Context& ctx, int& status);

// The user and password of --user/--password, or of LUNAWA_USER and
// LUNAWA_PASSWORD; false with `status` Usage when no user is given.
struct LoginOptions {
    QString user;
    QString password;
};
bool readLoginOptions(Context& ctx, LoginOptions& login, int& status);
// False with `status` LoginFailed after "Autoryzacja negatywna".
bool logIn(Context& ctx, TDMOchrona& security, const LoginOptions& login, int& status);

int runInit(Context& ctx);
int runQuery(Context& ctx);
int runParams(Context& ctx);
int runEval(Context& ctx);
int runWords(Context& ctx);

}  // namespace cli
