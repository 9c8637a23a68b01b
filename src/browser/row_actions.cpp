#include "row_actions.h"

#include "browser/clipboard_text.h"
#include "browser/refusal.h"
#include "store/error.h"
#include "store/table.h"

namespace rows {

int indexOfId(Table& table, const QVariant& id)
{
    const int keep = table.position();
    int found = -1;
    for (int r = 0; r < table.rowCount() && found < 0; ++r) {
        table.setPosition(r);
        if (table.rowId() == id)
            found = r;
    }
    if (found < 0 && keep >= 0)
        table.setPosition(keep);
    return found;
}

int removeSelected(Prompts& prompts, Table& table, const QList<int>& selected, const QString& questionPrefix)
{
    const QList<int> rows = clip::rowsToUse(table, selected);
    if (rows.isEmpty())
        return 0;
    const QString question = rows.size() == 1 ? QStringLiteral("Usunąć dane?")
                                              : QStringLiteral("Usunąć wszystkie wskazane dane?");
    if (!prompts.askYesNo(questionPrefix + question))
        return 0;
    if (table.isEditing())
        table.cancel();
    QVariantList ids;
    for (int r : rows) {
        if (r < 0 || r >= table.rowCount())
            continue;
        table.setPosition(r);
        ids << table.rowId();
    }
    int removed = 0;
    for (const QVariant& id : ids) {
        if (indexOfId(table, id) < 0)
            continue;
        try {
            table.remove();
        } catch (const Error& e) {
            refusal::show(prompts, e);
            break;
        }
        ++removed;
    }
    return removed;
}

bool move(Table& table, bool down)
{
    static const QString kolej = QStringLiteral("KOLEJ");
    if (table.ordering().split(QLatin1Char(';')).value(0).trimmed().toUpper() != kolej)
        throw Error(QStringLiteral("Sort zbioru musi być wg definiowalnej kolejności"));
    if (table.isEmpty() || table.position() < 0)
        return false;
    if (table.isEditing())
        table.post();

    // The free value: above every position of the table, not only of the rows shown.
    int free = 0;
    {
        Table all(table.database(), table.tableName());
        all.setOrdering(kolej);
        all.open();
        for (int r = 0; r < all.rowCount(); ++r)
            free = std::max(free, all.valueAt(r, kolej).toInt());
        ++free;
    }

    const int here = table.position();
    const int there = down ? here + 1 : here - 1;
    if (there < 0 || there >= table.rowCount())
        return false;
    const QVariant currentId = table.rowId();
    const QVariant currentPos = table.value(kolej);
    table.setPosition(there);
    const QVariant neighbourId = table.rowId();
    const QVariant neighbourPos = table.value(kolej);
    if (neighbourPos == currentPos) {
        table.setPosition(here);
        return false;
    }

    table.edit();
    table.setValue(kolej, free);
    table.post();

    indexOfId(table, currentId);
    table.edit();
    table.setValue(kolej, neighbourPos);
    table.post();

    indexOfId(table, neighbourId);
    table.edit();
    table.setValue(kolej, currentPos);
    table.post();

    table.refresh();
    indexOfId(table, currentId);
    return true;
}

}  // namespace rows
