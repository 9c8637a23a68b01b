#include "pick_assignment.h"

#include "browser/clipboard_text.h"
#include "browser/refusal.h"
#include "store/error.h"
#include "store/table.h"

namespace pick {

bool assign(Table& source, const Target& target)
{
    if (source.state() == Table::State::Insert)
        source.post();
    if (!target.table || target.keyFields.size() != target.lookupKeys.size())
        return false;
    QVariantList keys;
    for (const QString& k : target.lookupKeys)
        keys << source.value(k);
    if (target.table->isEditing()) {
        for (int i = 0; i < target.keyFields.size(); ++i)
            target.table->setValue(target.keyFields[i], keys[i]);
        return true;
    }
    return target.table->locate(target.keyFields, keys);
}

int insertMany(Prompts& prompts, Table& source, const QList<int>& selected, const Target& target)
{
    if (source.state() == Table::State::Insert)
        source.post();
    if (!target.table || target.keyFields.size() != target.lookupKeys.size())
        return 0;
    if (!clip::settlePendingEdit(prompts, *target.table))
        return 0;
    QList<QVariantList> keys;
    for (int r : clip::rowsToUse(source, selected)) {
        QVariantList k;
        for (const QString& f : target.lookupKeys)
            k << source.valueAt(r, f);
        keys << k;
    }
    int inserted = 0;
    for (const QVariantList& k : keys) {
        try {
            target.table->insert();
            for (int i = 0; i < target.keyFields.size(); ++i)
                target.table->setValue(target.keyFields[i], k[i]);
            target.table->post();
        } catch (const Error& e) {
            target.table->cancel();
            refusal::show(prompts, e);
            break;
        }
        ++inserted;
    }
    return inserted;
}

}  // namespace pick
