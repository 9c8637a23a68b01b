#pragma once
// Opens record browsers as windows: modally when the modal-windows setting
// is on, keeping the owning command checked while its window is open.

#include "browser/window_opener.h"

#include <QList>
#include <QObject>
#include <QPointer>

class KeyValueSettings;
class TFmKartot;
struct RunContext;

class UiWindowOpener : public QObject, public WindowOpener {
    Q_OBJECT
public:
    // `context` may be set after construction (the context holds the opener).
    explicit UiWindowOpener(KeyValueSettings& settings, QObject* parent = nullptr);
    void setContext(RunContext* context) { m_context = context; }

    void browse(TDMDane& module, DataSet& dataSet, const QString& title, Command* owner) override;
    bool closeOwnedBy(Command* owner) override;
    // As browse; the window takes the module and deletes it when it closes.
    TFmKartot* browseOwning(TDMDane* module, DataSet& dataSet, const QString& title, Command* owner);

    QList<TFmKartot*> windows() const;
    // The window of the last browse (for tests and the caller of a modal one
    // this is null once it closed).
    TFmKartot* last() const { return m_last; }

private:
    TFmKartot* open(TDMDane& module, DataSet& dataSet, const QString& title, Command* owner, bool owning);

    KeyValueSettings& m_settings;
    RunContext* m_context = nullptr;
    struct Open {
        QPointer<TFmKartot> window;
        Command* owner = nullptr;
    };
    QList<Open> m_open;
    QPointer<TFmKartot> m_last;
};
