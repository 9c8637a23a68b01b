#include "print_selection.h"

#include "browser/prompts.h"
#include "store/database.h"
#include "store/query.h"

#include <QHash>

#include <QSet>

namespace printouts {

namespace {

QString inList(const QString& column, const QList<int>& codes)
{
    if (codes.isEmpty())
        return QStringLiteral(" and 1=0");
    QStringList texts;
    for (int c : codes)
        texts << QString::number(c);
    return QStringLiteral(" and ") + column + QStringLiteral(" in (") + texts.join(QLatin1Char(','))
           + QLatin1Char(')');
}

}  // namespace

GroupSelection::GroupSelection(QList<GroupChoice> visible, bool seesAll)
    : m_visible(std::move(visible)), m_seesAll(seesAll), m_restricted(!seesAll)
{
    if (m_restricted)
        m_chosen = m_visible;
}

GroupSelection GroupSelection::forLogin(Database& db, const QStringList& visibleGroups)
{
    const bool all = visibleGroups.contains(QStringLiteral("-1"));
    QList<GroupChoice> groups;
    Query q(db, QStringLiteral("SELECT KOD, NAZWA FROM KLASY ORDER BY KOLEJ, KOD"));
    q.exec();
    while (q.next()) {
        const int code = q.value(0).toInt();
        if (all || visibleGroups.contains(QString::number(code)))
            groups << GroupChoice{code, q.value(1).toString()};
    }
    return GroupSelection(groups, all);
}

QString GroupSelection::caption() const
{
    return m_restricted ? QStringLiteral("Wybrane") : QStringLiteral("Wszystkie");
}

QList<PickEntry> GroupSelection::checkList(int& checkedCount) const
{
    QList<PickEntry> out;
    QSet<int> listed;
    for (const GroupChoice& g : m_chosen) {
        out << PickEntry{g.name, g.code};
        listed.insert(g.code);
    }
    for (const GroupChoice& g : m_visible)
        if (!listed.contains(g.code))
            out << PickEntry{g.name, g.code};
    checkedCount = m_restricted ? int(m_chosen.size()) : int(out.size());
    return out;
}

void GroupSelection::applyChecked(const QList<PickEntry>& ticked)
{
    QSet<int> codes;
    m_chosen.clear();
    for (const PickEntry& e : ticked) {
        const int code = e.value.toInt();
        for (const GroupChoice& g : std::as_const(m_visible))
            if (g.code == code && !codes.contains(code)) {
                m_chosen << g;
                codes.insert(code);
                break;
            }
    }
    m_restricted = true;
    if (m_seesAll) {
        bool every = true;
        for (const GroupChoice& g : std::as_const(m_visible))
            every = every && codes.contains(g.code);
        if (every) {
            m_restricted = false;
            m_chosen.clear();
        }
    }
}

bool GroupSelection::choose(Prompts& prompts)
{
    int checked = 0;
    QList<PickEntry> entries = checkList(checked);
    if (!prompts.pickChecks(checkListTitle(), entries, checked))
        return false;
    applyChecked(entries);
    return true;
}

QString GroupSelection::condition(const QString& column) const
{
    if (!m_restricted)
        return QString();
    QList<int> codes;
    for (const GroupChoice& g : m_chosen)
        codes << g.code;
    return inList(column, codes);
}

QString ChildChoice::caption() const
{
    QString text = name + QStringLiteral(", ") + street;
    if (!pesel.trimmed().isEmpty())
        text += QStringLiteral(" (PESEL: ") + pesel + QLatin1Char(')');
    return text;
}

QList<ChildChoice> childChoices(Database& db, const QList<int>& codes)
{
    const bool pesel = db.hasColumn(QStringLiteral("DZIECI"), QStringLiteral("PESEL"));
    Query q(db, pesel ? QStringLiteral("SELECT KOD, NAZWA, ULICA, PESEL FROM DZIECI")
                      : QStringLiteral("SELECT KOD, NAZWA, ULICA FROM DZIECI"));
    q.exec();
    QHash<int, ChildChoice> all;
    while (q.next()) {
        const int code = q.value(0).toInt();
        all.insert(code, ChildChoice{code, q.value(1).toString(), q.value(2).toString(),
                                     pesel ? q.value(3).toString() : QString()});
    }
    QList<ChildChoice> out;
    for (int code : codes)
        if (all.contains(code))
            out << all.value(code);
    return out;
}

std::optional<QList<int>> chooseChildren(Prompts& prompts, const QList<ChildChoice>& children)
{
    QList<PickEntry> entries;
    for (const ChildChoice& c : children)
        entries << PickEntry{c.caption(), c.code};
    if (!prompts.pickChecks(QStringLiteral("Wybierz"), entries, int(entries.size())))
        return std::nullopt;
    QList<int> codes;
    for (const PickEntry& e : entries)
        codes << e.value.toInt();
    return codes;
}

QString childCondition(const QString& column, const QList<int>& codes)
{
    return inList(column, codes);
}

}  // namespace printouts
