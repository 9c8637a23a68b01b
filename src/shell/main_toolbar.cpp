#include "main_toolbar.h"

#include "shell/main_commands.h"
#include "store/params.h"

namespace maintoolbar {

using permissions::MenuEntry;

const MenuEntry* findCommand(const QList<MenuEntry>& menus, const QString& name)
{
    if (name.isEmpty())
        return nullptr;
    for (const MenuEntry& entry : menus) {
        if (entry.submenu) {
            if (const MenuEntry* found = findCommand(entry.children, name))
                return found;
        } else if (!entry.separator && entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

namespace {

const MenuEntry* findMenu(const QList<MenuEntry>& menus, const QString& name)
{
    for (const MenuEntry& entry : menus)
        if (entry.submenu && entry.name == name)
            return &entry;
    return nullptr;
}

}  // namespace

QStringList fromStored(const std::optional<QString>& stored, const QList<MenuEntry>& menus)
{
    QStringList buttons;
    const QStringList lines = stored ? memoLines(*stored) : QStringList();
    for (const QString& line : lines) {
        const MenuEntry* command = findCommand(menus, line.trimmed());
        if (!command)
            buttons << QString();
        else if (command->visible && !buttons.contains(command->name))
            buttons << command->name;
    }
    if (lines.isEmpty()) {
        if (const MenuEntry* data = findMenu(menus, mainmenu::dataMenu()))
            for (const MenuEntry& entry : data->children)
                if (!entry.separator && !entry.submenu && entry.visible)
                    buttons << entry.name;
        buttons << QString();
    }
    return buttons;
}

QString toStored(const QStringList& buttons)
{
    QString text;
    for (const QString& name : buttons)
        text += name + QStringLiteral("\r\n");
    return text;
}

QList<OrderedEntry> choiceEntries(const QStringList& buttons, const QList<MenuEntry>& menus, int& checkedCount)
{
    QList<OrderedEntry> entries;
    auto entryOf = [](const QString& name) {
        const mainmenu::CommandDef* def = mainmenu::command(name);
        OrderedEntry e;
        e.text = def ? def->hint : name;
        e.value = name;
        e.image = def ? def->image : -1;
        return e;
    };
    QStringList present;
    for (const QString& name : buttons) {
        if (name.isEmpty()) {
            entries << OrderedEntry::makeSeparator();
        } else {
            entries << entryOf(name);
            present << name;
        }
    }
    checkedCount = int(entries.size());
    for (const QString& menuName : {mainmenu::dataMenu(), mainmenu::dictionaryMenu(), mainmenu::securityMenu()}) {
        const MenuEntry* menu = findMenu(menus, menuName);
        if (!menu)
            continue;
        for (const MenuEntry& entry : menu->children) {
            if (entry.separator || entry.submenu || !entry.visible || present.contains(entry.name))
                continue;
            const mainmenu::CommandDef* def = mainmenu::command(entry.name);
            if (!def || def->hint.isEmpty())
                continue;
            entries << entryOf(entry.name);
            present << entry.name;
        }
    }
    return entries;
}

QStringList fromChoice(const QList<OrderedEntry>& chosen)
{
    QStringList buttons;
    for (const OrderedEntry& e : chosen)
        buttons << (e.separator ? QString() : e.value.toString());
    return buttons;
}

bool choose(Prompts& prompts, const QList<MenuEntry>& menus, QStringList& buttons)
{
    int checked = 0;
    QList<OrderedEntry> entries = choiceEntries(buttons, menus, checked);
    if (!prompts.pickOrderedChecks(pickerTitle(), entries, checked))
        return false;
    buttons = fromChoice(entries);
    return true;
}

}  // namespace maintoolbar
