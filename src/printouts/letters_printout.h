#pragma once
// The letters and labels printout (TRaportKores): one detail band per
// active child on a template of type 1, in the template's columns filled
// row by row (labels, identification cards with the child code's barcode),
// with the template's title band before the first child, its summary band
// after the last, its page footer and the footer line on every page. The
// dialog and lunawactl both fill a LettersSelection and ask for a job.

#include "letters_selection.h"
#include "report_job.h"
#include "template_cache.h"

#include <memory>

class Database;

namespace printouts {

// Whether the template holds the data field (the dialog shows the panel
// of "Tekst 1", "Tekst 2" or "Na dzień" only for a template that prints it).
bool templateUses(const PrintTemplate& layout, const QString& field);

// The report of the selection on the template (none: no band prints but the
// footer line). The children and the institution are read here, in one read
// per table; the job then runs without the store, as often as asked, and
// "L.p." counts from 1 on every run.
std::unique_ptr<report::Job> makeLettersJob(Database& db, const LettersSelection& selection,
                                            const BuiltTemplate* layout);

}  // namespace printouts
