#include "charge_run_state.h"

#include "store/database.h"
#include "store/query.h"

namespace fees {

ChargeMonth ChargeMonth::of(int year, int month)
{
    ChargeMonth m;
    m.year = year;
    m.month = month;
    m.first = QDate(year, month, 1);
    m.last = QDate(year, month, m.first.daysInMonth());
    return m;
}

ChargeMonth ChargeMonth::previous() const
{
    return month == 1 ? of(year - 1, 12) : of(year, month - 1);
}

QList<int> ChargeRunState::childCodes() const
{
    QList<int> codes;
    codes.reserve(children.size());
    for (const RunChild& c : children)
        codes << c.code;
    return codes;
}

void readMonthRecord(Database& db, ChargeMonth& month)
{
    Query q(db, QStringLiteral("SELECT KOD, DNIWOLNE FROM MIESIACE WHERE ROK = :R AND MIES = :M ORDER BY KOD"));
    q.bind(QStringLiteral("R"), month.year).bind(QStringLiteral("M"), month.month).exec();
    if (q.next()) {
        month.code = q.value(0).toInt();
        month.freeDays = q.value(1).toString();
    } else {
        month.code = 0;
        month.freeDays.clear();
    }
}

void ensureMonthRecord(Database& db, ChargeMonth& month)
{
    readMonthRecord(db, month);
    if (month.code)
        return;
    Query(db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (:R, :M)"))
        .bind(QStringLiteral("R"), month.year)
        .bind(QStringLiteral("M"), month.month)
        .exec();
    readMonthRecord(db, month);
}

}  // namespace fees
