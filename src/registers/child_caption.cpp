#include "child_caption.h"

#include "store/query.h"

QString childCaption(const QString& name, const QString& street, const QString& pesel)
{
    QString caption = name + QStringLiteral(", ") + street;
    if (!pesel.isEmpty())
        caption += QStringLiteral(" (PESEL: ") + pesel + QLatin1Char(')');
    return caption;
}

QString childCaption(Database& db, int kod)
{
    Query q(db, QStringLiteral("select NAZWA, ULICA, PESEL from DZIECI where KOD = :KOD"));
    q.bind(QStringLiteral("KOD"), kod);
    q.exec();
    if (!q.next())
        return QString();
    return childCaption(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
}
