#include "child_deletion.h"

#include "display_order.h"

#include "store/database.h"
#include "store/query.h"

namespace child_deletion {

QString heading()
{
    return QStringLiteral("Nie można skasować dziecka, gdyż występuje ono w:");
}

QString refusal(Database& db, int child)
{
    const QString osoba = QStringLiteral("OSOBA");
    const QString attendance = QStringLiteral("\r\n- liście obecności");
    // The monthly totals and the attendance at extra classes are attendance
    // too: a deleted child would leave them pointing at nobody.
    const QList<UsePlace> all = {
        {QStringLiteral("K"), QStringLiteral("DZIEKLA"), osoba, QStringLiteral("\r\n- poprzednich grupach")},
        {QStringLiteral("S"), QStringLiteral("DZIEMED"), osoba, QStringLiteral("\r\n- kartotece składników opłat")},
        {QStringLiteral("I"), QStringLiteral("DZIEINF"), osoba, QStringLiteral("\r\n- powiązaniach z informacjami")},
        {QStringLiteral("Z"), QStringLiteral("ZGLOSZ"), osoba, QStringLiteral("\r\n- zgłoszeniach")},
        {QStringLiteral("M"), QStringLiteral("NALICZ"), osoba, QStringLiteral("\r\n- opłatach miesięcznych")},
        {QStringLiteral("W"), QStringLiteral("WPLATY"), osoba, QStringLiteral("\r\n- wpłatach miesięcznych")},
        {QStringLiteral("D"), QStringLiteral("NALDOD"), osoba, QStringLiteral("\r\n- naliczeniach dodatkowych")},
        {QStringLiteral("O"), QStringLiteral("OBECN"), osoba, attendance},
        {QStringLiteral("O"), QStringLiteral("OBECM"), osoba, attendance},
        {QStringLiteral("A"), QStringLiteral("ZAJOBEC"), osoba, QStringLiteral("\r\n- obecnościach na zajęciach dodatkowych")},
    };
    QList<UsePlace> places;
    for (const UsePlace& p : all)
        if (db.hasTable(p.table))
            places << p;
    const QString lines = inUseLines(db, places, child);
    return lines.isEmpty() ? QString() : heading() + lines;
}

void deleteOwnRows(Database& db, int child)
{
    db.batch([&] {
        for (const QString& table : {QStringLiteral("DZIECZAS"), QStringLiteral("DZIEZAJ"), QStringLiteral("ODBIERA")})
            if (db.hasTable(table))
                Query(db, QStringLiteral("delete from %1 where OSOBA = :O").arg(table)).bind(QStringLiteral("O"), child).exec();
    });
}

}  // namespace child_deletion
