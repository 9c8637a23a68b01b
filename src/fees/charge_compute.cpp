#include "charge_compute.h"

#include "browser/message_log.h"
#include "browser/prompts.h"
#include "fees/attendance_quantities.h"
#include "fees/charge_lines.h"
#include "fees/charge_periods.h"
#include "fees/evaluator.h"
#include "fees/quantity_data_loader.h"
#include "fees/quantity_substitution.h"
#include "store/database.h"
#include "store/money.h"
#include "store/params.h"
#include "store/polish_dates.h"
#include "store/chunked_statement.h"
#include "store/query.h"
#include "store/typed_query.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <map>

namespace fees {

namespace {

quint64 key(int child, int component)
{
    return (quint64(quint32(child)) << 32) | quint32(component);
}

// An approved advance of the settled month, reversed by the settlement.
struct ApprovedLine {
    double quantity = 0;
    QString unit;
    double price = 0;
    double value = 0;
    QVariant rate;
    QVariant vat;
    QVariant helpCentre;
};

// The quantities of one month for every child of the run, and the
// providers of the periods met, so components sharing a period share
// their computed quantities.
class PassQuantities {
public:
    PassQuantities(Database& db, const ChargeMonth& month, const QString& freeDays, const QList<int>& children,
                   const QuantitySettings& settings, MessageLog& log)
        : m_data(loadQuantityData(db, month.first, month.last, children)),
          m_freeDays(freeDays), m_month(month), m_settings(settings), m_log(log)
    {
    }

    AttendanceQuantityProvider& provider(int child, QDate first, QDate last)
    {
        if (child != m_child) {
            m_providers.clear();
            m_child = child;
        }
        auto& slot = m_providers[{first.toJulianDay(), last.toJulianDay()}];
        if (!slot) {
            const QuantityPeriod period{m_month.first, m_month.last, first, last};
            slot = std::make_unique<AttendanceQuantityProvider>(m_data, m_settings, child, m_freeDays, period, &m_log);
        }
        return *slot;
    }

private:
    QuantityData m_data;
    attendance::FreeDays m_freeDays;
    ChargeMonth m_month;
    QuantitySettings m_settings;
    MessageLog& m_log;
    int m_child = 0;
    std::map<std::pair<qint64, qint64>, std::unique_ptr<AttendanceQuantityProvider>> m_providers;
};

class ComputeOperation : public ChargeOperationRun {
public:
    QString progressText() const override { return QStringLiteral("Wyliczanie"); }

    bool ask(ChargeRunState& state) override
    {
        const ChargeMonth& charge = state.chargeMonth;
        ChargeMonth settled = state.settledMonth;
        const QString text = QStringLiteral("Naliczenia na miesiąc: ") + polish::monthYear(charge.year, charge.month)
            + QStringLiteral("\r\n") + QStringLiteral("Rozliczenia za miesiąc: ")
            + polish::monthYear(settled.year, settled.month);
        const int answer = state.prompts.askChoice(QStringLiteral("Naliczanie, rozliczanie"), text,
                                                   {QStringLiteral("OK"), QStringLiteral("Inny")});
        if (answer == -2) {
            int year = settled.year;
            int month = settled.month;
            if (!state.prompts.pickMonth(QStringLiteral("Rozliczanie"), QStringLiteral("Wybierz miesiąc rozliczany"),
                                         year, month))
                return false;
            state.settledMonth = ChargeMonth::of(year, month);
        } else if (answer != -1) {
            return false;
        }
        readMonthRecord(state.db, state.settledMonth);
        if (!state.settledMonth.code)
            state.settledMonth.freeDays = QStringLiteral("-");
        return confirmSettledMonth(state);
    }

    // Settlement reverses only approved lines: a settled month that was
    // computed but never approved would pass unsettled without a word.
    static bool confirmSettledMonth(ChargeRunState& state)
    {
        const ChargeMonth& settled = state.settledMonth;
        if (!settled.code)
            return true;
        Query q(state.db, QStringLiteral("SELECT TYP, COUNT(*) FROM NALICZ WHERE KOD = :K GROUP BY TYP"));
        q.bind(QStringLiteral("K"), settled.code).exec();
        bool computed = false;
        bool approved = false;
        while (q.next()) {
            const bool isApproved = q.value(0).toString() == QLatin1String("1");
            (isApproved ? approved : computed) = q.value(1).toInt() > 0;
        }
        if (!computed || approved)
            return true;
        if (!state.prompts.askYesNo(unapprovedSettledQuestion(settled.year, settled.month)))
            return false;
        state.log.addRemark(unapprovedSettledRemark(settled.year, settled.month));
        return true;
    }

