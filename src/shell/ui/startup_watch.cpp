#include "startup_watch.h"

#include "shell/startup_trace.h"

#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QWindow>

namespace startup {

namespace {

// Follows the dialog to its window and the window to its first expose.
class FirstShowing : public QObject {
public:
    FirstShowing(QDialog* dialog, std::function<void()> then)
        : QObject(dialog), m_dialog(dialog), m_then(std::move(then))
    {
        dialog->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_dialog && event->type() == QEvent::Show) {
            if (QWindow* w = m_dialog->windowHandle()) {
                if (w->isExposed())
                    onScreen();
                else
                    w->installEventFilter(this);
            }
        } else if (event->type() == QEvent::Expose && watched == m_dialog->windowHandle()
                   && m_dialog->windowHandle()->isExposed()) {
            onScreen();
        }
        return false;
    }

private:
    void onScreen()
    {
        if (m_done)
            return;
        m_done = true;
        m_dialog->removeEventFilter(this);
        if (QWindow* w = m_dialog->windowHandle())
            w->removeEventFilter(this);
        // Queued: the expose paints the dialog first.
        QPointer<QDialog> dialog = m_dialog;
        QMetaObject::invokeMethod(
            m_dialog,
            [dialog, then = std::move(m_then)] {
                mark("login dialog on screen");
                if (then)
                    then();
                if (dialog && quitAtLogin())
                    dialog->reject();
            },
            Qt::QueuedConnection);
        deleteLater();
    }

    QDialog* m_dialog;
    std::function<void()> m_then;
    bool m_done = false;
};

}  // namespace

void afterFirstShowing(QDialog* dialog, std::function<void()> then)
{
    if (dialog)
        new FirstShowing(dialog, std::move(then));
}

}  // namespace startup
