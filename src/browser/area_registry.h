#pragma once
// Areas by name, so that one area opens another without knowing its code:
// the children register opens "Obecnosci" for a child, the main window
// opens "Dzieci". An area not built is simply not registered.

#include "browser/window_opener.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariantMap>

#include <functional>

struct RunContext;

class AreaRegistry {
public:
    // Opens the area's window for the arguments (e.g. {"OSOBA": 12}).
    using Opener = std::function<void(RunContext&, const QVariantMap& arguments)>;

    void add(const QString& area, Opener opener) { m_areas.insert(area, std::move(opener)); }
    bool has(const QString& area) const { return m_areas.contains(area); }
    // False when the area is not built.
    bool open(const QString& area, RunContext& context, const QVariantMap& arguments = {}) const;

    // As open, and the area's own windows (those opened for no command)
    // that are still open when it returns: none for a modal window, which
    // has closed by then, or for an area that opened nothing.
    struct Opened {
        bool built = false;
        QList<WindowOpener::WindowId> windows;
    };
    Opened openWindows(const QString& area, RunContext& context, const QVariantMap& arguments = {}) const;

private:
    QHash<QString, Opener> m_areas;
};
