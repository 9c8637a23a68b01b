#pragma once
// The "Plik" menu's entry that brings in Paradox tables: shown only while
// the store holds nothing but what a new store is delivered with.

#include <functional>

class QAction;
class QMenu;
struct RunContext;

// Adds the entry at the end of `fileMenu`; `loginAgain` runs after data
// was brought in, so that the rights of the brought-in users apply.
QAction* installParadoxMigrationEntry(QMenu* fileMenu, RunContext& context, std::function<void()> loginAgain);
