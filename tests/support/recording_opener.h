#pragma once
// A window opener for tests: records what would have opened and keeps the
// owning command checked until closeOwnedBy, as the desktop does.
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
    };

    void browse(TDMDane& module, DataSet& dataSet, const QString& title, Command* owner) override;
    bool closeOwnedBy(Command* owner) override;

    // "opened <title>" and "closed <title>", in order.
    const QStringList& log() const { return m_log; }
    // The windows still open.
    const QList<Opened>& open() const { return m_open; }
    void clear() { m_log.clear(); }

private:
    QStringList m_log;
    QList<Opened> m_open;
};
