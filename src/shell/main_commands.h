#pragma once
// The main window's commands as data: menus in order, and for each command
// its caption, shortcut, image, hint and what it does. The window builds its
// actions from this table; the function each command is granted under comes
// from the function-name table ("TFmMain." + name).

#include "shell/access_rules.h"

#include <QList>
#include <QString>

namespace mainmenu {

inline QString owner() { return QStringLiteral("TFmMain"); }

enum class Action {
    Close,
    Backup,
    Area,  // opens the area registered under `area`
    NewPassword,
    Logout,
    Login,
    Internet,
    SystemDate,
    DateFilter,
    ModalWindows,
    RaisedButtons,
    AutoEdit,
    StayOnTop,
    About,
};

struct CommandDef {
    QString menu;  // the top menu's name ("Dane1")
    QString name;  // "Dzieci1"
    QString caption;
    QString shortcut;  // QKeySequence text
    int image = -1;
    QString hint;
    Action action = Action::Area;
    QString area;  // for Action::Area: the registered area name

    bool isToggleSetting() const
    {
        return action == Action::DateFilter || action == Action::ModalWindows || action == Action::RaisedButtons
            || action == Action::AutoEdit || action == Action::StayOnTop;
    }
};

// Every command, in menu order.
const QList<CommandDef>& commands();
const CommandDef* command(const QString& name);
// "TFmMain.Dzieci1"
QString identifier(const QString& name);

// The menus with their commands and separators as the permission rules
// see them (all visible, nothing tidied).
QList<permissions::MenuEntry> menuTree();

// The top menus' names.
inline QString fileMenu() { return QStringLiteral("Plik1"); }
inline QString securityMenu() { return QStringLiteral("Ochrona1"); }
inline QString dataMenu() { return QStringLiteral("Dane1"); }
inline QString dictionaryMenu() { return QStringLiteral("Sowniki1"); }
inline QString settingsMenu() { return QStringLiteral("Ustawienia1"); }
inline QString helpMenu() { return QStringLiteral("Pomoc1"); }

// Names of commands the shell itself refers to.
inline QString backupCommand() { return QStringLiteral("Eksportuj1"); }
inline QString systemDateCommand() { return QStringLiteral("Datasystemu1"); }
inline QString remindersCommand() { return QStringLiteral("Przypomnienia1"); }
inline QString attendanceCommand() { return QStringLiteral("Obecnosci1"); }

// Areas the internet command's choices open (besides the administrator's
// password, which the shell sets itself).
inline QString syncArea() { return QStringLiteral("Synchronizacja"); }
inline QString syncConfigurationArea() { return QStringLiteral("Synchronizacjakonfiguracja"); }
inline QString webLoginsArea() { return QStringLiteral("Przedlogi"); }

// Every area name a main-window command may open, for the registers'
// authors and for tests.
QStringList areaNames();

}  // namespace mainmenu
