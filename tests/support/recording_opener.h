#pragma once
// A window opener for tests: records what would have opened and keeps the
// owning command checked until closeOwnedBy, as the desktop does. Windows
// get ids and are announced to the listeners like the desktop's.
//
//     RecordingOpener opener;
//     ...
//     EXPECT_EQ(opener.log(), QStringList{"opened Lista obecności"});

#include "browser/window_opener.h"

#include <QList>
#include <QStringList>

class RecordingOpener : public WindowOpener {
public:
    struct Opened {
        TDMDane* module = nullptr;
        DataSet* dataSet = nullptr;
        QString title;
        Command* owner = nullptr;
        WindowId id = 0;
    };

    void browse(TDMDane& module, DataSet& dataSet, const QString& title, Command* owner) override;
    bool closeOwnedBy(Command* owner) override;
    bool closeWindow(WindowId id) override;
    bool isOpen(WindowId id) const override;

    // "opened <title>" and "closed <title>", in order.
    const QStringList& log() const { return m_log; }
    // The windows still open.
    const QList<Opened>& open() const { return m_open; }
    void clear() { m_log.clear(); }
    // The next closeWindow is refused, as by a window keeping unsaved edits.
    void refuseNextClose() { m_refuse = true; }

private:
    void remove(int index);

    QStringList m_log;
    QList<Opened> m_open;
    bool m_refuse = false;
};
