#pragma once
// What a logged-in user may see: which commands of a window or module are
// shown, how its menus are tidied afterwards, which rows a group filter lets
// through and which extra classes he may work with. Headless: the windows map
// the menu model onto their own actions and menus.
//
// "granted" is the login's list of function names; "visibleGroups" its list
// of group codes as text ("-1" = all groups; the login's list may end with an
// empty entry, which never admits a row).

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace permissions {

// One entry of a menu, a popup menu or a toolbar.
struct MenuEntry {
    QString name;     // the command's object name ("Dzieci1"); with the owner's class it forms the identifier
    QString caption;
    bool separator = false;
    bool submenu = false;
    bool visible = true;       // the entry's own state; applyFunctions sets it for commands of the table
    bool tidiedAway = false;   // set only by tidyMenu: an idle separator or a menu with nothing to show
    QList<MenuEntry> children;  // the entries of a submenu

    bool shown() const { return visible && !tidiedAway; }

    static MenuEntry command(const QString& name, const QString& caption);
    static MenuEntry separatorLine();
    static MenuEntry menu(const QString& name, const QString& caption, const QList<MenuEntry>& children);
};

QString extraClassesFunction();           // "Zajecia dodatkowe": every class, with the register
QString extraClassAttendanceFunction();   // "Zajecia dodatkowe obecnosci": attendance at every class
QString extraClassFunction(const QString& classCode);  // "Zajecia dodatkowe - " + code: one class

// The visibility a command of the function table gets; nullopt for a
// command without an entry, which is left as it is.
std::optional<bool> commandVisibility(const QString& identifier, const QStringList& granted);

// Applies commandVisibility to every entry (submenus included, recursively)
// of a window or module whose class name is `owner` ("TFmMain", "TDMDzieci").
void applyFunctions(const QString& owner, QList<MenuEntry>& entries, const QStringList& granted);

// Hides separators that separate nothing and, for a menu, the menu itself
// when it has nothing but separators to show. Separators and menus are
// recomputed from scratch, so running it again after another login restores
// what the previous user did not see. Returns whether anything is left shown.
bool tidyMenu(QList<MenuEntry>& entries);
bool tidyMenu(MenuEntry& menu);

// The row filter of a group field: true when the row may stay.
bool groupVisible(const QStringList& visibleGroups, const QString& groupField);

// A row of the extra classes register (ZAJDOD).
bool extraClassInRegister(const QStringList& granted, const QStringList& visibleGroups, const QString& classGroup,
                          const QString& classCode);
// An extra class (ZAJDOD) listed by the attendance window; a class without a
// group passes the group test.
bool extraClassInAttendance(const QStringList& granted, const QStringList& visibleGroups, const QString& classGroup,
                            const QString& classCode);
// A held class (ZAJODB) listed by the attendance window: its own group, its
// class code (ZAJECIE).
bool heldClassInAttendance(const QStringList& granted, const QStringList& visibleGroups, const QString& heldGroup,
                           const QString& classCode);

// The functions a one-group installation keeps: of the main window's
// functions only those of security, group synchronisation, children,
// attendance, extra charges and information stay; "Zajecia dodatkowe"
// becomes "Zajecia dodatkowe obecnosci". Every occurrence is dealt with (the
// user's and his groups' lists may repeat a name), and narrowing an already
// narrowed list changes nothing, so it is safe to run after every login.
QStringList narrowToOneGroup(const QStringList& granted);

}  // namespace permissions
