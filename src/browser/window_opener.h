#pragma once
// How a module gets a window: the desktop opens record browsers, tests
// record what would have opened.
//
// Every window an opener makes has an id, told to its listeners when the
// window opens and again when it is gone. The main window listens, so that
// a command stays checked while the window it opened is open and closes
// that window when it is chosen again.

#include <QList>
#include <QString>

class TDMDane;
struct Command;
struct DataSet;

class WindowOpener {
public:
    using WindowId = int;  // 0: none

    class Listener {
    public:
        virtual ~Listener() = default;
        // `owner` is the command the window was opened for, null for an
        // area's own window.
        virtual void windowOpened(WindowId window, Command* owner) = 0;
        virtual void windowClosed(WindowId window) = 0;
    };

    virtual ~WindowOpener() = default;
    // Opens a browser on the data set. `owner` is the command that opened
    // it (checked while it is open), null for none.
    virtual void browse(TDMDane& module, DataSet& dataSet, const QString& title, Command* owner) = 0;
    // Closes the windows owned by the command; false when none was open.
    virtual bool closeOwnedBy(Command* owner) = 0;

    // Closes one window through its own close path (which may ask
    // "Zapisać zmiany?"); false when it stayed open or was not open.
    virtual bool closeWindow(WindowId) { return false; }
    virtual bool isOpen(WindowId) const { return false; }

    void addListener(Listener* listener) { m_listeners << listener; }
    void removeListener(Listener* listener) { m_listeners.removeAll(listener); }

protected:
    // For the openers: a new id, told to the listeners.
    WindowId announceOpened(Command* owner)
    {
        const WindowId id = ++m_lastId;
        for (Listener* l : QList<Listener*>(m_listeners))
            if (m_listeners.contains(l))  // one may have gone while told
                l->windowOpened(id, owner);
        return id;
    }
    void announceClosed(WindowId id)
    {
        for (Listener* l : QList<Listener*>(m_listeners))
            if (m_listeners.contains(l))
                l->windowClosed(id);
    }

private:
    QList<Listener*> m_listeners;
    WindowId m_lastId = 0;
};
