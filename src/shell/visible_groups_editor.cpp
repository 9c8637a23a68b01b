#include "visible_groups_editor.h"

#include "browser/run_context.h"
#include "store/query.h"
#include "store/table.h"

namespace visible_groups {

namespace {

bool carriesCode(const PickEntry& e, int code)
{
    return e.value.typeId() == QMetaType::Int && e.value.toInt() == code;
}

}  // namespace

QString title()
{
    return QStringLiteral("Lista dostępnych grup dzieci");
}

QString allText()
{
    return QStringLiteral("Wszystkie");
}

QList<Group> groups(Database& db)
{
    QList<Group> out;
    Query q(db, QStringLiteral("SELECT KOD, NAZWA FROM KLASY ORDER BY KOD"));
    q.exec();
    while (q.next())
        out.append({q.value(0).toInt(), q.value(1).toString()});
    return out;
}

MemoChoice choice(const QStringList& stored, const QList<Group>& groups)
{
    MemoChoice out;
    for (const QString& line : stored) {
        bool number = false;
        const int code = line.trimmed().toInt(&number);
        out.entries.append({line, number ? QVariant(code) : QVariant(line)});
    }
    out.checkedCount = int(out.entries.size());
    auto show = [&](int code, const QString& text) {
        bool present = false;
        for (PickEntry& e : out.entries)
            if (carriesCode(e, code)) {
                e.text = text;
                present = true;
            }
        if (!present)
            out.entries.append({text, code});
    };
    show(-1, allText());
    for (const Group& g : groups)
        show(g.code, g.name);
    return out;
}

QStringList linesOf(const QList<PickEntry>& checked)
{
    QStringList out;
    for (const PickEntry& e : checked) {
        if (carriesCode(e, -1))
            return {QStringLiteral("-1")};
        out << (e.value.typeId() == QMetaType::Int ? QString::number(e.value.toInt()) : e.value.toString());
    }
    return out;
}

bool edit(RunContext& context, Table& row)
{
    if (!row.isOpen() || (row.isEmpty() && !row.isEditing()))
        return false;
    const MemoChoice offered = choice(storedLines(row.text(QStringLiteral("KLASY"))), groups(context.db()));
    return editMemoChoice(context.prompts, row, QStringLiteral("KLASY"), title(), offered, linesOf);
}

}  // namespace visible_groups
