#pragma once
// Which module commands have toolbar buttons, in what order, and how the
// choice is kept ("Buttons": captions, one per line, separators not kept).

#include "browser/prompts.h"

#include <QList>
#include <QString>

struct Command;

namespace toolbar {

// One toolbar place: a command (index into the list given) or a separator.
struct Slot {
    int command = -1;  // -1: a separator

    bool isSeparator() const { return command < 0; }
    bool operator==(const Slot&) const = default;
};

// A command can have a button when it is shown and has an action.
bool offerable(const Command& c);

// The toolbar from the stored text; when nothing is stored every offerable
// command gets a button, in command order.
QList<Slot> fromStored(const QList<Command*>& commands, const QString& stored);
QString toStored(const QList<Command*>& commands, const QList<Slot>& places);

// The entries of "Lista dostępnych operacji": the present buttons (checked,
// separators as empty entries), then the other offerable commands with a
// short label; `checkedCount` is set to the number of present entries.
QList<OrderedEntry> choiceEntries(const QList<Command*>& commands, const QList<Slot>& places, int& checkedCount);
QList<Slot> fromChoice(const QList<OrderedEntry>& chosen);

// Runs "Ustaw &przyciski"; false and `places` unchanged when cancelled.
bool choose(Prompts& prompts, const QList<Command*>& commands, QList<Slot>& places);

}  // namespace toolbar
