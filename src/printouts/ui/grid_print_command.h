#pragma once
// The browser's "&Drukuj" and "Podglą&d": the list printout of what the
// grid shows (its columns in their order and widths, fonts, alignment, the
// window's caption and the description of its active data filter), opened
// in the preview.

#include "printouts/grid_printout.h"

class TFmKartot;

namespace gridprint {

// The printout's columns and title as the browser shows them.
report::GridLayout layoutOfBrowser(TFmKartot& browser);

// Builds a new printout of the browser and opens its preview; the preview
// of the browser's previous printout is closed.
void printBrowser(TFmKartot& browser);

// Gives every browser its print commands.
void install();

}  // namespace gridprint
