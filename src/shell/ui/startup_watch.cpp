#include "startup_watch.h"

#include "shell/startup_trace.h"

#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <memory>
#include <utility>

namespace startup {

namespace {

// Waits for the window's first expose.
class ExposeWatch : public QObject {
public:
    ExposeWatch(QWindow* window, QObject* owner, std::function<void()> fire)
        : QObject(window), m_window(window), m_owner(owner), m_fire(std::move(fire))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::Expose && m_window->isExposed()) {
            if (m_owner)
                QMetaObject::invokeMethod(m_owner, m_fire, Qt::QueuedConnection);
            deleteLater();
        }
        return false;
    }

private:
    QWindow* m_window;
    QPointer<QObject> m_owner;
    std::function<void()> m_fire;
};

// A dialog has its window only once shown: waits for that, then for the window.
class ShowWatch : public QObject {
public:
    ShowWatch(QDialog* dialog, std::function<void()> then) : QObject(dialog), m_dialog(dialog), m_then(std::move(then))
    {
        dialog->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_dialog && event->type() == QEvent::Show && m_then) {
            whenOnScreen(m_dialog->windowHandle(), m_dialog, std::exchange(m_then, nullptr));
            deleteLater();
        }
        return false;
    }

private:
    QDialog* m_dialog;
    std::function<void()> m_then;
};

}  // namespace

void whenOnScreen(QWindow* window, QObject* owner, std::function<void()> run)
{
    auto once = std::make_shared<std::function<void()>>(std::move(run));
    auto fire = [once] {
        if (auto f = std::exchange(*once, nullptr))
            f();
    };
    if (!window || window->isExposed()) {
        QMetaObject::invokeMethod(owner, fire, Qt::QueuedConnection);
        return;
    }
    new ExposeWatch(window, owner, fire);
    QTimer::singleShot(1000, owner, fire);
}

void afterFirstShowing(QDialog* dialog, std::function<void()> then)
{
    if (!dialog)
        return;
    QPointer<QDialog> guarded = dialog;
    new ShowWatch(dialog, [guarded, then = std::move(then)] {
        mark("login dialog on screen");
        if (then)
            then();
        if (guarded && quitAtLogin())
            guarded->reject();
    });
}

}  // namespace startup
