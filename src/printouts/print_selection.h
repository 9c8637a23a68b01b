#pragma once
// Which children a template-driven printout (invoices, statements, letters)
// takes: the groups chosen in "Grupy dzieci", inactive children or not, and
// the children ticked in "Wybierz". Shared by the print dialogs, headless.
//
//   GroupSelection   no restriction or a list of groups; the check list and
//                    what its answer does; the caption and the SQL condition
//   ChildChoice      one child offered in "Wybierz", and its caption
//   childChoices     the children of a printout's documents, read once
//   chooseChildren   the "Wybierz" check list
//   childCondition   the SQL condition of the ticked children
//
// Conditions are made of integer codes only, never of typed text.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Database;
class Prompts;
struct PickEntry;

namespace printouts {

struct GroupChoice {
    int code = 0;  // KLASY.KOD
    QString name;

    bool operator==(const GroupChoice&) const = default;
};

class GroupSelection {
public:
    // `visible`: the groups the user may see, in KOLEJ order; `seesAll`:
    // the user may see every group. Starts unrestricted for such a user,
    // else as the list of the visible groups.
    GroupSelection(QList<GroupChoice> visible, bool seesAll);
    // The visible groups of the login (group codes as text, "-1" for all)
    // read from KLASY in KOLEJ order.
    static GroupSelection forLogin(Database& db, const QStringList& visibleGroups);

    bool restricted() const { return m_restricted; }
    // The groups chosen; empty when unrestricted (or when none is ticked).
    const QList<GroupChoice>& chosen() const { return m_chosen; }
    const QList<GroupChoice>& visible() const { return m_visible; }

    // "Wszystkie" without restriction, "Wybrane" with a list.
    QString caption() const;

    // The check list: the chosen groups first, then every other visible
    // group; `checkedCount` of them start ticked (all when unrestricted).
    QList<PickEntry> checkList(int& checkedCount) const;
    // The answer of the check list (the ticked entries): the list becomes
    // those groups; a user who may see every group and ticked them all is
    // unrestricted again.
    void applyChecked(const QList<PickEntry>& ticked);
    // Asks "Grupy dzieci"; a cancelled list keeps the previous choice.
    bool choose(Prompts& prompts);

    // " and <column> in (k1,k2)", "" without restriction, " and 1=0" for an
    // empty list.
    QString condition(const QString& column) const;

    static QString checkListTitle() { return QStringLiteral("Grupy dzieci"); }

private:
    QList<GroupChoice> m_visible;
    bool m_seesAll = false;
    bool m_restricted = false;
    QList<GroupChoice> m_chosen;
};

struct ChildChoice {
    int code = 0;  // DZIECI.KOD
    QString name;
    QString street;
    QString pesel;

    // NAZWA + ", " + ULICA, and " (PESEL: …)" when the child has one.
    QString caption() const;
};

// The children of the codes, in the codes' order, as "Wybierz" shows them;
// a code without a DZIECI row is left out.
QList<ChildChoice> childChoices(Database& db, const QList<int>& codes);

// "Wybierz": the children, all ticked. On OK the ticked codes (possibly
// none); nullopt when cancelled, which leaves the printout unrestricted by
// child.
std::optional<QList<int>> chooseChildren(Prompts& prompts, const QList<ChildChoice>& children);

// " and <column> in (k1,k2)", or " and 1=0" when no child is ticked.
QString childCondition(const QString& column, const QList<int>& codes);

}  // namespace printouts
