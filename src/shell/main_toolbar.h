#pragma once
// The main window's toolbar: a list of command names, an empty name for a
// separator. It is kept in "Buttons" as those names, one per line.

#include "browser/prompts.h"
#include "shell/access_rules.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace maintoolbar {

inline QString pickerTitle() { return QStringLiteral("Lista dostępnych operacji"); }

// The toolbar from the stored text: a line naming no command of `menus`
// gives a separator, a shown command its button (once), a hidden command
// nothing. Absent or empty text gives every shown command of "&Dane" and a
// separator after them.
QStringList fromStored(const std::optional<QString>& stored, const QList<permissions::MenuEntry>& menus);
QString toStored(const QStringList& buttons);

// The entries of "Lista dostępnych operacji": the present buttons (checked;
// separators as empty entries), then every shown command of "&Dane",
// "&Słowniki" and "&Ochrona" that has a hint and no button yet.
QList<OrderedEntry> choiceEntries(const QStringList& buttons, const QList<permissions::MenuEntry>& menus,
                                  int& checkedCount);
QStringList fromChoice(const QList<OrderedEntry>& chosen);

// "Ustaw &przyciski"; false and `buttons` unchanged when cancelled.
bool choose(Prompts& prompts, const QList<permissions::MenuEntry>& menus, QStringList& buttons);

// A command of the menus by name, null when none has it.
const permissions::MenuEntry* findCommand(const QList<permissions::MenuEntry>& menus, const QString& name);

}  // namespace maintoolbar
