#include "toolbar_click.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>

namespace toolbarclick {

namespace {

struct Click {
    QPointer<QToolButton> button;
    bool taken = false;
};

Click running;

// A button runs its action while it handles the mouse release; the filter
// hands the release on itself so that it knows when that handling ends,
// prompts and nested event loops included.
class Watch : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonRelease || event == m_forwarding)
            return false;
        auto* button = qobject_cast<QToolButton*>(watched);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!button || !qobject_cast<QToolBar*>(button->parentWidget()) || mouse->button() != Qt::LeftButton
            || !button->isEnabled())
            return false;
        const Click outer = running;
        QEvent* const outerEvent = m_forwarding;
        running = Click{button, false};
        m_forwarding = event;
        QCoreApplication::sendEvent(button, event);
        m_forwarding = outerEvent;
        running = outer;
        return true;
    }

private:
    QEvent* m_forwarding = nullptr;
};

}  // namespace

void install()
{
    static QPointer<Watch> watch;
    if (watch || !qApp)
        return;
    watch = new Watch(qApp);
    qApp->installEventFilter(watch);
}

const QToolButton* current()
{
    return running.button;
}

std::optional<QString> take()
{
    if (!running.button || running.taken)
        return std::nullopt;
    running.taken = true;
    return running.button->text();
}

}  // namespace toolbarclick
