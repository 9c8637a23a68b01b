#include "similar_rows.h"

#include "store/query.h"
#include "store/values.h"

namespace import {

namespace {
qint64 monthNumber(int year, int month) { return 12 * qint64(year) + month; }
qint64 centsOf(double v) { return qRound64(v * 100); }

QString fileRowKey(int child, const QDate& date, const std::optional<QString>& description,
                   const std::optional<double>& amount)
{
    return QStringLiteral("%1|%2|%3|%4")
        .arg(child)
        .arg(date.toJulianDay())
        .arg(amount ? QString::number(centsOf(*amount)) : QStringLiteral("-"))
        .arg(description ? QLatin1Char('=') + *description : QStringLiteral("-"));
}
}  // namespace

SimilarRows::SimilarRows(Database& db, ImportTarget target, int monthKod, const QString& type)
    : m_db(db), m_target(target), m_monthKod(monthKod), m_type(type)
{
}

void SimilarRows::loadMonth(int year, int month)
{
    const qint64 n = monthNumber(year, month);
    if (m_monthsLoaded.contains(n))
        return;
    m_monthsLoaded.insert(n);
    if (m_target == ImportTarget::DailyAttendance) {
        const QDate first(year, month, 1);
        Query q(m_db, QStringLiteral("select OSOBA, DATA from OBECN where DATA >= :A and DATA <= :B"));
        q.bind(QStringLiteral("A"), first).bind(QStringLiteral("B"), first.addMonths(1).addDays(-1)).exec();
        while (q.next()) {
            const QDate d = values::toDate(q.value(1));
            m_days.insert({q.value(0).toInt(), d.toJulianDay()});
            m_months.insert({q.value(0).toInt(), n});
        }
    } else {
        Query q(m_db, QStringLiteral("select distinct OSOBA from OBECM where ROK = :R and MIES = :M"));
        q.bind(QStringLiteral("R"), year).bind(QStringLiteral("M"), month).exec();
        while (q.next())
            m_months.insert({q.value(0).toInt(), n});
    }
}

bool SimilarRows::exists(int child, int component, const QDate& date, bool wholeMonth,
                         const std::optional<QString>& description, const std::optional<double>& amount)
{
    switch (m_target) {
    case ImportTarget::Charges:
    case ImportTarget::Payments:
        if (!m_loaded) {
            m_loaded = true;
            if (m_target == ImportTarget::Charges) {
                Query q(m_db, QStringLiteral("select OSOBA, MEDIUM from NALICZ where KOD = :K and TYP = :T"));
                q.bind(QStringLiteral("K"), m_monthKod).bind(QStringLiteral("T"), m_type).exec();
                while (q.next())
                    m_components[q.value(0).toInt()].insert(q.value(1).toInt());
            } else {
                Query q(m_db, QStringLiteral("select OSOBA, DATA, OPIS, WARTOSC from WPLATY where KOD = :K"));
                q.bind(QStringLiteral("K"), m_monthKod).exec();
                while (q.next()) {
                    const int osoba = q.value(0).toInt();
                    m_payers.insert(osoba);
                    const QDate d = values::toDate(q.value(1));
                    m_payments[{osoba, d.isValid() ? d.toJulianDay() : 0}]
                        << StoredPayment{q.value(2).toString(), centsOf(q.value(3).toDouble())};
                }
            }
        }
        if (m_target == ImportTarget::Charges)
            return m_components.value(child).contains(component);
        {
            const auto it = m_payments.constFind({child, date.toJulianDay()});
            if (it == m_payments.cend())
                return false;
            int equal = 0;
            for (const StoredPayment& p : *it)
                if ((!description || p.description == *description) && (!amount || p.cents == centsOf(*amount)))
                    ++equal;
            return equal > m_fileRows.value(fileRowKey(child, date, description, amount));
        }
    case ImportTarget::DailyAttendance:
        loadMonth(date.year(), date.month());
        return wholeMonth ? m_months.contains({child, monthNumber(date.year(), date.month())})
                          : m_days.contains({child, date.toJulianDay()});
    case ImportTarget::MonthlyAttendance:
        loadMonth(date.year(), date.month());
        return m_months.contains({child, monthNumber(date.year(), date.month())});
    }
    return false;
}

void SimilarRows::add(const PendingWrite& w)
{
    switch (w.kind) {
    case PendingWrite::Kind::ChargeLine:
        exists(w.child, 0, {}, false, std::nullopt);  // loads the store's rows first
        m_components[w.child].insert(w.component);
        break;
    case PendingWrite::Kind::Payment:
        exists(w.child, 0, w.date, false, std::nullopt);
        m_payers.insert(w.child);
        break;
    case PendingWrite::Kind::Day:
        loadMonth(w.date.year(), w.date.month());
        if (!w.mark.isEmpty()) {
            m_days.insert({w.child, w.date.toJulianDay()});
            m_months.insert({w.child, monthNumber(w.date.year(), w.date.month())});
        }
        break;
    case PendingWrite::Kind::Count:
        loadMonth(w.year, w.month);
        if (w.count.isValid())
            m_months.insert({w.child, monthNumber(w.year, w.month)});
        break;
    }
}

void SimilarRows::noteFileRow(int child, const QDate& date, const std::optional<QString>& description,
                              const std::optional<double>& amount)
{
    ++m_fileRows[fileRowKey(child, date, description, amount)];
}

bool SimilarRows::hasPayment(int child)
{
    exists(child, 0, QDate(2000, 1, 1), false, std::nullopt);
    return m_payers.contains(child);
}

}  // namespace import
