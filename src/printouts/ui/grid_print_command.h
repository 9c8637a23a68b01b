#pragma once
// The browser's "&Drukuj" and "Podglą&d": the list printout of what the
// grid shows (its columns in their order and widths, fonts, alignment, the
// window's caption and the active quick filters), opened in the preview.

#include "printouts/grid_printout.h"

class TFmKartot;
struct DataSet;

namespace quickfilter {
class Filters;
}

namespace gridprint {

// The printout's columns and title as the browser shows them.
report::GridLayout layoutOfBrowser(TFmKartot& browser);

// The active quick filters in words, "Grupa: Motylki, Rok: od 2024 do 2024";
// empty when none is active.
QString filterDescription(const quickfilter::Filters& filters, const DataSet& ds);

// Builds a new printout of the browser and opens its preview; the preview
// of the browser's previous printout is closed.
void printBrowser(TFmKartot& browser);

// Gives every browser its print commands.
void install();

}  // namespace gridprint
