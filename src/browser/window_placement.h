#pragma once
// Where a window opens and how its place is kept ("Top", "Left", "Width",
// "Height", "Maximized" under the window's key).

#include "browser/key_value_settings.h"

#include <QRect>
#include <QSize>
#include <optional>

namespace placement {

// Where area windows may open: below this screen line (the main window's
// toolbar); 0 (the default) leaves the whole screen.
void setDeskTop(int y);
int deskTop();

// The screen below the desk's top. A window opens as large as `content`
// asks (at least 480 x 320; the screen less 175 pixels each way when no
// size is known) within that area, at its top left corner or beside the
// owner's window (25 to the right and below) when there is one, kept 25
// pixels above the bottom of the screen and within its width.
QRect initial(const QRect& screen, const std::optional<QRect>& ownerWindow, const QSize& content = QSize());

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
