#pragma once
// The kinds of `lunawactl print KIND ...`: each printout registers its own
// from the file that implements it, as commands do.

#include "cli.h"

#include "printouts/print_template.h"
#include "printouts/report_job.h"
#include "printouts/template_cache.h"

#include <QString>

#include <functional>
#include <optional>

class Database;

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

// The template of `type` named by --template (without it the first by
// name), built into `built`; `built` stays empty when the store has none of
// the type. False after printing `missing` (with %1 for the name) when no
// template has the name given.
bool templateOption(Context& ctx, Database& db, printouts::TemplateType type, const QString& missing,
                    std::optional<printouts::BuiltTemplate>& built);

struct PrintKindRegistration {
    explicit PrintKindRegistration(PrintKind kind);
};

}  // namespace cli
