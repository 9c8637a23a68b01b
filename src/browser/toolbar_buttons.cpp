#include "toolbar_buttons.h"

#include "browser/module.h"

#include <QStringList>

namespace toolbar {

bool offerable(const Command& c)
{
    return !c.separator && c.shown() && bool(c.handler);
}

QList<Slot> fromStored(const QList<Command*>& commands, const QString& stored)
{
    QList<Slot> out;
    const QStringList lines = QString(stored).remove(QLatin1Char('\r')).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.isEmpty()) {
        for (int i = 0; i < commands.size(); ++i)
            if (offerable(*commands[i]))
                out << Slot{i};
        return out;
    }
    for (const QString& caption : lines) {
        for (int i = 0; i < commands.size(); ++i) {
            if (offerable(*commands[i]) && commands[i]->caption == caption) {
                out << Slot{i};
                break;
            }
        }
    }
    return out;
}

QString toStored(const QList<Command*>& commands, const QList<Slot>& places)
{
    QStringList lines;
    for (const Slot& s : places)
        if (!s.isSeparator() && s.command < commands.size())
            lines << commands[s.command]->caption;
    return lines.join(QStringLiteral("\r\n"));
}

namespace {

QString entryText(const Command& c)
{
    return c.label.isEmpty() ? c.plainCaption() : c.label;
}

}  // namespace

QList<OrderedEntry> choiceEntries(const QList<Command*>& commands, const QList<Slot>& places, int& checkedCount)
{
    QList<OrderedEntry> out;
    QList<bool> present(commands.size(), false);
    for (const Slot& s : places) {
        if (s.isSeparator()) {
            out << OrderedEntry::makeSeparator();
        } else if (s.command < commands.size()) {
            const Command& c = *commands[s.command];
            out << OrderedEntry{entryText(c), s.command, c.image, false};
            present[s.command] = true;
        }
    }
    checkedCount = out.size();
    for (int i = 0; i < commands.size(); ++i) {
        const Command& c = *commands[i];
        if (!present[i] && offerable(c) && !c.label.isEmpty())
            out << OrderedEntry{entryText(c), i, c.image, false};
    }
    return out;
}

QList<Slot> fromChoice(const QList<OrderedEntry>& chosen)
{
    QList<Slot> out;
    for (const OrderedEntry& e : chosen)
        out << (e.separator ? Slot{} : Slot{e.value.toInt()});
    return out;
}

bool choose(Prompts& prompts, const QList<Command*>& commands, QList<Slot>& places)
{
    int checked = 0;
    QList<OrderedEntry> entries = choiceEntries(commands, places, checked);
    if (!prompts.pickOrderedChecks(QStringLiteral("Lista dostępnych operacji"), entries, checked))
        return false;
    places = fromChoice(entries);
    return true;
}

}  // namespace toolbar
