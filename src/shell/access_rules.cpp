#include "access_rules.h"

#include "function_names.h"

#include <QSet>

namespace permissions {

namespace {

const QString& classPrefix()
{
    static const QString prefix = QStringLiteral("Zajecia dodatkowe - ");
    return prefix;
}

bool anyExtraClass(const QStringList& granted)
{
    for (const QString& entry : granted)
        if (entry.startsWith(classPrefix()))
            return true;
    return false;
}

void applyTo(const QString& owner, MenuEntry& entry, const QStringList& granted)
{
    if (!entry.separator && !entry.name.isEmpty()) {
        if (const auto visibility = commandVisibility(owner + QLatin1Char('.') + entry.name, granted))
            entry.visible = *visibility;
    }
    for (MenuEntry& child : entry.children)
        applyTo(owner, child, granted);
}

}  // namespace

MenuEntry MenuEntry::command(const QString& name, const QString& caption)
{
    MenuEntry entry;
    entry.name = name;
    entry.caption = caption;
    return entry;
}

MenuEntry MenuEntry::separatorLine()
{
    MenuEntry entry;
    entry.separator = true;
    return entry;
}

MenuEntry MenuEntry::menu(const QString& name, const QString& caption, const QList<MenuEntry>& children)
{
    MenuEntry entry;
    entry.name = name;
    entry.caption = caption;
    entry.submenu = true;
    entry.children = children;
    return entry;
}

QString extraClassesFunction()
{
    return QStringLiteral("Zajecia dodatkowe");
}

QString extraClassAttendanceFunction()
{
    return QStringLiteral("Zajecia dodatkowe obecnosci");
}

QString extraClassFunction(const QString& classCode)
{
    return classPrefix() + classCode;
}

std::optional<bool> commandVisibility(const QString& identifier, const QStringList& granted)
{
    const QString function = functions::functionOf(identifier);
    if (function.isEmpty())
        return std::nullopt;
    if (granted.contains(function))
        return true;
    // A user with at least one extra class still needs the register to reach it.
    return function == extraClassesFunction() && anyExtraClass(granted);
}

void applyFunctions(const QString& owner, QList<MenuEntry>& entries, const QStringList& granted)
{
    for (MenuEntry& entry : entries)
        applyTo(owner, entry, granted);
}

bool tidyMenu(QList<MenuEntry>& entries)
{
    bool commandSinceSeparator = false;
    bool anyCommand = false;
    MenuEntry* lastShown = nullptr;
    for (MenuEntry& entry : entries) {
        entry.tidiedAway = false;
        if (entry.submenu)
            tidyMenu(entry);
        if (!entry.shown())
            continue;
        if (entry.separator) {
            if (!commandSinceSeparator)
                entry.tidiedAway = true;
            else
                lastShown = &entry;
            commandSinceSeparator = false;
            continue;
        }
        commandSinceSeparator = true;
        anyCommand = true;
        lastShown = &entry;
    }
    if (lastShown && lastShown->separator)
        lastShown->tidiedAway = true;
    return anyCommand;
}

bool tidyMenu(MenuEntry& menu)
{
    menu.tidiedAway = !tidyMenu(menu.children);
    return menu.shown();
}

bool groupVisible(const QStringList& visibleGroups, const QString& groupField)
{
    if (visibleGroups.contains(QStringLiteral("-1")))
        return true;
    // The login's list ends with an empty entry: an empty group must not match it.
    return !groupField.isEmpty() && visibleGroups.contains(groupField);
}

bool extraClassInRegister(const QStringList& granted, const QStringList& visibleGroups, const QString& classGroup,
                          const QString& classCode)
{
    if (!groupVisible(visibleGroups, classGroup))
        return false;
    return granted.contains(extraClassesFunction()) || granted.contains(extraClassFunction(classCode));
}

bool extraClassInAttendance(const QStringList& granted, const QStringList& visibleGroups, const QString& classGroup,
                            const QString& classCode)
{
    if (!classGroup.isEmpty() && !groupVisible(visibleGroups, classGroup))
        return false;
    return granted.contains(extraClassesFunction()) || granted.contains(extraClassAttendanceFunction())
        || granted.contains(extraClassFunction(classCode));
}

bool heldClassInAttendance(const QStringList& granted, const QStringList& visibleGroups, const QString& heldGroup,
                           const QString& classCode)
{
    if (!groupVisible(visibleGroups, heldGroup))
        return false;
    return granted.contains(extraClassesFunction()) || granted.contains(extraClassAttendanceFunction())
        || granted.contains(extraClassFunction(classCode));
}

QStringList narrowToOneGroup(const QStringList& granted)
{
    static const QSet<QString> removed = [] {
        const QSet<QString> kept{
            QStringLiteral("Prawa dostepu"), QStringLiteral("Grupy uzytkownikow"), QStringLiteral("Uzytkownicy"),
            QStringLiteral("Synchronizacja grupy"), QStringLiteral("Dzieci"), QStringLiteral("Obecnosci"),
            QStringLiteral("Naliczenia dodatkowe"), QStringLiteral("Informacje"),
        };
        QSet<QString> names;
        for (const functions::Entry& entry : functions::table())
            if (entry.identifier.startsWith(QLatin1String("TFmMain.")) && !kept.contains(entry.function))
                names.insert(entry.function);
        return names;
    }();

    QStringList narrowed;
    narrowed.reserve(granted.size());
    for (const QString& name : granted) {
        if (name == extraClassesFunction()) {
            if (!narrowed.contains(extraClassAttendanceFunction()))
                narrowed << extraClassAttendanceFunction();
        } else if (!removed.contains(name)) {
            narrowed << name;
        }
    }
    return narrowed;
}

}  // namespace permissions
