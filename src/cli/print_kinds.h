#pragma once
// The kinds of `lunawactl print KIND ...`: each printout registers its own
// from the file that implements it, as commands do.

#include "cli.h"

#include "printouts/report_job.h"

#include <QString>

#include <functional>

namespace cli {

struct PrintKind {
    QString name;      // "grid"
    QString synopsis;  // what follows "print": "grid TABELA [--order POLA] ..."
    // Runs with the arguments after the kind's name.
    std::function<int(Context&)> run;
};

// Writes the job's pages to --pdf FILE or --export FILE (exactly one) and
// prints "STRONY=n".
int writePrintOutput(Context& ctx, const report::Job& job);

struct PrintKindRegistration {
    explicit PrintKindRegistration(PrintKind kind);
};

}  // namespace cli
