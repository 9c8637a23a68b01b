#pragma once
// Which toolbar button's click is running. A window opened by a toolbar
// button is titled with the button's text and centred, unlike one opened
// from a menu, yet both run the same action; this tells them apart.

#include <QString>

#include <optional>

class QToolButton;

namespace toolbarclick {

// Watches the application's clicks; harmless when called again.
void install();

// The toolbar button whose click is being handled now, else null.
const QToolButton* current();

// The text of that button, given once per click: to the first window the
// click opens, not to windows that window opens in turn.
std::optional<QString> take();

}  // namespace toolbarclick
