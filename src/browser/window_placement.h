#pragma once
// Where a window opens and how its place is kept ("Top", "Left", "Width",
// "Height", "Maximized" under the window's key).

#include "browser/key_value_settings.h"

#include <QRect>
#include <optional>

namespace placement {

// The screen less 175 pixels each way; beside the owner's window (25 to the
// right and below) when there is one, kept 25 pixels above the bottom of
// the screen and within its width.
QRect initial(const QRect& screen, const std::optional<QRect>& ownerWindow);

struct Stored {
    std::optional<QRect> geometry;
    bool maximized = false;
};
Stored load(const KeyValueSettings& settings, const QString& key);
// The geometry is written only for a normal window (neither maximised,
// minimised nor a dialog).
void save(KeyValueSettings& settings, const QString& key, const QRect& geometry, bool maximized, bool normal);

// A stored place that lies off the screen is brought back onto it.
QRect onScreen(const QRect& wanted, const QRect& screen);

}  // namespace placement
