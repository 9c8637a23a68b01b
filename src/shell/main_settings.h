#pragma once
// The main window's own settings, kept in the group "Main" of the user's
// settings between runs, and where the window goes on the screen.

#include "browser/key_value_settings.h"

#include <QRect>
#include <QString>

#include <optional>

struct MainSettings {
    bool modalWindows = false;   // "Okna modalne"
    bool autoEdit = true;        // "Auto edycja"
    bool raisedButtons = false;  // "Wypukle przyciski"
    std::optional<int> top;      // as stored; absent values keep the default placement
    std::optional<int> left;
    std::optional<int> width;
    std::optional<int> height;
    bool maximized = false;  // "Maximized"
    QString reminder;                // "Przypomnienie": "Przy starcie" or "Tylko na żądanie"
    std::optional<QString> buttons;  // "Buttons": command names, one per line

    static QString group() { return QStringLiteral("Main"); }
    static QString remindAtStart() { return QStringLiteral("Przy starcie"); }

    static MainSettings load(const KeyValueSettings& store);
    // Writes every value; the position and buttons as given.
    void save(KeyValueSettings& store) const;

    struct Place {
        QRect frame;  // the normal frame, also the one restored from maximised
        bool maximized = true;
    };
    // The window on `available` (the screen without its panels): maximised
    // unless the user left it at a size of their own (ignored with modal
    // windows). A stored frame off the screen (a monitor since removed, a
    // smaller resolution) is brought back onto it, or the window would open
    // where nobody can reach it.
    Place placement(const QRect& available) const;
};
