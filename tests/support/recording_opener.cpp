#include "recording_opener.h"

#include "browser/module.h"

void RecordingOpener::browse(TDMDane& module, DataSet& dataSet, const QString& title, Command* owner)
{
    m_log << QStringLiteral("opened ") + title;
    if (owner && owner->opensWindow)
        owner->checked = true;
    m_open << Opened{&module, &dataSet, title, owner, 0};
    const qsizetype index = m_open.size() - 1;
    m_open[index].id = announceOpened(owner);
}

void RecordingOpener::remove(int index)
{
    const Opened gone = m_open.takeAt(index);
    m_log << QStringLiteral("closed ") + gone.title;
    announceClosed(gone.id);
}

bool RecordingOpener::closeOwnedBy(Command* owner)
{
    bool any = false;
    for (int i = m_open.size() - 1; i >= 0; --i) {
        if (m_open[i].owner != owner)
            continue;
        remove(i);
        any = true;
    }
    if (owner)
        owner->checked = false;
    return any;
}

bool RecordingOpener::closeWindow(WindowId id)
{
    for (int i = 0; i < m_open.size(); ++i) {
        if (m_open[i].id != id)
            continue;
        if (m_refuse) {
            m_refuse = false;
            return false;
        }
        Command* owner = m_open[i].owner;
        remove(i);
        if (owner) {
            bool stillOpen = false;
            for (const Opened& o : m_open)
                stillOpen = stillOpen || o.owner == owner;
            owner->checked = stillOpen;
        }
        return true;
    }
    return false;
}

bool RecordingOpener::isOpen(WindowId id) const
{
    for (const Opened& o : m_open)
        if (o.id == id)
            return true;
    return false;
}
