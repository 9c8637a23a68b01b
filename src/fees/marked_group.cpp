// Code 15: the marked children moved to another group, each with the
// history row of the group it leaves.

#include "fees/charge_operation.h"
#include "fees/marked_operations.h"

#include "browser/prompts.h"
#include "browser/run_context.h"
#include "registers/child_group_change.h"
#include "shell/access_rules.h"
#include "store/database.h"
#include "store/query.h"

namespace fees {

namespace {

class MoveGroup : public ChargeOperationRun {
public:
    QString progressText() const override { return QStringLiteral("Zmiana"); }
    bool choosesComponents() const override { return false; }

    bool ask(ChargeRunState& state) override
    {
        QList<PickEntry> groups;
        Query q(state.db, QStringLiteral("SELECT KOD, NAZWA FROM KLASY ORDER BY KOLEJ, KOD"));
        q.exec();
        while (q.next())
            if (state.visibleGroups.isEmpty() || permissions::groupVisible(state.visibleGroups, q.value(0).toString()))
                groups << PickEntry{q.value(1).toString(), q.value(0).toInt()};
        if (!state.prompts.pickFromList(QStringLiteral("Wybierz nową grupę"), QString(), groups, m_group)
            || !m_group.isValid())
            return false;
        m_group = m_group.toInt();
        // The day and the reason hold for the whole batch; asked here so that
        // nothing waits for the user inside the run's transaction.
        m_batch.dateAsked = true;
        m_batch.date = state.chargeMonth.first;
        m_batch.cancelled =
            !state.prompts.pickDate(QStringLiteral("Data zmiany"), GroupChange::datePrompt(), m_batch.date);
        if (!m_batch.cancelled) {
            state.prompts.askText(QStringLiteral("Zmiana grupy"), QStringLiteral("Podaj przyczynę zmiany grupy"),
                                  m_reason);
            m_batch.reasonAsked = true;
            m_batch.reason = m_reason;
        }
        return true;
    }

    void begin(ChargeRunState& state) override { m_change.emplace(*state.context, QStringLiteral("DZIEKLA")); }

    void runChild(ChargeRunState& state, const RunChild& child) override
    {
        const QVariant oldGroup = Query(state.db, QStringLiteral("SELECT KLASA FROM DZIECI WHERE KOD = :K"))
                                      .bind(QStringLiteral("K"), child.code)
                                      .scalar();
        // Already there: no change, and no history of a group never left.
        if (!oldGroup.isNull() && oldGroup.toInt() == m_group.toInt())
            return;
        if (auto row = m_change->prepare(child.code, oldGroup, child.caption, state.chargeMonth.first, &m_batch)) {
            row->reason = m_reason.left(100);
            m_change->write(*row);
        }
        Query(state.db, QStringLiteral("UPDATE DZIECI SET KLASA = :G, AKTYWNY = :A WHERE KOD = :K"))
            .bind(QStringLiteral("G"), m_group)
            .bind(QStringLiteral("A"), m_group.toInt() != 0 ? QStringLiteral("T") : QStringLiteral("N"))
            .bind(QStringLiteral("K"), child.code)
            .exec();
    }

private:
    QVariant m_group;
    GroupChangeBatch m_batch;
    QString m_reason;
    std::optional<GroupChange> m_change;
};

}  // namespace

std::unique_ptr<ChargeOperationRun> moveGroupOperation()
{
    return std::make_unique<MoveGroup>();
}

}  // namespace fees
