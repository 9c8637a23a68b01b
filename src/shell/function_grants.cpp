#include "function_grants.h"

#include "access_rules.h"
#include "function_names.h"

#include "browser/run_context.h"
#include "store/query.h"
#include "store/table.h"

namespace function_grants {

QString title()
{
    return QStringLiteral("Lista dostępnych funkcji");
}

QList<ExtraClass> extraClasses(Database& db)
{
    QList<ExtraClass> out;
    Query q(db, QStringLiteral("SELECT KOD, NAZWA FROM ZAJDOD ORDER BY KOD"));
    q.exec();
    while (q.next())
        out.append({q.value(0).toInt(), q.value(1).toString()});
    return out;
}

MemoChoice choice(const QStringList& stored, const QList<ExtraClass>& classes)
{
    MemoChoice out;
    for (const QString& line : stored)
        out.entries.append({line, line});
    out.checkedCount = int(out.entries.size());
    auto indexOf = [&](const QString& line) {
        for (int i = 0; i < out.entries.size(); ++i)
            if (out.entries[i].value.toString() == line)
                return i;
        return -1;
    };
    for (const functions::Entry& e : functions::table())
        if (indexOf(e.function) < 0)
            out.entries.append({e.function, e.function});
    for (const ExtraClass& c : classes) {
        const QString line = permissions::extraClassFunction(QString::number(c.code));
        const QString shown = permissions::extraClassFunction(c.name);
        const int at = indexOf(line);
        if (at >= 0)
            out.entries[at].text = shown;
        else
            out.entries.append({shown, line});
    }
    return out;
}

QStringList linesOf(const QList<PickEntry>& checked)
{
    QStringList out;
    for (const PickEntry& e : checked)
        out << e.value.toString();
    return out;
}

bool edit(RunContext& context, Table& row)
{
    if (!row.isOpen() || (row.isEmpty() && !row.isEditing()))
        return false;
    const MemoChoice offered = choice(storedLines(row.text(QStringLiteral("FUNKCJE"))), extraClasses(context.db()));
    return editMemoChoice(context.prompts, row, QStringLiteral("FUNKCJE"), title(), offered, linesOf);
}

}  // namespace function_grants
