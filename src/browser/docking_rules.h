#pragma once
// Docking one window into another, without the widgets: the corner by
// which an undocked box is dragged, the room the docked box gets, and
// "Inside", the commands whose windows are docked in a window.

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

struct Command;

namespace docking {

// The caption of a box that is not docked; only such a box can be dragged.
inline QString undockedCaption() { return QStringLiteral("<-"); }
// What a dragged box carries: the id of its window.
inline QString mimeType() { return QStringLiteral("application/x-lunawa-pojemnik"); }
inline QString insideKey() { return QStringLiteral("Inside"); }

// The box is dragged by its top left corner: 30 pixels from the left and
// 20 from the top, while it is not docked.
bool inGrabZone(const QPoint& at, const QString& caption);

// A docked box gets half the height it had in its own window.
int dockedHeight(int formerHeight);

// The heights in a splitter of `total` pixels (handles not counted) after a
// box of `height` is added below: the body (the first) gives up the room,
// keeping at least `minimum`; the boxes docked before keep theirs as far
// as they can.
QList<int> sizesWithDocked(const QList<int>& sizes, int total, int height, int minimum = 40);

// "Inside": the captions, one per line.
QString insideToStored(const QStringList& captions);
QStringList insideFromStored(const QString& stored);

// What to run to dock again what was docked, one step per stored caption
// (each once, in the stored order): the window's own command with that
// caption when it has one that opens a window, else the caption alone, for
// the main window's commands. Only window commands: running any other
// command at opening would do its work unasked.
struct Redock {
    QString caption;
    Command* command = nullptr;  // null: not one of the window's commands
};
QList<Redock> redockPlan(const QList<Command*>& commands, const QStringList& captions);

}  // namespace docking
