#include "message_log.h"

#include <cmath>

void MessageLog::attach(MessageLogView* view)
{
    m_view = view;
    changed();
}

void MessageLog::setTitle(const QString& title)
{
    m_title = title;
    changed();
}

void MessageLog::resetProgress()
{
    m_progress = 0;
    m_steps = 0;
    m_description.clear();
    m_counter.clear();
    changed();
}

void MessageLog::step(int total, const QString& text, bool advance)
{
    m_description = text;
    if (advance && total > 0) {
        if (m_view)
            m_view->processPendingEvents();
        m_progress += 100.0 / total;
        ++m_steps;
        m_counter = QStringLiteral("%1/%2").arg(m_steps).arg(total);
    }
    changed();
}

int MessageLog::bar() const
{
    // Rounding 100/3 three times must still end at 100, never beyond it.
    return std::min(100, int(std::lround(m_progress)));
}

void MessageLog::clearMessages()
{
    m_errors.clear();
    m_remarks.clear();
    m_errorSet.clear();
    m_remarkSet.clear();
    changed();
}

bool MessageLog::addError(const QString& text)
{
    if (m_errorSet.contains(text))
        return false;
    m_errorSet.insert(text);
    m_errors.append(text);
    changed();
    return true;
}

bool MessageLog::addRemark(const QString& text)
{
    if (m_remarkSet.contains(text))
        return false;
    m_remarkSet.insert(text);
    m_remarks.append(text);
    changed();
    return true;
}

void MessageLog::show(bool force)
{
    showWith(force, false);
}

void MessageLog::showRemarksOnly(bool force)
{
    showWith(force, true);
}

void MessageLog::showWith(bool force, bool remarksOnly)
{
    if (!force && !hasMessages())
        return;
    m_remarksOnly = remarksOnly;
    m_shown = true;
    if (m_view) {
        m_view->messageLogChanged(*this);
        m_view->showMessageLog(*this);
    }
}

void MessageLog::hide()
{
    m_shown = false;
    if (m_view)
        m_view->hideMessageLog();
}

MessageLogLayout MessageLog::layout(int panelHeight) const
{
    MessageLogLayout l;
    if (!hasMessages()) {
        l.windowHeight = panelHeight;
        return l;
    }
    l.windowHeight = 3 * panelHeight;
    const int lists = 2 * panelHeight;
    if (m_remarksOnly && m_errors.isEmpty()) {
        l.remarksHeight = lists;
        return l;
    }
    l.remarksHeight = panelHeight * 2 / 3;
    l.errorsHeight = lists - l.remarksHeight;
    return l;
}

QList<MessageLogLine> MessageLog::printLines() const
{
    QList<MessageLogLine> lines;
    for (int i = 0; i < m_errors.size(); ++i)
        lines.append({i == 0 ? QStringLiteral("Błędy") : QString(), m_errors.at(i)});
    for (int i = 0; i < m_remarks.size(); ++i)
        lines.append({i == 0 ? QStringLiteral("Uwagi") : QString(), m_remarks.at(i)});
    return lines;
}

void MessageLog::changed()
{
    if (m_view)
        m_view->messageLogChanged(*this);
}