    void begin(ChargeRunState& state) override
    {
        Database& db = state.db;
        const ChargeMonth& charge = state.chargeMonth;
        const ChargeMonth& settled = state.settledMonth;
        m_decimals = state.params.iloscPoPrzecinku;
        m_upToHalf = state.params.poPrzecinkuDoGory == 1;
        m_invoicing = state.invoicing;
        m_uniform = state.params.sposobyJednolite;

        const QList<int> codes = state.childCodes();
        const QSet<int> wanted(codes.cbegin(), codes.cend());
        QSet<int> chosen;
        for (const catalogue::Component& c : state.components)
            chosen.insert(c.code);

        {
            Query q(db, QStringLiteral("SELECT KOD, OPIS FROM SPOSOBY"));
            q.exec();
            while (q.next())
                m_definitions.insert(q.value(0).toInt(), CompiledDefinition(q.value(1).toString()));
        }
        readChildRows(db, wanted, chosen);

        const QDate from = std::min(charge.first, settled.first);
        const QDate to = std::max(charge.last, settled.last);
        // The catalogue in one read per table, whatever the number of components.
        QList<int> componentCodes;
        for (const catalogue::Component& c : state.components)
            componentCodes << c.code;
        m_prices = catalogue::pricesOverlapping(db, componentCodes, from, to);
        if (m_uniform)
            m_methods = catalogue::methodsOverlapping(db, componentCodes, from, to);
        if (m_invoicing)
            m_vat = catalogue::vatPercents(db);

        if (m_invoicing && db.hasColumn(QStringLiteral("OPCJE"), QStringLiteral("OPIE"))) {
            const QVariant opie = Query(db, QStringLiteral("SELECT OPIE FROM OPCJE ORDER BY ID")).scalar();
            if (!opie.isNull() && opie.toInt() != 0)
                m_helpCentre = opie.toInt();
        }

        const ComputedToReplace replaced = readChargeMonthLines(db, charge.code, wanted, chosen);
        if (settled.code)
            readSettledApproved(db, settled.code, wanted);

        const QuantitySettings settings = QuantitySettings::from(state.params);
        m_charge = std::make_unique<PassQuantities>(db, charge, charge.freeDays, codes, settings, state.log);
        m_settled = std::make_unique<PassQuantities>(db, settled, settled.freeDays, codes, settings, state.log);
        m_writer = std::make_unique<ChargeLineWriter>(db, m_invoicing);
        deleteComputed(db, charge.code, replaced);
    }

    void runChild(ChargeRunState& state, const RunChild& child) override
    {
        for (const catalogue::Component& component : state.components) {
            const quint64 k = key(child.code, component.code);
            if (m_approved.contains(k)) {
                state.log.addRemark(child.caption + QStringLiteral(", składnik \"") + component.name
                                    + QStringLiteral("\" jest już zatwierdzony"));
                continue;
            }
            m_reversed = false;
            const QList<ChildComponentRow> rows = m_childRows.value(k);
            try {
                pass(state, child.code, component.code, rows, false);
                pass(state, child.code, component.code, rows, true);
            } catch (const AmountOutOfRange& e) {
                throw Error(componentLineMessage(child.caption, component.name, e.message()));
            }
        }
    }

    void end(ChargeRunState&) override { m_writer->flush(); }

private:
    // The computed lines the run writes again: those of its children and
    // components, except where the component is approved for the child.
    struct ComputedToReplace {
        QList<qint64> ids;
        bool wholeMonth = false;  // every computed line of the month
    };

