#pragma once
// What the main window does, without the widgets: the first showing (login,
// institution, one-group mode, parameters, title, functions, settings), the
// commands and their visibility, the toolbar, the run's settings, logging
// in again, and closing. The window is a view over it.

#include "browser/window_opener.h"
#include "shell/access_rules.h"
#include "shell/main_settings.h"

#include <QHash>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

class KeyValueSettings;
class MessageLog;
class TDMOchrona;
struct RunContext;

// What the controller asks of the window.
class MainView {
public:
    virtual ~MainView() = default;
    virtual void setTitle(const QString& title) = 0;
    virtual void setAboutText(const QString& text) = 0;
    // Visibility, captions or check marks of commands changed.
    virtual void commandsChanged() = 0;
    virtual void toolbarChanged() = 0;
    // The window goes to this frame, maximised or not (loading the settings).
    virtual void place(const QRect& frame, bool maximized) = 0;
    virtual void setStayOnTop(bool on) = 0;
    virtual void closeStartupNotice() = 0;
    // "&O programie": modal, with its OK button.
    virtual void showAbout() = 0;
    virtual void setWaitCursor(bool on) = 0;
    // Closes the window, which ends the program (the close question follows).
    virtual void requestClose() = 0;
    // The screen without its panels.
    virtual QRect availableGeometry() const = 0;
};

// The windows opened from the main window, for "&Logowanie": each is closed
// through its own close path, so that it may ask "Zapisać zmiany?".
class OpenWindows {
public:
    virtual ~OpenWindows() = default;
    // False when a window stayed open (its question was cancelled).
    virtual bool closeAll() = 0;
};

enum class LoginResult { Accepted, Cancelled, EndProgram };

struct MainServices {
    RunContext& context;
    TDMOchrona& security;
    KeyValueSettings& settings;
    MainView& view;
    OpenWindows& windows;
    MessageLog& messages;
    // The login dialog, shown modally.
    std::function<LoginResult()> loginDialog;
    // The change of password dialog for the user, with the old password.
    std::function<void(const QString& userName)> passwordDialog;
    QStringList arguments;  // the command line without the program
    QString programFile;
    QString currentFolder;
};

// The run's window opener must outlive the controller, which listens to it.
class MainController {
public:
    explicit MainController(MainServices services);
    ~MainController();
    MainController(const MainController&) = delete;
    MainController& operator=(const MainController&) = delete;

    static QString applicationTitle() { return QStringLiteral("Lunawa"); }
    static QString aboutCredentials() { return QStringLiteral("\nIdentyfikator: admin, Hasło: tebov"); }
    static QString closeQuestion() { return QStringLiteral("Chcesz wykonać kopie bazy?"); }
    static QString deliveredPasswordQuestion()
    {
        return QStringLiteral("Hasło administratora jest wciąż hasłem dostarczonym z programem i zna je każdy, "
                              "kto ma program.\r\nCzy zmienić je teraz?");
    }

    // Runs only while nobody is logged in; false when the program must end
    // (login refused or cancelled, or a start-up step failed: the error has
    // been shown and the settings will not be written).
    bool firstShow();

    // --- commands ----------------------------------------------------------
    const QList<permissions::MenuEntry>& menus() const { return m_menus; }
    bool isShown(const QString& command) const;
    QString caption(const QString& command) const;
    // The check mark of a settings toggle, or of a command whose window is
    // open (chosen again, it closes that window and opens nothing).
    bool isChecked(const QString& command) const;
    // `buttonText`: the text of the toolbar button it was run from, which
    // titles the window it opens; empty when run from the menu.
    void run(const QString& command, const QString& buttonText = QString());
    // The windows a command opened that are still open.
    QList<WindowOpener::WindowId> windowsOf(const QString& command) const { return m_windows.value(command); }

    // --- toolbar -----------------------------------------------------------
    const QStringList& toolbar() const { return m_toolbar; }
    void customizeToolbar();  // "Ustaw &przyciski"

    // --- closing -----------------------------------------------------------
    // The close question; false keeps the program running.
    bool confirmClose();
    // Writes the settings when they were loaded, with the window's normal
    // frame and whether it is maximised.
    void saveSettings(const QRect& frame, bool maximized = false);
    bool settingsLoaded() const { return m_settingsLoaded; }
    const MainSettings& settings() const { return m_settings; }
    // "Przypomnienie", set in the reminders window and written at the end.
    void setReminder(const QString& when) { m_settings.reminder = when; }

    QString title() const { return m_title; }
    QString aboutText() const { return m_aboutText; }

private:
    bool login();
    // The reminders list after login, told that it is the start.
    void remindAtStart();
    // The delivered password is kept: the About box names it, and the
    // administrator logged in with it is asked to change it.
    void checkDeliveredPassword();
    // After every login: the narrowed functions, the title, the commands.
    void applyLogin();
    void applyCommandVisibility();
    void loadSettings();
    void relogin();
    void runBackup();
    void internet();
    void pickSystemDate();
    bool areaAvailable(const QString& command) const;
    permissions::MenuEntry* entry(const QString& command);
    const permissions::MenuEntry* entry(const QString& command) const;
    void openArea(const QString& command, const QString& area, const QVariantMap& arguments);
    // Closes the windows the command opened; false when it had none open.
    bool closeWindowsOf(const QString& command);
    void windowClosed(WindowOpener::WindowId window);

    class WindowWatch : public WindowOpener::Listener {
    public:
        explicit WindowWatch(MainController& controller) : m_controller(controller) {}
        void windowOpened(WindowOpener::WindowId, Command*) override {}
        void windowClosed(WindowOpener::WindowId window) override { m_controller.windowClosed(window); }

    private:
        MainController& m_controller;
    };

    MainServices m;
    QList<permissions::MenuEntry> m_menus;
    QStringList m_toolbar;
    MainSettings m_settings;
    bool m_settingsLoaded = false;
    bool m_mustEnd = false;  // closing without the question: a failed start or re-login
    QString m_title;
    QString m_aboutText;
    QHash<QString, QList<WindowOpener::WindowId>> m_windows;  // by command
    WindowWatch m_watch{*this};
};
