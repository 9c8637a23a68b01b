#include "nalicz_dotyczy.h"

#include "store/database.h"
#include "store/params.h"
#include "store/polish_dates.h"
#include "store/query.h"
#include "store/values.h"

#include <QLocale>

namespace fees {

void MonthDirectory::load()
{
    m_byCode.clear();
    Query q(m_db, QStringLiteral("SELECT KOD, ROK, MIES FROM MIESIACE"));
    q.exec();
    while (q.next()) {
        const MonthRef m{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()};
        m_byCode.insert(m.code, m);
    }
    m_loaded = true;
}

std::optional<MonthRef> MonthDirectory::find(int code)
{
    if (!m_loaded || !m_byCode.contains(code))
        load();
    const auto it = m_byCode.constFind(code);
    if (it == m_byCode.constEnd())
        return std::nullopt;
    return *it;
}

std::optional<MonthRef> MonthDirectory::find(int year, int month)
{
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1 || !m_loaded)
            load();
        for (const MonthRef& m : std::as_const(m_byCode))
            if (m.year == year && m.month == month)
                return m;
    }
    return std::nullopt;
}

QString dotyczyText(int dot, int year, int month, const Parameters& params)
{
    const QString word = dot < 0 ? params.tekstNaZaliczka : params.tekstNaRozliczenie;
    return polish::monthYear(year, month) + QStringLiteral(", ") + QLocale(QLocale::Polish).toLower(word);
}

QString dotyczyText(MonthDirectory& months, const QVariant& dot, const Parameters& params)
{
    if (values::isEmpty(dot) || dot.toInt() == 0)
        return {};
    const auto m = months.find(std::abs(dot.toInt()));
    if (!m)
        return {};
    return dotyczyText(dot.toInt(), m->year, m->month, params);
}

QList<PickEntry> dotyczyChoices(Database& db, const Parameters& params)
{
    Query q(db, QStringLiteral("select -KOD as DOT, ROK, MIES "
                               "from MIESIACE "
                               "union all "
                               "select KOD as DOT, ROK, MIES "
                               "from MIESIACE "
                               "order by ROK, MIES, DOT"));
    q.exec();
    QList<PickEntry> out;
    while (q.next()) {
        const int dot = q.value(0).toInt();
        out << PickEntry{dotyczyText(dot, q.value(1).toInt(), q.value(2).toInt(), params), dot};
    }
    return out;
}

}  // namespace fees