    ComputedToReplace readChargeMonthLines(Database& db, int month, const QSet<int>& wanted, const QSet<int>& chosen)
    {
        struct Computed {
            qint64 id;
            quint64 key;
            bool covered;  // a child and component of the run
        };
        QList<Computed> computed;
        TypedQuery q(db, QStringLiteral("SELECT ID, OSOBA, MEDIUM, TYP FROM NALICZ WHERE KOD = :K"));
        q.bind(QStringLiteral("K"), month).exec();
        while (q.next()) {
            const int child = int(q.integer(1));
            const int component = int(q.integer(2));
            const QChar type = q.mark(3);
            if (type == QLatin1Char('1'))
                m_approved.insert(key(child, component));
            else if (type == QLatin1Char('0'))
                computed.append({q.integer(0), key(child, component), wanted.contains(child) && chosen.contains(component)});
        }
        ComputedToReplace out;
        for (const Computed& c : computed)
            if (c.covered && !m_approved.contains(c.key))
                out.ids.append(c.id);
        out.wholeMonth = !out.ids.isEmpty() && out.ids.size() == computed.size();
        return out;
    }

    // One statement for the month in the usual case; by key in chunks when
    // the run covers only some of its lines.
    static void deleteComputed(Database& db, int month, const ComputedToReplace& lines)
    {
        if (lines.wholeMonth) {
            Query(db, QStringLiteral("DELETE FROM NALICZ WHERE KOD = :K AND TYP = '0'")).bind(QStringLiteral("K"), month).exec();
            return;
        }
        QList<QVariant> ids;
        ids.reserve(lines.ids.size());
        for (const qint64 id : lines.ids)
            ids.append(id);
        runChunked(db, QStringLiteral("DELETE FROM NALICZ WHERE ID IN ("), QStringLiteral("?"), QStringLiteral(")"),
                   ids, 1);
    }

    void readChildRows(Database& db, const QSet<int>& wanted, const QSet<int>& chosen)
    {
        const bool share = db.hasColumn(QStringLiteral("DZIEMED"), QStringLiteral("PROCOPIE"));
        TypedQuery q(db, QStringLiteral("SELECT OSOBA, MEDIUM, ODDATY, DODATY, SPOSOB, SPOROZ%1 FROM DZIEMED")
                             .arg(share ? QStringLiteral(", PROCOPIE") : QString()));
        q.exec();
        while (q.next()) {
            const int child = int(q.integer(0));
            const int component = int(q.integer(1));
            if (!wanted.contains(child) || !chosen.contains(component))
                continue;
            ChildComponentRow row;
            row.from = q.date(2);
            row.to = q.date(3);
            row.calculation = int(q.integer(4));
            row.settlement = int(q.integer(5));
            if (share)
                row.helpShare = q.number(6);
            m_childRows[key(child, component)] << row;
        }
        // Engines order empty dates differently: an empty first day goes first.
        for (auto it = m_childRows.begin(); it != m_childRows.end(); ++it)
            std::stable_sort(it->begin(), it->end(), [](const ChildComponentRow& a, const ChildComponentRow& b) {
                return !a.from.isValid() ? b.from.isValid() : b.from.isValid() && a.from < b.from;
            });
    }

    void readSettledApproved(Database& db, int settledCode, const QSet<int>& wanted)
    {
        const QString invoicingColumns = m_invoicing ? QStringLiteral(", STAWKA, VAT, IDOPIE") : QString();
        TypedQuery q(db, QStringLiteral("SELECT OSOBA, MEDIUM, ROZLICZ, ILOSC, JM, CENA, WARTOSC%1 FROM NALICZ "
                                        "WHERE KOD = :K AND TYP = '1' ORDER BY ID")
                             .arg(invoicingColumns));
        q.bind(QStringLiteral("K"), settledCode).exec();
        while (q.next()) {
            const int child = int(q.integer(0));
            if (!wanted.contains(child) || q.mark(2) == QLatin1Char('T'))
                continue;
            ApprovedLine line;
            line.quantity = q.number(3);
            line.unit = q.text(4);
            line.price = q.number(5);
            line.value = q.number(6);
            if (m_invoicing) {
                line.rate = q.isNull(7) ? QVariant() : QVariant(q.integer(7));
                line.vat = q.isNull(8) ? QVariant() : QVariant(q.number(8));
                line.helpCentre = q.isNull(9) ? QVariant() : QVariant(q.integer(9));
            }
            m_settledApproved[key(child, int(q.integer(1)))] << line;
        }
    }

