#include "display_order.h"

#include "browser/prompts.h"
#include "browser/row_actions.h"
#include "store/database.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

#include <QSet>

namespace display_order {

int nextPosition(Database& db, const QString& tableName)
{
    const QVariant top = Query(db, QStringLiteral("SELECT MAX(KOLEJ) FROM %1").arg(tableName)).scalar();
    return top.isNull() ? 1 : top.toInt() + 1;
}

void assignOnInsert(Table& t)
{
    if (t.state() == Table::State::Insert)
        t.setValue(QStringLiteral("KOLEJ"), nextPosition(t.database(), t.tableName()));
}

void move(Table& t, bool down)
{
    const QVariant current = t.isOpen() && !t.isEmpty() ? t.rowId() : QVariant();
    try {
        Transaction tx(t.database());
        rows::move(t, down);
        tx.commit();
    } catch (...) {
        // The cursor saw saves that were rolled back.
        if (t.isOpen()) {
            if (t.isEditing())
                t.cancel();
            t.refresh();
            if (current.isValid())
                rows::indexOfId(t, current);
        }
        throw;
    }
}

namespace {

Command moveCommand(RunContext& context, DataSet& ds, bool down)
{
    Command c;
    c.name = down ? QStringLiteral("Przesunnadol1") : QStringLiteral("Przesundogory1");
    c.caption = down ? QStringLiteral("Przesuń na &dół") : QStringLiteral("Przesuń do &góry");
    c.label = down ? QStringLiteral("Na dół") : QStringLiteral("Do góry");
    Table* t = ds.table;
    Prompts* prompts = &context.prompts;
    c.handler = [t, prompts, down] {
        try {
            move(*t, down);
        } catch (const Error& e) {
            prompts->showError(e.message());
        }
    };
    return c;
}

}  // namespace

Command moveUpCommand(RunContext& context, DataSet& ds)
{
    return moveCommand(context, ds, false);
}

Command moveDownCommand(RunContext& context, DataSet& ds)
{
    return moveCommand(context, ds, true);
}

}  // namespace display_order

QString inUseLines(Database& db, const QList<UsePlace>& places, const QVariant& code)
{
    // One query of parts, each giving its count (IL) and letter (CO).
    QStringList parts;
    for (int i = 0; i < places.size(); ++i)
        parts << QStringLiteral("select count(*) as IL, '%1' as CO from %2 where %3 = :K%4")
                     .arg(places[i].letter, places[i].table, places[i].column)
                     .arg(i);
    Query q(db, parts.join(QStringLiteral(" union all ")));
    for (int i = 0; i < places.size(); ++i)
        q.bind(QStringLiteral("K%1").arg(i), code);
    q.exec();
    QSet<QString> used;
    while (q.next())
        if (q.value(0).toInt() > 0)
            used.insert(q.value(1).toString().trimmed());
    QString out;
    QSet<QString> written;
    for (const UsePlace& p : places)
        if (used.contains(p.letter) && !written.contains(p.letter)) {
            out += p.line;
            written.insert(p.letter);
        }
    return out;
}
