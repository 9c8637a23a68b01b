#include "memo_choice.h"

#include "store/params.h"
#include "store/table.h"

QStringList storedLines(const QString& memoText)
{
    QStringList lines = memoLines(memoText);
    lines.removeAll(QString());
    return lines;
}

bool editMemoChoice(Prompts& prompts, Table& row, const QString& field, const QString& title, MemoChoice choice,
                    const std::function<QStringList(const QList<PickEntry>&)>& linesOf)
{
    if (!prompts.pickChecks(title, choice.entries, choice.checkedCount))
        return false;
    if (!row.isEditing())
        row.edit();
    row.setValue(field, linesOf(choice.entries).join(QStringLiteral("\r\n")));
    return true;
}
