#include "child_pesel.h"

#include "store/query.h"

namespace pesel {

QString birthPrefix(const QDate& birth)
{
    const int month = birth.month() + (birth.year() >= 2000 ? 20 : 0);
    return QStringLiteral("%1%2%3")
        .arg(birth.year() % 100, 2, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(birth.day(), 2, 10, QLatin1Char('0'));
}

bool agreesWithBirthDate(const QString& number, const QDate& birth)
{
    return number.left(6) == birthPrefix(birth);
}

std::optional<QString> activeNamesake(Database& db, const QString& number, const QVariant& kod)
{
    Query q(db, QStringLiteral("select KOD, NAZWA from DZIECI where AKTYWNY = 'T' and PESEL = :P order by KOD"));
    q.bind(QStringLiteral("P"), number).exec();
    while (q.next()) {
        if (!kod.isNull() && kod.isValid() && q.value(0).toLongLong() == kod.toLongLong())
            continue;
        return q.value(1).toString();
    }
    return std::nullopt;
}

QString duplicateMessage(const QString& otherName)
{
    return QStringLiteral("Powtórzony PESEL (") + otherName + QLatin1Char(')');
}

QString birthDateMessage()
{
    return QStringLiteral("PESEL nie zgadza się z datą urodzenia");
}

}  // namespace pesel
