#pragma once
// The child of a new row in a list of several children (charge lines,
// payments): the first new row after the list opens asks, in "Wybór", how
// children are entered; "Podaj kolejne dziecko" then gives each new row the
// child after the one of the row that was current, "Wyświetl listę dzieci"
// lets the user pick from the children list every time. The answer holds
// while the list stays open (one NextChildEntry per opened list).

#include "browser/prompts.h"

#include <QList>
#include <QVariant>

namespace fees {

class NextChildEntry {
public:
    enum class Mode { Unasked, NextChild, ChildList };

    // `children` in the children list's order (caption, KOD); `remembered`
    // is the child of the row that was current (empty when none). Returns
    // the child for the new row, or an empty value: the end of the list
    // ("To było ostatnie dziecko"), a cancelled pick or a closed question.
    QVariant childForNewRow(Prompts& prompts, const QList<PickEntry>& children, const QVariant& remembered,
                            const QString& listTitle);

    Mode mode() const { return m_mode; }

    static QString questionTitle() { return QStringLiteral("Wybór"); }
    static QString questionText() { return QStringLiteral("Przy wprowadzaniu kolejnej pozycji"); }
    static QString nextChildButton() { return QStringLiteral("Podaj kolejne dziecko"); }
    static QString childListButton() { return QStringLiteral("Wyświetl listę dzieci"); }
    static QString lastChildMessage() { return QStringLiteral("To było ostatnie dziecko"); }

private:
    Mode m_mode = Mode::Unasked;
};

}  // namespace fees
