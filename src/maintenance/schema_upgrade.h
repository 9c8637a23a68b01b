#pragma once
// "Sprawdź wersję": brings an older store up to the current schema in
// place. Every step checks the store first, so a second run finds nothing
// to do; one question is asked before the first change that needs it, and
// each step is one unit of work (a step of several statements never stays
// half done). The store's schema level is recorded at the end.

#include <QString>

#include <functional>

class Database;
class Prompts;

namespace upgrade {

inline QString question() { return QStringLiteral("Nie posiadasz najnowszej wersji bazy\nWykonać aktualizację?"); }
inline QString newest() { return QStringLiteral("Posiadasz najnowszą wersję bazy"); }
inline QString finished() { return QStringLiteral("Koniec aktualizacji"); }

enum class Outcome {
    Current,   // nothing needed asking ("Posiadasz najnowszą wersję bazy")
    Upgraded,  // "Koniec aktualizacji"
    Declined,  // No to the question: nothing changed, nothing shown
    Failed,    // a step failed; its message was shown, earlier steps stay
};

// Runs the upgrade with its messages. `waitCursor` is turned on after Yes
// and off however the command ends.
Outcome run(Database& db, Prompts& prompts, const std::function<void(bool on)>& waitCursor = {});

// Whether any step that needs the question would change the store.
bool needed(Database& db);

}  // namespace upgrade
