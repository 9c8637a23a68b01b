#include "ui_window_opener.h"

#include "browser/module.h"
#include "browser/run_context.h"
#include "browser/ui/memo_field_window.h"
#include "browser/ui/tfm_kartot.h"
#include "browser/ui/toolbar_click.h"

#include <QApplication>

UiWindowOpener::UiWindowOpener(KeyValueSettings& settings, QObject* parent) : QObject(parent), m_settings(settings)
{
    toolbarclick::install();
}

void UiWindowOpener::browse(TDMDane& module, DataSet& dataSet, const QString& title, Command* owner)
{
    // An area's module belongs to its first window; detail windows opened
    // by its commands find it parented already and leave it alone.
    open(module, dataSet, title, owner, module.windowOwned());
}

TFmKartot* UiWindowOpener::browseOwning(TDMDane* module, DataSet& dataSet, const QString& title, Command* owner)
{
    return open(*module, dataSet, title, owner, true);
}

TFmKartot* UiWindowOpener::open(TDMDane& module, DataSet& dataSet, const QString& title, Command* owner, bool owning)
{
    RunContext& context = m_context ? *m_context : module.context();
    browser::OpenRequest request;
    // A toolbar button's text names the window unless the caller gave it a
    // title of its own (one other than the command's caption).
    const std::optional<QString> button = toolbarclick::take();
    const bool captionTitle = title.isEmpty() || (owner && title == owner->plainCaption());
    if (button && captionTitle)
        request.text = *button;
    else
        request.text = title.isEmpty() && owner ? owner->caption : title;
    if (request.text.isEmpty())
        request.from = browser::OpenedFrom::Other;
    else
        request.from = button ? browser::OpenedFrom::Button : browser::OpenedFrom::MenuCommand;
    // A browser's command opens from that browser even while another window
    // is active (its docked windows are opened before it is activated).
    QWidget* from = TFmKartot::commandWindow();
    if (!from)
        from = QApplication::activeWindow();
    auto* w = new TFmKartot(&module, dataSet, context, m_settings, request, owner, from);
    if (owning && !module.parent())
        module.setParent(w);
    m_last = w;
    if (auto* parentBrowser = qobject_cast<TFmKartot*>(from); parentBrowser && owner)
        parentBrowser->controller().addNext(w, owner->label.isEmpty() ? owner->plainCaption() : owner->label);
    track(w, owner);
    if (context.settings.modalWindows) {
        w->runModal();
    } else {
        QPointer<TFmKartot> opened = w;
        w->show();
        w->restoreDocked();
        // The windows it docked were opened after it; the last is still this one.
        if (opened)
            m_last = opened;
    }
    return m_last;
}

void UiWindowOpener::openMemoWindow(TDMDane& module, DataSet& dataSet, const QString& field,
                                    const QString& caption, Command* owner)
{
    if (!dataSet.table)
        return;
    RunContext& context = m_context ? *m_context : module.context();
    QWidget* from = TFmKartot::commandWindow();
    if (!from)
        from = QApplication::activeWindow();
    auto* w = new MemoFieldWindow(*dataSet.table, field, caption, m_settings, context.prompts, from);
    track(w, owner);
    w->show();
}

UiWindowOpener::WindowId UiWindowOpener::track(QWidget* window, Command* owner)
{
    if (!window)
        return 0;
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (owner && owner->opensWindow)
        owner->checked = true;
    m_open << Open{window, owner, 0};
    const WindowId id = announceOpened(owner);
    for (Open& o : m_open)
        if (o.window == window && o.id == 0)
            o.id = id;
    connect(window, &QObject::destroyed, this, [this, id, owner] { forget(id, owner); });
    TFmKartot::refreshAllCommandChecks();
    return id;
}

bool UiWindowOpener::stillOpen(const QWidget* window)
{
    if (!window)
        return false;
    // A browser that has accepted closing is gone in all but memory.
    if (const auto* k = qobject_cast<const TFmKartot*>(window))
        return !k->closed();
    // A docked window is hidden and open.
    if (const auto* p = qobject_cast<const TFmPodstawa*>(window); p && p->dockedIn())
        return true;
    return window->isVisible();
}

void UiWindowOpener::forget(WindowId id, Command* owner)
{
    bool ownerHasMore = false;
    QList<Open> alive;
    for (const Open& o : m_open) {
        if (!o.window || o.id == id)
            continue;
        alive << o;
        ownerHasMore = ownerHasMore || o.owner == owner;
    }
    m_open = alive;
    if (owner && !ownerHasMore)
        owner->checked = false;
    TFmKartot::refreshAllCommandChecks();
    announceClosed(id);
}

bool UiWindowOpener::closeOwnedBy(Command* owner)
{
    bool any = false;
    const QList<Open> open = m_open;
    for (const Open& o : open) {
        if (o.owner == owner && o.window) {
            o.window->close();
            any = true;
        }
    }
    // A window that refused to close keeps its command checked.
    bool ownerHasMore = false;
    for (const Open& o : m_open)
        if (o.owner == owner && stillOpen(o.window))
            ownerHasMore = true;
    if (owner && !ownerHasMore)
        owner->checked = false;
    TFmKartot::refreshAllCommandChecks();
    return any;
}

QWidget* UiWindowOpener::widget(WindowId id) const
{
    for (const Open& o : m_open)
        if (o.id == id && stillOpen(o.window))
            return o.window.data();
    return nullptr;
}

TFmKartot* UiWindowOpener::window(WindowId id) const
{
    return qobject_cast<TFmKartot*>(widget(id));
}

bool UiWindowOpener::closeWindow(WindowId id)
{
    QWidget* w = widget(id);
    if (!w)
        return false;
    QPointer<QWidget> guard(w);
    w->close();
    return !stillOpen(guard);
}

bool UiWindowOpener::isOpen(WindowId id) const
{
    return widget(id) != nullptr;
}

QList<TFmKartot*> UiWindowOpener::windows() const
{
    QList<TFmKartot*> out;
    for (const Open& o : m_open)
        if (auto* k = qobject_cast<TFmKartot*>(o.window.data()))
            out << k;
    return out;
}
