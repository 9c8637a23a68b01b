#include "recording_opener.h"

#include "browser/module.h"

void RecordingOpener::browse(TDMDane& module, DataSet& dataSet, const QString& title, Command* owner)
{
    m_log << QStringLiteral("opened ") + title;
    m_open << Opened{&module, &dataSet, title, owner};
    if (owner && owner->opensWindow)
        owner->checked = true;
}

bool RecordingOpener::closeOwnedBy(Command* owner)
{
    bool any = false;
    for (int i = m_open.size() - 1; i >= 0; --i) {
        if (m_open[i].owner != owner)
            continue;
        m_log << QStringLiteral("closed ") + m_open[i].title;
        m_open.removeAt(i);
        any = true;
    }
    if (owner)
        owner->checked = false;
    return any;
}
