#pragma once
// Opens record browsers as windows: modally when the modal-windows setting
// is on, keeping the owning command checked while its window is open.

#include "browser/memo_windows.h"
#include "browser/window_opener.h"

#include <QList>
#include <QObject>
#include <QPointer>

class KeyValueSettings;
class TFmKartot;
struct RunContext;

class UiWindowOpener : public QObject, public WindowOpener, public MemoWindows {
    Q_OBJECT
public:
    // `context` may be set after construction (the context holds the opener).
    explicit UiWindowOpener(KeyValueSettings& settings, QObject* parent = nullptr);
    void setContext(RunContext* context) { m_context = context; }

    void browse(TDMDane& module, DataSet& dataSet, const QString& title, Command* owner) override;
    bool closeOwnedBy(Command* owner) override;
    bool closeWindow(WindowId id) override;
    bool isOpen(WindowId id) const override;
    // As browse; the window takes the module and deletes it when it closes.
    TFmKartot* browseOwning(TDMDane* module, DataSet& dataSet, const QString& title, Command* owner);

    // A memo field's editor window, opened from the window in front.
    void openMemoWindow(TDMDane& module, DataSet& dataSet, const QString& field, const QString& caption,
                        Command* owner) override;

    // Any other window a command opens (the memo editor, an area's own
    // window), once it is shown: the command is checked while the window is
    // open and closes it when chosen again, as for a browser. The window
    // is made to go when it closes.
    WindowId track(QWidget* window, Command* owner);

    QList<TFmKartot*> windows() const;
    TFmKartot* window(WindowId id) const;
    QWidget* widget(WindowId id) const;
    // The window of the last browse (for tests and the caller of a modal one
    // this is null once it closed).
    TFmKartot* last() const { return m_last; }

private:
    TFmKartot* open(TDMDane& module, DataSet& dataSet, const QString& title, Command* owner, bool owning);
    void forget(WindowId id, Command* owner);

    KeyValueSettings& m_settings;
    RunContext* m_context = nullptr;
    struct Open {
        QPointer<QWidget> window;
        Command* owner = nullptr;
        WindowId id = 0;
    };
    QList<Open> m_open;
    QPointer<TFmKartot> m_last;
    static bool stillOpen(const QWidget* window);
};
