#pragma once
// The settlement statement ("Zestawienie naliczeń"), TRaportRozr: for a
// settlement month on a template of type 2, per child what was charged,
// paid and owed. A portrait template prints a letter per child, a landscape
// one a table. The dialog and lunawactl both fill StatementOptions and ask
// for a job.

#include "report_job.h"
#include "statement_options.h"
#include "template_cache.h"

#include <memory>

class Database;

namespace printouts {

// Whether the template (none: portrait) lays the statement out as a table.
bool isLandscapeStatement(const BuiltTemplate* layout);

// The statement of the options on the template (none: the fixed parts
// only). Every row is read here, in one read per table; the job then runs
// without the store.
std::unique_ptr<report::Job> makeStatementsJob(Database& db, const StatementOptions& options,
                                               const BuiltTemplate* layout);

}  // namespace printouts
