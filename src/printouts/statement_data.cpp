// The statement's rows as one ordered list, read in bulk: the months up to
// the statement month, their charge lines, payments and confirmations, one
// read per table, joined and filtered in memory.

#include "statement_data.h"

#include "grid_printout.h"

#include "store/database.h"
#include "store/money.h"
#include "store/params.h"
#include "store/polish_dates.h"
#include "store/query.h"

#include <QCollator>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace printouts {

namespace {

struct Month {
    int kod = 0;
    int year = 0;
    int month = 0;
    QString text1, text2;
    int ym() const { return 12 * year + month; }
};

struct Service {
    QString name;
    int feeGroup = 0;
    int order = 0;
};

struct FeeGroup {
    QString name;
    int order = 0;
};

QDate dateOf(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

std::optional<double> optionalDouble(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    return v.toDouble();
}

qint64 grosze(double value)
{
    return qint64(std::llround(money::round(value) * 100));
}

bool passes(const StatementOptions& o, const ChildAddress& child)
{
    if (o.child)
        return child.kod == *o.child;
    if (!o.inactive && !child.aktywny)
        return false;
    if (o.groups && !o.groups->contains(child.klasa))
        return false;
    return true;
}

// DZIECI columns named by the parameters, read only when the table has
// them: a field it does not have prints blank.
QHash<int, QStringList> childColumns(Database& db, const QStringList& fields)
{
    QHash<int, QStringList> out;
    QStringList present;
    for (const QString& f : fields)
        if (!f.isEmpty() && db.hasColumn(QStringLiteral("DZIECI"), f.toUpper()))
            present << f.toUpper();
    if (present.isEmpty())
        return out;
    present.removeDuplicates();
    Query q(db, QStringLiteral("select KOD, ") + present.join(QStringLiteral(", ")) + QStringLiteral(" from DZIECI"));
    q.exec();
    while (q.next()) {
        QStringList values;
        for (const QString& f : fields) {
            const int at = int(present.indexOf(f.toUpper()));
            values << (at < 0 ? QString() : q.value(at + 1).toString());
        }
        out.insert(q.value(0).toInt(), values);
    }
    return out;
}

class Reader {
public:
    Reader(Database& db, StatementData& out) : m_db(db), m_out(out) {}

    void readMonths()
    {
        Query q(m_db, QStringLiteral("select KOD, ROK, MIES, TEKST1, TEKST2 from MIESIACE"));
        q.exec();
        while (q.next()) {
            Month m{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toString(),
                    q.value(4).toString()};
            m_months.insert(m.kod, m);
            m_out.months.insert(m.kod, {m.year, m.month});
        }
    }

    void readCatalogues()
    {
        Query g(m_db, QStringLiteral("select KOD, NAZWA, KOLEJ from GRUPYOP"));
        g.exec();
        while (g.next()) {
            m_groups.insert(g.value(0).toInt(), {g.value(1).toString(), g.value(2).toInt()});
            m_out.feeGroups.insert(g.value(0).toInt(), g.value(1).toString());
        }
        Query s(m_db, QStringLiteral("select KOD, NAZWA, GRUPAOP, KOLEJ from MEDIA"));
        s.exec();
        while (s.next()) {
            m_services.insert(s.value(0).toInt(), {s.value(1).toString(), s.value(2).toInt(), s.value(3).toInt()});
            m_out.services.insert(s.value(0).toInt(), s.value(1).toString());
        }
    }

    // The charge lines up to the statement month: approved ones, or the
    // statement month's computed ones and earlier approved ones.
    void readCharges(const Month& chosen)
    {
        const StatementOptions& o = m_out.options;
        const bool helpCentre = m_db.hasColumn(QStringLiteral("NALICZ"), QStringLiteral("IDOPIE"));
        const bool mode3 = o.mode == SettlementMode::FeeGroupPrices;
        const bool mode4 = o.mode == SettlementMode::FeeGroupSettlement;
        QString sql = QStringLiteral("select N.KOD, N.TYP, N.OSOBA, N.MEDIUM, N.ILOSC, N.JM, N.CENA, N.WARTOSC, "
                                     "N.ROZLICZ, N.DOT, N.ID%1 from NALICZ N, MIESIACE M where N.KOD=M.KOD and ")
                          .arg(helpCentre ? QStringLiteral(", N.IDOPIE") : QString());
        sql += mode3 ? QStringLiteral("N.KOD=:M") : QStringLiteral("12*M.ROK+M.MIES<=:YM");
        Query q(m_db, sql);
        if (mode3)
            q.bind(QStringLiteral("M"), chosen.kod);
        else
            q.bind(QStringLiteral("YM"), chosen.ym());
        q.exec();
        while (q.next()) {
            const int kod = q.value(0).toInt();
            const QString typ = q.value(1).toString();
            const Month& m = m_months[kod];
            const bool wanted = o.unapproved ? (kod == chosen.kod && typ == QLatin1String("0"))
                                                   || (m.ym() < chosen.ym() && typ == QLatin1String("1"))
                                             : typ == QLatin1String("1");
            if (!wanted)
                continue;
            const bool covered = helpCentre && !q.value(11).isNull() && q.value(11).toInt() != 0;
            if (covered && o.withoutHelpCentre)
                continue;
            const auto service = m_services.constFind(q.value(3).toInt());
            if (service == m_services.cend())
                continue;
            const auto group = m_groups.constFind(service->feeGroup);
            if (group == m_groups.cend())
                continue;
            const QString rozlicz = q.value(8).toString();
            if ((mode3 || mode4) && (service->feeGroup != o.feeGroup.value_or(-1) || rozlicz != QLatin1String("T")))
                continue;
            if (!childPasses(q.value(2).toInt()))
                continue;
            StatementRow r;
            r.kodmies = kod;
            r.year = m.year;
            r.month = m.month;
            r.child = q.value(2).toInt();
            r.rozlicz = rozlicz.isEmpty() ? QChar() : rozlicz.at(0);
            r.kolejg = group->order;
            r.feeGroup = service->feeGroup;
            r.kolejs = service->order;
            r.medium = q.value(3).toInt();
            r.quantity = optionalDouble(q.value(4));
            r.unit = q.value(5).toString();
            r.price = optionalDouble(q.value(6));
            r.value = -q.value(7).toDouble();
            if (!q.value(9).isNull())
                r.dot = q.value(9).toInt();
            r.id = q.value(10).toInt();
            r.helpCentre = covered;
            m_rows.append(r);
        }
    }

    // Payments ('W') or confirmations ('V') of every month up to the statement month.
    void readPayments(const Month& chosen, bool confirmations)
    {
        Query q(m_db, QStringLiteral("select N.KOD, N.DATA, N.OSOBA, %1, N.ID from %2 N, MIESIACE M "
                                     "where N.KOD=M.KOD and 12*M.ROK+M.MIES<=:YM")
                          .arg(confirmations ? QStringLiteral("0") : QStringLiteral("N.WARTOSC"),
                               confirmations ? QStringLiteral("ZGLWPL") : QStringLiteral("WPLATY")));
        q.bind(QStringLiteral("YM"), chosen.ym()).exec();
        while (q.next()) {
            if (!childPasses(q.value(2).toInt()))
                continue;
            const Month& m = m_months[q.value(0).toInt()];
            StatementRow r;
            r.kodmies = m.kod;
            r.year = m.year;
            r.month = m.month;
            r.child = q.value(2).toInt();
            r.rozlicz = confirmations ? QLatin1Char('V') : QLatin1Char('W');
            r.date = dateOf(q.value(1));
            r.value = confirmations ? 0.0 : q.value(3).toDouble();
            r.id = q.value(4).toInt();
            m_rows.append(r);
        }
    }

    // One empty payment row per child, so that every child gets a line.
    void addEmptyLines(const Month& chosen)
    {
        for (const ChildAddress& c : std::as_const(m_out.children))
            if (childPasses(c.kod)) {
                StatementRow r;
                r.kodmies = chosen.kod;
                r.year = chosen.year;
                r.month = chosen.month;
                r.child = c.kod;
                r.rozlicz = QLatin1Char('W');
                r.quantity = 0.0;
                r.price = 0.0;
                r.dot = 0;
                m_rows.append(r);
            }
    }

    bool childPasses(int kod) const
    {
        const auto c = m_out.children.constFind(kod);
        return c != m_out.children.cend() && passes(m_out.options, *c);
    }

    void sortRows()
    {
        QCollator collator{QLocale(QLocale::Polish)};
        QHash<int, int> rank;  // children in name order, by the sort field first
        QList<int> kods = m_out.children.keys();
        const bool bySortField = !m_out.sort.field.isEmpty();
        std::sort(kods.begin(), kods.end(), [&](int a, int b) {
            if (bySortField) {
                const QString& x = m_out.sortValues[a];
                const QString& y = m_out.sortValues[b];
                bool nx = false, ny = false;
                const double dx = x.toDouble(&nx), dy = y.toDouble(&ny);
                if (nx && ny && dx != dy)
                    return dx < dy;
                if (!(nx && ny)) {
                    const int c = collator.compare(x, y);
                    if (c != 0)
                        return c < 0;
                }
            }
            const int c = collator.compare(m_out.children[a].nazwa, m_out.children[b].nazwa);
            return c != 0 ? c < 0 : a < b;
        });
        for (int i = 0; i < kods.size(); ++i)
            rank.insert(kods[i], i);
        auto key = [&](const StatementRow& r) {
            return std::make_tuple(rank.value(r.child), r.year, r.month, r.rozlicz.unicode(), r.kolejg, r.feeGroup,
                                   r.kolejs, r.id);
        };
        std::stable_sort(m_rows.begin(), m_rows.end(),
                         [&](const StatementRow& a, const StatementRow& b) { return key(a) < key(b); });
    }

    // Each price of the fee group summed over the statement month, per
    // child: once per DOT, once with DOT 0 over all of them.
    void sumPrices()
    {
        using Key = std::tuple<int, int, double, int, int, QString, int>;  // medium, child, price, dot, kolejs, unit, rozlicz
        std::map<Key, StatementRow> byDot, total;
        for (const StatementRow& r : std::as_const(m_rows)) {
            const double price = r.price.value_or(0);
            auto add = [&](std::map<Key, StatementRow>& into, std::optional<int> dot) {
                const Key k{r.medium, r.child, price, dot.value_or(std::numeric_limits<int>::min()), r.kolejs, r.unit,
                            r.rozlicz.unicode()};
                auto [it, fresh] = into.try_emplace(k, r);
                StatementRow& s = it->second;
                if (fresh) {
                    s.quantity = r.quantity.value_or(0);
                    s.id = 0;
                    s.dot = dot;
                } else {
                    s.quantity = *s.quantity + r.quantity.value_or(0);
                    s.value += r.value;
                }
            };
            add(byDot, r.dot);
            add(total, 0);
        }
        m_rows.clear();
        for (auto& [k, r] : byDot)
            m_rows.append(r);
        for (auto& [k, r] : total)
            m_rows.append(r);
        std::stable_sort(m_rows.begin(), m_rows.end(), [](const StatementRow& a, const StatementRow& b) {
            return std::make_tuple(a.medium, a.price.value_or(0), a.child, a.rozlicz.unicode())
                   < std::make_tuple(b.medium, b.price.value_or(0), b.child, b.rozlicz.unicode());
        });
    }

    QList<StatementRow> take() { return std::move(m_rows); }
    const QHash<int, Month>& months() const { return m_months; }

private:
    Database& m_db;
    StatementData& m_out;
    QHash<int, Month> m_months;
    QHash<int, Service> m_services;
    QHash<int, FeeGroup> m_groups;
    QList<StatementRow> m_rows;
};

QStringList subtitleOf(const StatementData& d)
{
    const StatementOptions& o = d.options;
    QStringList lines;
    if (!(d.landscape && int(o.mode) >= int(SettlementMode::Full) && !o.historyFrom))
        lines << polish::monthYear(d.year, d.month);
    lines << d.institution.name;
    QString filter;
    if (!o.child) {
        if (o.groups)
            filter = QStringLiteral("grupy: ") + o.groupNames.join(QStringLiteral(", "));
        auto append = [&](const QString& part) {
            if (!filter.isEmpty())
                filter += QStringLiteral(", ");
            filter += part;
        };
        if (o.inactive)
            append(QStringLiteral("łącznie z nieaktywnymi"));
        if (o.chosenFilter)
            append(QStringLiteral("(tylko wybrani)"));
    }
    if (!filter.isEmpty())
        lines << filter;
    if (o.debtOver) {
        QString debt = QStringLiteral("zadłużeni powyżej ") + money::format(*o.debtOver, 2, false) + QStringLiteral(" zł");
        if (o.confirmations)
            debt += QStringLiteral(", z pominięciem zgłoszonych potwierdzeń wpłat");
        lines << debt;
    }
    return lines;
}

}  // namespace

QString statementTitle(bool payments)
{
    return payments ? QStringLiteral("Zestawienie naliczeń i wpłat na miesiąc")
                    : QStringLiteral("Zestawienie naliczeń na miesiąc");
}

QList<ChildBalance> childBalances(const StatementData& data)
{
    QList<ChildBalance> out;
    QHash<int, int> at;
    QHash<int, qint64> sums;
    for (const StatementRow& r : data.rows) {
        auto it = at.constFind(r.child);
        if (it == at.cend()) {
            it = at.insert(r.child, int(out.size()));
            out.append({r.child, 0, false});
        }
        sums[r.child] += grosze(r.value);
        if (r.rozlicz == QLatin1Char('V') && r.kodmies == data.monthKod)
            out[*it].confirmation = true;
    }
    for (ChildBalance& b : out)
        b.balance = double(sums.value(b.child)) / 100;
    return out;
}

StatementData readStatementData(Database& db, const StatementOptions& options, bool landscape)
{
    StatementData out;
    out.options = options.effective(landscape);
    const StatementOptions& o = out.options;
    out.landscape = landscape;

    Parameters params;
    params.load(db);
    out.settledText = params.tekstNaRozliczenie;
    out.advanceText = params.tekstNaZaliczka;
    out.paymentsText = params.tekstNaWplaty;
    out.arrearsText = params.tekstNaZaleglosc;
    out.groupFees = params.grupujOplaty;
    out.quantityDecimals = qBound(0, params.iloscPoPrzecinku, 6);
    if (o.definedSort && !params.sortZestawienia.trimmed().isEmpty())
        out.sort = parseSortSetting(params.sortZestawienia);
    if (o.extra)
        out.extraColumns = parseExtraColumns(params.daneZestawienia);
    out.institution = Institution::read(db);
    out.footerLine = report::footerLine(db);
    out.children = readChildAddresses(db);
    if (!out.sort.field.isEmpty()) {
        const QHash<int, QStringList> values = childColumns(db, {out.sort.field});
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            out.sortValues.insert(it.key(), it.value().value(0));
    }
    if (!out.extraColumns.isEmpty()) {
        QStringList fields;
        for (const ExtraColumn& c : out.extraColumns)
            fields << c.field;
        out.extraValues = childColumns(db, fields);
    }

    Reader reader(db, out);
    reader.readMonths();
    const auto chosen = reader.months().constFind(o.month);
    out.title = statementTitle(o.payments);
    if (chosen == reader.months().cend())
        return out;
    out.monthKod = chosen->kod;
    out.year = chosen->year;
    out.month = chosen->month;
    out.text1 = chosen->text1;
    out.text2 = chosen->text2;
    out.historyStart = o.historyFrom.value_or(chosen->year * 100 + chosen->month);
    out.subtitle = subtitleOf(out);

    reader.readCatalogues();
    reader.readCharges(*chosen);
    if (o.mode == SettlementMode::FeeGroupPrices) {
        reader.sumPrices();
        out.rows = reader.take();
        return out;
    }
    if (o.payments) {
        reader.readPayments(*chosen, false);
        if (o.confirmations)
            reader.readPayments(*chosen, true);
        if (landscape && !o.historyFrom)
            reader.addEmptyLines(*chosen);
    }
    reader.sortRows();
    out.rows = reader.take();

    // "Wybrani" and "Zadłużeni powyżej" keep only some children.
    if (o.debtOver || o.chosen) {
        QSet<int> kept;
        for (const ChildBalance& b : childBalances(out)) {
            if (o.debtOver
                && (b.confirmation || grosze(-b.balance) <= grosze(*o.debtOver)))
                continue;
            if (o.chosen && !o.chosen->contains(b.child))
                continue;
            kept.insert(b.child);
        }
        out.rows.removeIf([&](const StatementRow& r) { return !kept.contains(r.child); });
    }
    return out;
}

QList<int> statementChildren(Database& db, StatementOptions options, bool landscape)
{
    options.chosen.reset();
    QList<int> out;
    for (const ChildBalance& b : childBalances(readStatementData(db, options, landscape)))
        out << b.child;
    return out;
}

}  // namespace printouts
