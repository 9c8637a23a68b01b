#include "letters_selection.h"

#include "store/database.h"
#include "store/query.h"

#include <QCollator>
#include <QHash>
#include <QLocale>

#include <algorithm>

namespace printouts {

QList<int> letterChildren(Database& db, const LettersSelection& selection)
{
    struct Row {
        int kod;
        int klasa;
        QString name;
    };
    QList<Row> rows;
    Query q(db, QStringLiteral("select KOD, KLASA, NAZWA from DZIECI where AKTYWNY=:A"));
    q.bind(QStringLiteral("A"), QStringLiteral("T")).exec();
    while (q.next()) {
        const Row row{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString()};
        if (selection.child) {
            if (row.kod != *selection.child)
                continue;
        } else {
            if (selection.groups && !selection.groups->contains(row.klasa))
                continue;
            if (selection.chosen && !selection.chosen->contains(row.kod))
                continue;
        }
        rows.append(row);
    }
    QCollator collator{QLocale(QLocale::Polish)};
    std::sort(rows.begin(), rows.end(), [&collator](const Row& a, const Row& b) {
        const int order = collator.compare(a.name, b.name);
        return order != 0 ? order < 0 : a.kod < b.kod;
    });
    QList<int> codes;
    codes.reserve(rows.size());
    for (const Row& row : std::as_const(rows))
        codes.append(row.kod);
    return codes;
}

QList<GroupChoice> groupChoices(Database& db, const QList<int>& codes)
{
    QHash<int, QString> names;
    Query q(db, QStringLiteral("select KOD, NAZWA from KLASY"));
    q.exec();
    while (q.next())
        names.insert(q.value(0).toInt(), q.value(1).toString());
    QList<GroupChoice> out;
    for (int code : codes)
        if (names.contains(code))
            out.append(GroupChoice{code, names.value(code)});
    return out;
}

QString selectionDescription(const std::optional<QList<GroupChoice>>& groups, bool chosenTicked)
{
    QString text;
    if (groups) {
        QStringList names;
        for (const GroupChoice& g : *groups)
            if (g.code != 0)
                names << g.name;
        text = QStringLiteral("grupy: ") + names.join(QStringLiteral(", "));
    }
    if (chosenTicked) {
        if (!text.isEmpty())
            text += QStringLiteral(", ");
        text += QStringLiteral("(tylko wybrani)");
    }
    return text;
}

}  // namespace printouts
