// The browser's part in docking: the windows docked in it are opened again
// from "Inside", and its navigator acts on a docked window holding the focus.

#include "tfm_kartot.h"

#include "browser/docking_rules.h"
#include "browser/key_value_settings.h"
#include "browser/module.h"

#include <QApplication>
#include <QGroupBox>

QPointer<TFmKartot>& TFmKartot::runningCommandWindow()
{
    static QPointer<TFmKartot> window;
    return window;
}

TFmKartot* TFmKartot::commandWindow()
{
    return runningCommandWindow().data();
}

QStringList TFmKartot::dockedCommandCaptions() const
{
    QStringList out;
    for (TFmPodstawa* w : dockedWindows()) {
        const auto* k = qobject_cast<TFmKartot*>(w);
        if (!k || k->closed())
            continue;
        // Only a window a command opens can be opened again by its caption.
        if (k->owner()) {
            if (k->owner()->opensWindow)
                out << k->owner()->caption;
        } else if (hooks().mainCommandCaption) {
            const QString caption = hooks().mainCommandCaption(*k);
            if (!caption.isEmpty())
                out << caption;
        }
    }
    return out;
}

void TFmKartot::restoreDocked()
{
    if (m_dockedRestored || m_closing || m_controller->pickMode())
        return;
    m_dockedRestored = true;
    const QStringList captions = docking::insideFromStored(
        m_controller->settings().text(m_controller->settingsKey(), docking::insideKey()));
    QPointer<TFmKartot> self(this);
    for (const docking::Redock& step : docking::redockPlan(m_controller->commands(), captions)) {
        TFmKartot* opened = nullptr;
        if (Command* c = step.command) {
            if (c->checked)
                continue;  // its window is open already, somewhere else
            runCommand(c);
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* k = qobject_cast<TFmKartot*>(w);
                if (k && k != this && k->owner() == c && !k->closed() && !k->dockedIn() && k->openedFrom() == this) {
                    opened = k;
                    break;
                }
            }
        } else if (hooks().runMainCommand) {
            opened = hooks().runMainCommand(step.caption);
        }
        if (!self || m_closing)
            return;
        if (opened && opened != this)
            dock(*opened);
    }
}

TFmKartot* TFmKartot::navigatorTarget()
{
    // The window's own focus: its buttons take none when clicked.
    QWidget* focused = focusWidget();
    if (!focused || !container()->isAncestorOf(focused))
        return this;
    auto* inner = qobject_cast<TFmKartot*>(TFmPodstawa::holding(focused));
    return inner ? inner : this;
}