    void pass(ChargeRunState& state, int child, int component, const QList<ChildComponentRow>& rows, bool settling)
    {
        const ChargeMonth& month = settling ? state.settledMonth : state.chargeMonth;
        const auto methods = m_methods.constFind(component);
        const QList<catalogue::MethodRow>* uniform = m_uniform && methods != m_methods.cend() ? &*methods : nullptr;
        static const QList<catalogue::MethodRow> noMethods;
        if (m_uniform && !uniform)
            uniform = &noMethods;
        const QList<catalogue::PriceRow>& prices = *m_prices.constFind(component);
        const QList<ChargePeriod> periods =
            chargePeriods(month.first, month.last, state.chargeMonth.last, rows, uniform, prices);
        for (const ChargePeriod& period : periods) {
            const auto found = m_definitions.constFind(settling ? period.settlement : period.calculation);
            if (found == m_definitions.cend() || found->isEmpty())
                continue;
            if (settling && !m_reversed) {
                m_reversed = true;
                reverse(state, child, component);
            }
            writeLines(state, child, component, period, *found, settling);
        }
    }

    void reverse(ChargeRunState& state, int child, int component)
    {
        for (const ApprovedLine& approved : m_settledApproved.value(key(child, component))) {
            ChargeLine line;
            line.month = state.chargeMonth.code;
            line.child = child;
            line.component = component;
            line.settlement = true;
            line.dot = -state.settledMonth.code;
            line.quantity = -approved.quantity;
            line.unit = approved.unit;
            line.price = approved.price;
            line.value = -approved.value;
            // The help centre's advance goes back on its own invoice, with its VAT.
            line.rate = approved.rate;
            line.vat = approved.vat.isNull() ? QVariant() : QVariant(-approved.vat.toDouble());
            line.helpCentre = approved.helpCentre;
            m_writer->write(line);
        }
    }

    void writeLines(ChargeRunState& state, int child, int component, const ChargePeriod& period,
                    const CompiledDefinition& definition, bool settling)
    {
        PassQuantities& quantities = settling ? *m_settled : *m_charge;
        AttendanceQuantityProvider& provider = quantities.provider(child, period.first, period.last);
        double quantity = definition.evaluate(provider, m_decimals);
        if (m_upToHalf)
            quantity = roundUpToHalf(quantity);

        const bool split = period.helpShare > 0.000001;
        for (int part = 0; part < (split ? 2 : 1); ++part) {
            ChargeLine line;
            line.month = state.chargeMonth.code;
            line.child = child;
            line.component = component;
            line.settlement = settling;
            if (settling)
                line.dot = state.settledMonth.code;
            line.quantity = quantity;
            if (split) {
                const double share = part == 0 ? (100 - period.helpShare) * 0.01 : period.helpShare * 0.01;
                // Ten places drop the binary noise of the product, nothing a user can see.
                line.quantity = money::roundHalfAway(quantity * share, 10);
                if (part == 1 && m_helpCentre.isValid())
                    line.helpCentre = m_helpCentre;
            }
            if (line.quantity == 0)
                continue;
            const catalogue::PriceRow& price = *period.price;
            line.unit = price.unit;
            line.price = price.price;
            line.value = lineValue(price.price, line.quantity);
            if (m_invoicing && !price.vatRate.isNull()) {
                const auto percent = m_vat.constFind(price.vatRate.toInt());
                if (percent != m_vat.cend()) {
                    line.rate = price.vatRate.toInt();
                    line.vat = containedVat(line.value, *percent);
                }
            }
            m_writer->write(line);
        }
    }

    int m_decimals = 4;
    bool m_upToHalf = false;
    bool m_invoicing = false;
    bool m_uniform = false;
    QVariant m_helpCentre;
    QHash<int, CompiledDefinition> m_definitions;  // read once per run, by method
    QHash<quint64, QList<ChildComponentRow>> m_childRows;
    QHash<int, QList<catalogue::PriceRow>> m_prices;
    QHash<int, QList<catalogue::MethodRow>> m_methods;
    QHash<int, double> m_vat;  // VAT percentages by rate
    QSet<quint64> m_approved;
    QHash<quint64, QList<ApprovedLine>> m_settledApproved;
    std::unique_ptr<PassQuantities> m_charge;
    std::unique_ptr<PassQuantities> m_settled;
    std::unique_ptr<ChargeLineWriter> m_writer;
    bool m_reversed = false;
};

}  // namespace

std::unique_ptr<ChargeOperationRun> makeComputeOperation()
{
    return std::make_unique<ComputeOperation>();
}

}  // namespace fees
