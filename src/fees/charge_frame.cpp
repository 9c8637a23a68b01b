#include "charge_frame.h"

#include "browser/prompts.h"
#include "registers/child_caption.h"
#include "shell/access_rules.h"
#include "store/database.h"
#include "store/query.h"

#include <QCollator>
#include <QLocale>
#include <QSet>

#include <algorithm>

namespace fees {

bool chooseComponents(ChargeRunState& state)
{
    const QList<catalogue::Component> all = catalogue::components(state.db);
    QList<PickEntry> entries;
    for (const catalogue::Component& c : all)
        entries << PickEntry{c.name, c.code};
    if (!state.prompts.pickChecks(QStringLiteral("Wybierz składniki opłat"), entries, int(entries.size())))
        return false;
    QSet<int> kept;
    for (const PickEntry& e : entries)
        kept.insert(e.value.toInt());
    state.components.clear();
    for (const catalogue::Component& c : all)
        if (kept.contains(c.code))
            state.components << c;
    return true;
}

namespace {

struct ActiveChild {
    RunChild child;
    int group = 0;
    QString name;
};

void addNamed(ChargeRunState& state, const QList<int>& codes)
{
    Query q(state.db, QStringLiteral("SELECT NAZWA, ULICA, PESEL FROM DZIECI WHERE KOD = :K"));
    for (const int code : codes) {
        q.bind(QStringLiteral("K"), code).exec();
        if (q.next())
            state.children << RunChild{code, childCaption(q.value(0).toString(), q.value(1).toString(),
                                                          q.value(2).toString())};
    }
}

bool byGroups(ChargeRunState& state)
{
    QList<PickEntry> groups;
    {
        Query q(state.db, QStringLiteral("SELECT KOD, NAZWA FROM KLASY ORDER BY KOLEJ, KOD"));
        q.exec();
        while (q.next()) {
            const QString code = q.value(0).toString();
            if (state.visibleGroups.isEmpty() || permissions::groupVisible(state.visibleGroups, code))
                groups << PickEntry{q.value(1).toString(), q.value(0).toInt()};
        }
    }
    if (!state.prompts.pickChecks(QStringLiteral("Wybierz grupy"), groups, int(groups.size())))
        return false;
    QSet<int> ticked;
    for (const PickEntry& g : groups)
        ticked.insert(g.value.toInt());

    QList<ActiveChild> active;
    Query q(state.db, QStringLiteral("SELECT KOD, NAZWA, ULICA, PESEL, KLASA FROM DZIECI WHERE AKTYWNY = 'T'"));
    q.exec();
    while (q.next()) {
        if (q.value(4).isNull() || !ticked.contains(q.value(4).toInt()))
            continue;
        ActiveChild c;
        c.child.code = q.value(0).toInt();
        c.name = q.value(1).toString();
        c.child.caption = childCaption(c.name, q.value(2).toString(), q.value(3).toString());
        c.group = q.value(4).toInt();
        active << c;
    }
    // Invoice numbers follow this order, so it must not depend on the engine's collation.
    QCollator polish{QLocale(QLocale::Polish)};
    std::sort(active.begin(), active.end(), [&](const ActiveChild& a, const ActiveChild& b) {
        if (a.group != b.group)
            return a.group < b.group;
        const int byName = polish.compare(a.name, b.name);
        return byName != 0 ? byName < 0 : a.child.code < b.child.code;
    });
    for (const ActiveChild& c : active)
        state.children << c.child;
    return true;
}

}  // namespace

bool chooseChildren(ChargeRunState& state, const ChargeChildren& children)
{
    state.children.clear();
    if (children.fromGrid) {
        addNamed(state, !children.marked.isEmpty() ? children.marked
                        : children.currentRow ? QList<int>{children.currentRow} : QList<int>{});
        return true;
    }
    if (children.oneChild) {
        addNamed(state, {children.oneChild});
        return true;
    }
    return byGroups(state);
}

}  // namespace fees
