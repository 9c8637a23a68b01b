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

bool hasRateColumn(Database& db)
{
    return db.hasColumn(QStringLiteral("TARMED"), QStringLiteral("STAWKA"));
}

// A price row from columns ODDATY, DODATY, CENA, JM[, STAWKA] from `first`.
PriceRow priceRow(const Query& q, int first, int component, bool withRate)
{
    PriceRow r;
    r.component = component;
    r.from = values::toDate(q.value(first));
    r.to = values::toDate(q.value(first + 1));
    r.price = q.value(first + 2).toDouble();
    r.unit = q.value(first + 3).toString();
    if (withRate && !q.value(first + 4).isNull())
        r.vatRate = q.value(first + 4).toInt();
    return r;
}

void sortByStart(QList<PriceRow>& rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const PriceRow& a, const PriceRow& b) { return a.from < b.from; });
}

// All price rows of tariff 0 of a component, by ODDATY. Dates are compared
// here rather than in SQL, so that both engines agree on open ends.
QList<PriceRow> allPrices(Database& db, int component)
{
    const bool withRate = hasRateColumn(db);
    Query q(db, QStringLiteral("SELECT ODDATY, DODATY, CENA, JM%1 FROM TARMED WHERE TARYFA = 0 AND MEDIUM = :M")
                    .arg(withRate ? QStringLiteral(", STAWKA") : QString()));
    q.bind(QStringLiteral("M"), component).exec();
    QList<PriceRow> out;
    while (q.next())
        out << priceRow(q, 0, component, withRate);
    sortByStart(out);
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

QHash<int, QList<PriceRow>> pricesOverlapping(Database& db, const QList<int>& components, const QDate& first,
                                              const QDate& last)
{
    QHash<int, QList<PriceRow>> out;
    for (const int c : components)
        out.insert(c, {});
    // One read for every component: a server is sent one statement, not one per component.
    const bool withRate = hasRateColumn(db);
    Query q(db, QStringLiteral("SELECT MEDIUM, ODDATY, DODATY, CENA, JM%1 FROM TARMED WHERE TARYFA = 0")
                    .arg(withRate ? QStringLiteral(", STAWKA") : QString()));
    q.exec();
    while (q.next()) {
        const auto rows = out.find(q.value(0).toInt());
        if (rows == out.end())
            continue;
        PriceRow r = priceRow(q, 1, rows.key(), withRate);
        if (overlaps(r.from, r.to, first, last))
            *rows << r;
    }
    for (QList<PriceRow>& rows : out)
        sortByStart(rows);
    return out;
}

QList<PriceRow> pricesOverlapping(Database& db, int component, const QDate& first, const QDate& last)
{
    return pricesOverlapping(db, QList<int>{component}, first, last).value(component);
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

QHash<int, double> vatPercents(Database& db)
{
    QHash<int, double> out;
    if (!db.hasTable(QStringLiteral("STAVAT")))
        return out;
    Query q(db, QStringLiteral("SELECT KOD, VAT FROM STAVAT"));
    q.exec();
    while (q.next())
        out.insert(q.value(0).toInt(), q.value(1).isNull() ? 0.0 : q.value(1).toDouble());
    return out;
}

QHash<int, QList<MethodRow>> methodsOverlapping(Database& db, const QList<int>& components, const QDate& first,
                                                const QDate& last)
{
    QHash<int, QList<MethodRow>> out;
    for (const int c : components)
        out.insert(c, {});
    Query q(db, QStringLiteral("SELECT MEDIUM, ODDATY, DODATY, SPOSOB, SPOROZ FROM MEDSPOS"));
    q.exec();
    while (q.next()) {
        const auto rows = out.find(q.value(0).toInt());
        if (rows == out.end())
            continue;
        MethodRow r;
        r.component = rows.key();
        r.from = values::toDate(q.value(1));
        r.to = values::toDate(q.value(2));
        r.calculation = q.value(3).toInt();
        r.settlement = q.value(4).toInt();
        if (overlaps(r.from, r.to, first, last))
            *rows << r;
    }
    for (QList<MethodRow>& rows : out)
        std::stable_sort(rows.begin(), rows.end(), [](const MethodRow& a, const MethodRow& b) { return a.from < b.from; });
    return out;
}

QList<MethodRow> methodsOverlapping(Database& db, int component, const QDate& first, const QDate& last)
{
    return methodsOverlapping(db, QList<int>{component}, first, last).value(component);
}

}  // namespace catalogue
