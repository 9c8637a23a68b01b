#include "terminal_store.h"

#include "attendance/free_days.h"
#include "store/database.h"
#include "store/password_digest.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/values.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace terminal {

namespace {

ChildInfo childFrom(const Query& q)
{
    return {q.value(0).toInt(), q.value(1).toString(), q.value(2).toString()};
}

const QString childSelect = QStringLiteral("SELECT D.KOD, D.NAZWA, K.NAZWA FROM DZIECI D LEFT JOIN KLASY K ON K.KOD = D.KLASA");

}  // namespace

std::optional<ChildInfo> findChild(Database& db, int kod)
{
    if (kod < 1)
        return std::nullopt;
    Query q(db, childSelect + QStringLiteral(" WHERE D.KOD = :K"));
    q.bind(QStringLiteral("K"), kod).exec();
    if (!q.next())
        return std::nullopt;
    return childFrom(q);
}

QList<ChildInfo> childrenNamed(Database& db, const QString& text)
{
    // Filtered here rather than with LIKE: letter case of Polish letters is
    // folded the same way on both engines.
    const QString wanted = text.toCaseFolded();
    Query q(db, childSelect);
    q.exec();
    QList<ChildInfo> found;
    while (q.next()) {
        ChildInfo c = childFrom(q);
        if (c.name.toCaseFolded().contains(wanted))
            found << c;
    }
    QCollator collator{QLocale(QLocale::Polish)};
    std::stable_sort(found.begin(), found.end(),
                     [&](const ChildInfo& a, const ChildInfo& b) { return collator.compare(a.name, b.name) < 0; });
    return found;
}

DayInfo readDayInfo(Database& db, QDate day)
{
    DayInfo info;
    info.day = day;
    Query q(db, QStringLiteral("SELECT DNIWOLNE FROM MIESIACE WHERE ROK = :R AND MIES = :M"));
    q.bind(QStringLiteral("R"), day.year()).bind(QStringLiteral("M"), day.month()).exec();
    info.freeDay = q.next() && attendance::FreeDays(q.value(0).toString()).isFree(day);
    info.limits.arrival = stay_limits::inForce(db, QStringLiteral("CZASP"), day);
    info.limits.departure = stay_limits::inForce(db, QStringLiteral("CZASW"), day);
    return info;
}

DeclaredTime declaredOn(Database& db, int child, QDate day)
{
    Query q(db, QStringLiteral("SELECT CZASP, CZASW FROM DZIECZAS WHERE OSOBA = :O AND ODDATY <= :D ORDER BY ODDATY DESC"));
    q.bind(QStringLiteral("O"), child).bind(QStringLiteral("D"), day).exec();
    if (!q.next())
        return {};
    return {values::toTime(q.value(0)), values::toTime(q.value(1))};
}

bool userPasswordMatches(Database& db, int userCode, const QString& password)
{
    if (userCode == -1)
        return password == rights::masterCredential();
    if (userCode < 1)
        return false;
    // The check reads only the user's own digest, whatever his rights on
    // the users table, as the login itself does.
    Database::SystemAccess system(db);
    Query q(db, QStringLiteral("SELECT HASLO FROM UZYT WHERE KOD = :K"));
    q.bind(QStringLiteral("K"), userCode).exec();
    return q.next() && digest::userPasswordMatches(q.value(0).toString(), password);
}

}  // namespace terminal
