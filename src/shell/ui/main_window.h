#pragma once
// The main window: a narrow bar across the top of the screen with the main
// menu, the user's toolbar and a status line. What it does lives in
// MainController; the window maps the controller's commands onto actions.

#include "shell/main_controller.h"

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QToolBar;

// "&O programie" and the start-up notice.
class TFmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFmAbout(QWidget* parent = nullptr);
    void setText(const QString& text);
    QString text() const;
    // Shown without a button while the program starts.
    void showNotice();
    // Modal with its "&OK" button.
    void showModal();
    QPushButton* okButton() const { return m_ok; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_text;
    QPushButton* m_ok;
};

class TFmMain : public QMainWindow, public MainView, public OpenWindows {
    Q_OBJECT
public:
    explicit TFmMain(QWidget* parent = nullptr);
    ~TFmMain() override;

    // The services of the run; the window and its window closer are filled
    // in here. Call before the window is shown.
    void attach(MainServices services);
    MainController* controller() const { return m_controller.get(); }

    // The pictures come with the first toolbar or menu shown (the login
    // dialog comes sooner without them); ensureIcons() sets them at once.
    QAction* action(const QString& command) const { return m_actions.value(command); }
    void ensureIcons();
    // Made with the first toolbar of a login (its making loads pictures).
    QToolBar* toolBar() const { return m_toolbar; }
    TFmAbout* about() const { return m_about; }
    // The picture of a command's image number.
    static QIcon commandIcon(int image, const QString& caption);
    // The resource file of that picture; empty for an image without one.
    static QString commandPicture(int image);

    // MainView
    void setTitle(const QString& title) override;
    void setAboutText(const QString& text) override;
    void commandsChanged() override;
    void toolbarChanged() override;
    void place(const QRect& frame, bool maximized) override;
    void setStayOnTop(bool on) override;
    void closeStartupNotice() override;
    void showAbout() override;
    void setWaitCursor(bool on) override;
    void requestClose() override;
    QRect availableGeometry() const override;

    // OpenWindows
    bool closeAll() override;

signals:
    // The first showing ended; `ok` false when the program must end.
    void started(bool ok);
    // The window was closed for good: the run ends.
    void runEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void buildMenus();
    void makeToolbar();
    void runFirstShow();
    // Area windows open below the toolbar, over the window's empty body.
    void updateDesk();

    std::unique_ptr<MainController> m_controller;
    TFmAbout* m_about;
    QToolBar* m_toolbar = nullptr;
    QList<QMenu*> m_menus;
    QList<QList<QAction*>> m_entryActions;  // per menu, one per entry (separators too)
    QHash<QString, QAction*> m_actions;
    bool m_iconsSet = false;
    bool m_shownOnce = false;
    bool m_closed = false;
};
