#include "ui_window_opener.h"

#include "browser/module.h"
#include "browser/run_context.h"
#include "browser/ui/tfm_kartot.h"

#include <QApplication>

UiWindowOpener::UiWindowOpener(KeyValueSettings& settings, QObject* parent) : QObject(parent), m_settings(settings) {}

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
    request.text = title.isEmpty() && owner ? owner->caption : title;
    request.from = request.text.isEmpty() ? browser::OpenedFrom::Other : browser::OpenedFrom::MenuCommand;
    QWidget* from = QApplication::activeWindow();
    auto* w = new TFmKartot(&module, dataSet, context, m_settings, request, owner, from);
    if (owning && !module.parent())
        module.setParent(w);
    if (owner && owner->opensWindow)
        owner->checked = true;
    m_open << Open{w, owner};
    m_last = w;
    if (auto* parentBrowser = qobject_cast<TFmKartot*>(from); parentBrowser && owner)
        parentBrowser->controller().addNext(w, owner->label.isEmpty() ? owner->plainCaption() : owner->label);
    connect(w, &QObject::destroyed, this, [this, owner] {
        bool stillOpen = false;
        QList<Open> alive;
        for (const Open& o : m_open) {
            if (!o.window)
                continue;
            alive << o;
            stillOpen = stillOpen || o.owner == owner;
        }
        m_open = alive;
        if (owner && !stillOpen)
            owner->checked = false;
        TFmKartot::refreshAllCommandChecks();
    });
    TFmKartot::refreshAllCommandChecks();
    if (context.settings.modalWindows)
        w->runModal();
    else
        w->show();
    return m_last;
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
    bool stillOpen = false;
    for (const Open& o : m_open)
        if (o.owner == owner && o.window && o.window->isVisible())
            stillOpen = true;
    if (owner && !stillOpen)
        owner->checked = false;
    TFmKartot::refreshAllCommandChecks();
    return any;
}

QList<TFmKartot*> UiWindowOpener::windows() const
{
    QList<TFmKartot*> out;
    for (const Open& o : m_open)
        if (o.window)
            out << o.window.data();
    return out;
}
