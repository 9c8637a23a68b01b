#pragma once
// A memo field edited as a check list: the entries offered (the first ones
// checked), and on OK the field of the current row replaced by the lines
// the checked entries stand for. Saving the row is left to the user.

#include "browser/prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class Table;

struct MemoChoice {
    QList<PickEntry> entries;
    int checkedCount = 0;
};

// The lines of a stored memo without empty ones.
QStringList storedLines(const QString& memoText);

// Offers the check list; on OK puts the row into edit mode when it is not
// being edited and sets `field` to `linesOf(checked entries)` joined by
// line breaks. False when cancelled (nothing changes).
bool editMemoChoice(Prompts& prompts, Table& row, const QString& field, const QString& title, MemoChoice choice,
                    const std::function<QStringList(const QList<PickEntry>&)>& linesOf);
