#include "next_child_entry.h"

namespace fees {

QVariant NextChildEntry::childForNewRow(Prompts& prompts, const QList<PickEntry>& children,
                                        const QVariant& remembered, const QString& listTitle)
{
    if (m_mode == Mode::Unasked) {
        const int answer =
            prompts.askChoice(questionTitle(), questionText(), {nextChildButton(), childListButton()});
        if (answer == -1)
            m_mode = Mode::NextChild;
        else if (answer == -2)
            m_mode = Mode::ChildList;
        else
            return {};  // closed: asked again with the next row
    }
    if (m_mode == Mode::ChildList) {
        int key = remembered.isValid() && !remembered.isNull() ? remembered.toInt() : 0;
        if (!prompts.pickRecord(listTitle, children, key, false))
            return {};
        return key;
    }
    if (children.isEmpty())
        return {};
    if (!remembered.isValid() || remembered.isNull())
        return children.first().value;
    for (qsizetype i = 0; i < children.size(); ++i) {
        if (children[i].value.toInt() != remembered.toInt())
            continue;
        if (i + 1 < children.size())
            return children[i + 1].value;
        prompts.showInfo(lastChildMessage());
        return {};
    }
    // The remembered child is not in the list (another group, say): start over.
    return children.first().value;
}

}  // namespace fees
