#pragma once
// lunawactl: the headless front of the program. Each command is a function
// taking the parsed options; it returns the exit status (0 success, 1 the
// operation failed, 2 usage error) and reports failures on stderr.

#include "store/store_location.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <functional>

class QTextStream;

namespace cli {

enum Status { Success = 0, Failed = 1, Usage = 2 };

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
};

const QList<Command>& commands();

// The store named by --store, or the program's own rule.
StoreLocation resolveStore(const Context& ctx);

int runInit(Context& ctx);
int runQuery(Context& ctx);

}  // namespace cli
