#include "startup_watch.h"

#include "shell/startup_trace.h"

#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace startup {

namespace {

// Follows the dialog to its window and the window to its first expose.
class LoginWatch : public QObject {
public:
    explicit LoginWatch(QDialog* dialog) : QObject(dialog), m_dialog(dialog) { dialog->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_dialog && event->type() == QEvent::Show) {
            mark("login dialog shown");
            if (QWindow* w = m_dialog->windowHandle()) {
                if (w->isExposed())
                    onScreen();
                else
                    w->installEventFilter(this);
            }
        } else if (event->type() == QEvent::Expose && qobject_cast<QWindow*>(watched)
                   && static_cast<QWindow*>(watched)->isExposed()) {
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
        mark("login dialog on screen");
        if (quitAtLogin()) {
            QPointer<QDialog> dialog = m_dialog;
            QTimer::singleShot(0, m_dialog, [dialog] {
                if (dialog)
                    dialog->reject();
            });
        }
        m_dialog->removeEventFilter(this);
        if (QWindow* w = m_dialog->windowHandle())
            w->removeEventFilter(this);
        deleteLater();
    }

    QDialog* m_dialog;
    bool m_done = false;
};

}  // namespace

void watchLoginDialog(QDialog* dialog)
{
    if (dialog && (tracing() || quitAtLogin()))
        new LoginWatch(dialog);
}

}  // namespace startup
