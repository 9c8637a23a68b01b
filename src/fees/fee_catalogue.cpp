#include "fee_catalogue.h"

#include "store/database.h"
#include "store/query.h"
#include "store/values.h"

#include <algorithm>

namespace catalogue {

// An empty start reads as "from the beginning", as a child's component rows
// do: a price saved without a date must not silently stop being charged.
bool appliesOn(const QDate& from, const QDate& to, const QDate& day)
{
    return (!from.isValid() || from <= day) && (!to.isValid() || day <= to);
}

bool overlaps(const QDate& from, const QDate& to, const QDate& first, const QDate& last)
{
    return (!from.isValid() || from <= last) && (!to.isValid() || first <= to);
}

QList<Component> components(Database& db)
{
    QList<Component> out;
    Query q(db, QStringLiteral("SELECT KOD, NAZWA, KOLEJ, GRUPAOP FROM MEDIA ORDER BY KOLEJ, KOD"));
    q.exec();
    while (q.next()) {
        Component c;
        c.code = q.value(0).toInt();
        c.name = q.value(1).toString();
        c.position = q.value(2).toInt();
        c.feeGroup = q.value(3).isNull() ? QVariant() : QVariant(q.value(3).toInt());
        out << c;
    }
    return out;
}

namespace {

// All price rows of tariff 0 of a component, by ODDATY. Dates are compared
// here rather than in SQL, so that both engines agree on open ends.
QList<PriceRow> allPrices(Database& db, int component)
{
    const bool withRate = db.hasColumn(QStringLiteral("TARMED"), QStringLiteral("STAWKA"));
    Query q(db, QStringLiteral("SELECT ODDATY, DODATY, CENA, JM%1 FROM TARMED WHERE TARYFA = 0 AND MEDIUM = :M")
                    .arg(withRate ? QStringLiteral(", STAWKA") : QString()));
    q.bind(QStringLiteral("M"), component).exec();
    QList<PriceRow> out;
    while (q.next()) {
        PriceRow r;
        r.component = component;
        r.from = values::toDate(q.value(0));
        r.to = values::toDate(q.value(1));
        r.price = q.value(2).toDouble();
        r.unit = q.value(3).toString();
        if (withRate && !q.value(4).isNull())
            r.vatRate = q.value(4).toInt();
        out << r;
    }
    std::stable_sort(out.begin(), out.end(), [](const PriceRow& a, const PriceRow& b) { return a.from < b.from; });
    return out;
}

}  // namespace

std::optional<PriceRow> priceInForce(Database& db, int component, const QDate& day)
{
    std::optional<PriceRow> found;
    // A price that ended before the day is not in force, however late it began.
    for (const PriceRow& r : allPrices(db, component))
        if (appliesOn(r.from, r.to, day))
            found = r;  // rows come by ODDATY: the last one wins
    return found;
}

QList<PriceRow> pricesOverlapping(Database& db, int component, const QDate& first, const QDate& last)
{
    QList<PriceRow> out;
    for (const PriceRow& r : allPrices(db, component))
        if (overlaps(r.from, r.to, first, last))
            out << r;
    return out;
}

std::optional<double> vatPercent(Database& db, const QVariant& rate)
{
    if (rate.isNull() || !rate.isValid() || !db.hasTable(QStringLiteral("STAVAT")))
        return std::nullopt;
    Query q(db, QStringLiteral("SELECT VAT FROM STAVAT WHERE KOD = :K"));
    q.bind(QStringLiteral("K"), rate.toInt()).exec();
    if (!q.next())
        return std::nullopt;
    return q.value(0).isNull() ? 0.0 : q.value(0).toDouble();
}

QList<MethodRow> methodsOverlapping(Database& db, int component, const QDate& first, const QDate& last)
{
    Query q(db, QStringLiteral("SELECT ODDATY, DODATY, SPOSOB, SPOROZ FROM MEDSPOS WHERE MEDIUM = :M"));
    q.bind(QStringLiteral("M"), component).exec();
    QList<MethodRow> out;
    while (q.next()) {
        MethodRow r;
        r.component = component;
        r.from = values::toDate(q.value(0));
        r.to = values::toDate(q.value(1));
        r.calculation = q.value(2).toInt();
        r.settlement = q.value(3).toInt();
        if (overlaps(r.from, r.to, first, last))
            out << r;
    }
    std::stable_sort(out.begin(), out.end(), [](const MethodRow& a, const MethodRow& b) { return a.from < b.from; });
    return out;
}

}  // namespace catalogue
