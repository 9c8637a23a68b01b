// Codes 11, 12 and 22: a child's fee component periods (DZIEMED) copied
// from the first marked child, or given another calculation or settlement
// method.

#include "fees/charge_operation.h"
#include "fees/marked_operations.h"

#include "browser/prompts.h"
#include "store/database.h"
#include "store/query.h"
#include "store/values.h"

namespace fees {

namespace {

QList<int> chosenCodes(const ChargeRunState& state)
{
    QList<int> codes;
    for (const catalogue::Component& c : state.components)
        codes << c.code;
    return codes;
}

struct ComponentPeriod {
    QVariant component;
    QVariant from;
    QVariant to;
    QVariant method;
    QVariant settlementMethod;
};

class CopyComponents : public ChargeOperationRun {
public:
    QString progressText() const override { return QStringLiteral("Powielanie"); }
    bool ask(ChargeRunState&) override { return true; }
    void begin(ChargeRunState& state) override { m_components = chosenCodes(state); }

    void runChild(ChargeRunState& state, const RunChild& child) override
    {
        if (m_rows.isEmpty()) {
            readSource(state, child.code);
            return;
        }
        Query exists(state.db, QStringLiteral("SELECT COUNT(*) FROM DZIEMED WHERE OSOBA = :O AND MEDIUM = :M "
                                              "AND ODDATY = :D"));
        Query add(state.db, QStringLiteral("INSERT INTO DZIEMED (OSOBA, MEDIUM, ODDATY, DODATY, SPOSOB, SPOROZ) "
                                           "VALUES (:O, :M, :D, :DO, :S, :R)"));
        for (const ComponentPeriod& row : m_rows) {
            // The child's own period from that day stays; inserting it would
            // break the run's transaction on engines that abort on a refused row.
            exists.bind(QStringLiteral("O"), child.code)
                .bind(QStringLiteral("M"), row.component)
                .bind(QStringLiteral("D"), row.from);
            if (exists.scalar().toInt() > 0)
                continue;
            add.bind(QStringLiteral("O"), child.code)
                .bind(QStringLiteral("M"), row.component)
                .bind(QStringLiteral("D"), row.from)
                .bind(QStringLiteral("DO"), row.to)
                .bind(QStringLiteral("S"), row.method)
                .bind(QStringLiteral("R"), row.settlementMethod)
                .exec();
        }
    }

private:
    // The periods of the chosen components still in force on the month's
    // first day or later; none leaves the child unchanged and the next one
    // is looked at.
    void readSource(ChargeRunState& state, int child)
    {
        Query q(state.db, QStringLiteral("SELECT MEDIUM, ODDATY, DODATY, SPOSOB, SPOROZ FROM DZIEMED "
                                         "WHERE OSOBA = :O AND (DODATY IS NULL OR DODATY >= :D1) "
                                         "ORDER BY MEDIUM, ODDATY"));
        q.bind(QStringLiteral("O"), child).bind(QStringLiteral("D1"), state.chargeMonth.first).exec();
        while (q.next()) {
            if (!m_components.contains(q.value(0).toInt()))
                continue;
            m_rows << ComponentPeriod{q.value(0), values::toDate(q.value(1)), values::toDate(q.value(2)), q.value(3),
                                      q.value(4)};
        }
    }

    QList<int> m_components;
    QList<ComponentPeriod> m_rows;
};

class SetMethod : public ChargeOperationRun {
public:
    explicit SetMethod(bool settlement) : m_settlement(settlement) {}

    QString progressText() const override { return QStringLiteral("Zmiana"); }

    bool ask(ChargeRunState& state) override
    {
        QList<PickEntry> methods;
        Query q(state.db, QStringLiteral("SELECT KOD, NAZWA FROM SPOSOBY ORDER BY KOD"));
        q.exec();
        while (q.next())
            methods << PickEntry{q.value(1).toString(), q.value(0).toInt()};
        const QString title = m_settlement ? QStringLiteral("Wybierz nowy sposób rozliczania")
                                           : QStringLiteral("Wybierz nowy sposób liczenia");
        if (!state.prompts.pickFromList(title, QString(), methods, m_method) || !m_method.isValid())
            return false;
        m_method = m_method.toInt();
        return true;
    }

    void begin(ChargeRunState& state) override { m_components = chosenCodes(state); }

    // Periods in force at some day of the month; their dates stay as they are.
    void runChild(ChargeRunState& state, const RunChild& child) override
    {
        Query q(state.db, QStringLiteral("UPDATE DZIEMED SET %1 = :S WHERE OSOBA = :O AND MEDIUM = :M "
                                         "AND ODDATY <= :D2 AND (DODATY IS NULL OR DODATY >= :D1)")
                              .arg(m_settlement ? QStringLiteral("SPOROZ") : QStringLiteral("SPOSOB")));
        for (const int component : m_components)
            q.bind(QStringLiteral("S"), m_method)
                .bind(QStringLiteral("O"), child.code)
                .bind(QStringLiteral("M"), component)
                .bind(QStringLiteral("D1"), state.chargeMonth.first)
                .bind(QStringLiteral("D2"), state.chargeMonth.last)
                .exec();
    }

private:
    bool m_settlement = false;
    QVariant m_method;
    QList<int> m_components;
};

}  // namespace

std::unique_ptr<ChargeOperationRun> copyComponentsOperation()
{
    return std::make_unique<CopyComponents>();
}

std::unique_ptr<ChargeOperationRun> setMethodOperation(bool settlement)
{
    return std::make_unique<SetMethod>(settlement);
}

}  // namespace fees
