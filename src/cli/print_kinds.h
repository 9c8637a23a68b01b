#pragma once
// The kinds of `lunawactl print KIND ...`: each printout registers its own
// from the file that implements it, as commands do.

#include "cli.h"

#include <QString>

#include <functional>

namespace cli {

struct PrintKind {
    QString name;      // "grid"
    QString synopsis;  // what follows "print": "grid TABELA [--order POLA] ..."
    // Runs with the arguments after the kind's name.
    std::function<int(Context&)> run;
};

struct PrintKindRegistration {
    explicit PrintKindRegistration(PrintKind kind);
};

}  // namespace cli
