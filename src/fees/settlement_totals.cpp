#include "settlement_totals.h"

#include "browser/module.h"
#include "store/database.h"
#include "store/money.h"
#include "store/query.h"
#include "store/table.h"

#include <QMap>
#include <QPointer>

#include <cmath>
#include <memory>
#include <optional>

namespace fees {

namespace {

qint64 grosze(const QVariant& value)
{
    return std::llround(money::round(value.toDouble()) * 100.0);
}

// Equal amounts are counted, not listed: a month of a thousand equal fees
// is one row of the answer.
QString amountsSql(bool oneChild)
{
    const QString child = oneChild ? QStringLiteral(" and W.OSOBA = :OSOBA") : QString();
    const QString child2 = oneChild ? QStringLiteral(" and N.OSOBA = :OSOBA2") : QString();
    return QStringLiteral("select M.KOD, M.ROK, M.MIES, 'W' as CO, W.WARTOSC, count(*) as ILE"
                          " from WPLATY W, MIESIACE M where W.KOD = M.KOD")
           + child
           + QStringLiteral(" group by M.KOD, M.ROK, M.MIES, W.WARTOSC"
                            " union all"
                            " select M.KOD, M.ROK, M.MIES, 'N' as CO, N.WARTOSC, count(*) as ILE"
                            " from NALICZ N, MIESIACE M where N.KOD = M.KOD and N.TYP = '1'")
           + child2 + QStringLiteral(" group by M.KOD, M.ROK, M.MIES, N.WARTOSC");
}

double money(qint64 grosze)
{
    return double(grosze) / 100.0;
}

}  // namespace

QHash<int, MonthTotals> monthTotals(Database& db, int child)
{
    Query q(db, amountsSql(child != 0));
    if (child != 0)
        q.bind(QStringLiteral("OSOBA"), child).bind(QStringLiteral("OSOBA2"), child);
    q.exec();
    QHash<int, MonthTotals> out;
    QMap<int, qint64> change;  // 12 × year + month -> payments less charges
    QHash<int, int> numberOf;
    while (q.next()) {
        const int kod = q.value(0).toInt();
        const int number = 12 * q.value(1).toInt() + q.value(2).toInt();
        const qint64 amount = grosze(q.value(4)) * q.value(5).toLongLong();
        MonthTotals& t = out[kod];
        numberOf.insert(kod, number);
        if (q.value(3).toString() == QLatin1String("W")) {
            t.paid += amount;
            change[number] += amount;
        } else {
            t.charged += amount;
            change[number] -= amount;
        }
    }
    // Every month record gets its balance, also one without amounts.
    Query months(db, QStringLiteral("select KOD, ROK, MIES from MIESIACE"));
    months.exec();
    QMap<int, qint64> upTo;
    qint64 running = 0;
    for (auto it = change.cbegin(); it != change.cend(); ++it)
        upTo.insert(it.key(), running += it.value());
    while (months.next()) {
        const int number = 12 * months.value(1).toInt() + months.value(2).toInt();
        auto after = upTo.upperBound(number);
        out[months.value(0).toInt()].balance = after == upTo.cbegin() ? 0 : std::prev(after).value();
    }
    return out;
}

QHash<int, qint64> invoiceTotals(Database& db, int monthKod)
{
    Query q(db, QStringLiteral("select N.IDF, N.WARTOSC, count(*) as ILE from NALICZ N, FAKT F"
                               " where N.IDF = F.ID and F.KOD = :KOD group by N.IDF, N.WARTOSC"));
    q.bind(QStringLiteral("KOD"), monthKod).exec();
    QHash<int, qint64> out;
    while (q.next())
        out[q.value(0).toInt()] += grosze(q.value(1)) * q.value(2).toLongLong();
    return out;
}

namespace {

// Chains a cursor's calculated fields after those the module set.
void chainCalcFields(Table& t, std::function<void(Table&)> more)
{
    auto before = t.events().onCalcFields;
    t.events().onCalcFields = [before, more](Table& row) {
        if (before)
            before(row);
        more(row);
    };
}

// Read once for the list and again after the list is read again: the
// cursor says so before anything recomputes its rows.
template <typename Cache>
void forgetOnReload(Table& t, const std::shared_ptr<Cache>& cache)
{
    const auto forget = [cache] { cache->reset(); };
    QObject::connect(&t, &Table::stateChanged, &t, forget);
    QObject::connect(&t, &Table::dataChanged, &t, forget);
}

}  // namespace

void addMonthTotals(DataSet& months, Database& db, std::function<int()> child)
{
    Table& t = *months.table;
    for (const char* name : {"NALICZONO", "WPLACONO", "SALDO"})
        t.addCalculatedField(FieldDef::of(QString::fromLatin1(name), FieldType::Float, 0));
    auto cache = std::make_shared<std::optional<QHash<int, MonthTotals>>>();
    forgetOnReload(t, cache);
    Database* store = &db;
    chainCalcFields(t, [cache, store, child](Table& row) {
        if (!*cache)
            *cache = monthTotals(*store, child ? child() : 0);
        const MonthTotals m = (*cache)->value(row.asInt(QStringLiteral("KOD")));
        row.setCalculated(QStringLiteral("NALICZONO"), money(m.charged));
        row.setCalculated(QStringLiteral("WPLACONO"), money(m.paid));
        row.setCalculated(QStringLiteral("SALDO"), money(m.balance));
    });
    const auto amount = [](const char* name, const char* caption) {
        FieldView v = FieldView::formatted(QString::fromLatin1(name), QString::fromUtf8(caption), QStringLiteral("0.00"));
        v.readOnly = true;
        v.alignment = Qt::AlignRight;
        return v;
    };
    FieldView charged = amount("NALICZONO", "Opłaty zatwierdzone");
    FieldView paid = amount("WPLACONO", "Wpłaty");
    charged.mark = paid.mark = 1;  // the footer sums the months shown
    // Right after the month's own columns.
    qsizetype at = 0;
    while (at < months.fields.size() && months.fields[at].visible)
        ++at;
    months.fields.insert(at, amount("SALDO", "Saldo"));
    months.fields.insert(at, paid);
    months.fields.insert(at, charged);
}

void addInvoiceTotals(DataSet& invoices, Database& db)
{
    Table& t = *invoices.table;
    t.addCalculatedField(FieldDef::of(QStringLiteral("WARTOSC"), FieldType::Float, 0));
    // By month: the list follows the months window from month to month.
    auto cache = std::make_shared<std::optional<QHash<int, QHash<int, qint64>>>>();
    forgetOnReload(t, cache);
    Database* store = &db;
    chainCalcFields(t, [cache, store](Table& row) {
        if (!*cache)
            cache->emplace();
        const int month = row.asInt(QStringLiteral("KOD"));
        auto known = (*cache)->find(month);
        if (known == (*cache)->end())
            known = (*cache)->insert(month, invoiceTotals(*store, month));
        row.setCalculated(QStringLiteral("WARTOSC"), money(known->value(row.asInt(QStringLiteral("ID")))));
    });
    FieldView total = FieldView::formatted(QStringLiteral("WARTOSC"), QStringLiteral("Wartość"), QStringLiteral("0.00"));
    total.readOnly = true;
    total.alignment = Qt::AlignRight;
    total.mark = 1;
    // After the number, where a bookkeeper looks for it.
    qsizetype at = 0;
    while (at < invoices.fields.size() && invoices.fields[at].name != QLatin1String("NUMERTEKST"))
        ++at;
    invoices.fields.insert(at < invoices.fields.size() ? at + 1 : at, total);
}

}  // namespace fees
