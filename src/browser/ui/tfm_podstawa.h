#pragma once
// The base of every window opened from a command: the "Pojemnik" box, the
// status bar, "&Plik"/"&Zamknij" and "&Ustawienia"/"&Na wierzchu", the
// placement rules, keeping the place under the window's key, and docking
// one window into another.

#include <QList>
#include <QMainWindow>
#include <QPointer>

class DockBox;
class KeyValueSettings;
class QGroupBox;
class QMenu;
class QMimeData;
class QSplitter;
class QVBoxLayout;

class TFmPodstawa : public QMainWindow {
    Q_OBJECT
public:
    explicit TFmPodstawa(QWidget* parent = nullptr);
    ~TFmPodstawa() override;

    QGroupBox* container() const;
    // Where the window's own content goes (docked boxes go below it).
    QVBoxLayout* containerLayout() const { return m_boxLayout; }
    QMenu* fileMenu() const { return m_fileMenu; }
    QMenu* settingsMenu() const { return m_settingsMenu; }
    QAction* closeAction() const { return m_close; }
    QAction* stayOnTopAction() const { return m_onTop; }

    // The window it was opened from (placement, "Poprzednie").
    void setOpenedFrom(QWidget* window) { m_openedFrom = window; }
    QWidget* openedFrom() const { return m_openedFrom; }

    // Size and place: beside the window it was opened from, or the stored
    // place when windows are not modal.
    void place(KeyValueSettings& settings, const QString& key, bool modalWindows, bool centred);
    void savePlace(KeyValueSettings& settings, const QString& key) const;

    void setStayOnTop(bool on);

    // --- docking -------------------------------------------------------------
    // Moves the source's box into this window, at the bottom below a
    // splitter, half as high as it was and captioned with the source's
    // title; the source is hidden and lives on as the owner of its content.
    // False, and nothing moved, when the source cannot go here: itself, a
    // window docked already, or this window while it is docked.
    bool dock(TFmPodstawa& source);
    bool canDock(const TFmPodstawa& source) const;
    // The window this one's box is docked in; null when undocked.
    TFmPodstawa* dockedIn() const { return m_dockedIn; }
    // The windows docked here, in order.
    QList<TFmPodstawa*> dockedWindows() const;
    QSplitter* dockSplitter() const { return m_dockSplitter; }

    // The window whose content holds `w` (the innermost, when boxes are docked
    // in docked boxes); null when none.
    static TFmPodstawa* holding(QWidget* w);

protected:
    // Closes the windows docked here through their own close paths; false
    // when one of them stayed open.
    bool closeDocked();

    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    TFmPodstawa* sourceOf(const QMimeData* data) const;
    void forgetDocked(TFmPodstawa* window);
    void takeBoxBack();

    int m_id;
    DockBox* m_box;
    QSplitter* m_dockSplitter;
    QVBoxLayout* m_boxLayout;
    QMenu* m_fileMenu;
    QMenu* m_settingsMenu;
    QAction* m_close;
    QAction* m_onTop;
    QPointer<QWidget> m_openedFrom;
    QPointer<TFmPodstawa> m_dockedIn;
    QList<QPointer<TFmPodstawa>> m_docked;
};
