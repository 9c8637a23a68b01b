#pragma once
// The base of every window opened from a command: the "Pojemnik" box, the
// status bar, "&Plik"/"&Zamknij" and "&Ustawienia"/"&Na wierzchu", the
// placement rules and keeping the place under the window's key.

#include <QMainWindow>
#include <QPointer>

class KeyValueSettings;
class QGroupBox;
class QMenu;
class QVBoxLayout;

class TFmPodstawa : public QMainWindow {
    Q_OBJECT
public:
    explicit TFmPodstawa(QWidget* parent = nullptr);

    QGroupBox* container() const { return m_box; }
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

private:
    QGroupBox* m_box;
    QVBoxLayout* m_boxLayout;
    QMenu* m_fileMenu;
    QMenu* m_settingsMenu;
    QAction* m_close;
    QAction* m_onTop;
    QPointer<QWidget> m_openedFrom;
};
