#include "child_group_change.h"

#include "browser/message_log.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "store/database.h"
#include "store/error.h"
#include "store/polish_dates.h"
#include "store/query.h"
#include "store/table.h"
#include "store/values.h"

GroupChange::GroupChange(RunContext& context, const QString& historyTable) : m_context(context), m_table(historyTable) {}

QString GroupChange::datePrompt()
{
    return QStringLiteral("Przynależy do nowej grupy od dnia:\r\n(Anuluj - nie zapamięta poprzedniej)");
}

QString GroupChange::recordedMessage(const QDate& changeDay)
{
    return QStringLiteral("Zarejestrowano już zmianę grupy na dzień ") + polish::shortDate(changeDay);
}

std::optional<GroupHistoryRow> GroupChange::prepare(const QVariant& person, const QVariant& oldGroup,
                                                    const QString& caption, const QDate& defaultDate,
                                                    GroupChangeBatch* batch)
{
    m_dayCancelled = false;
    QDate day = defaultDate;
    if (batch && batch->dateAsked) {
        if (batch->cancelled) {
            m_dayCancelled = true;
            return std::nullopt;
        }
        day = batch->date;
    } else {
        const bool chosen = m_context.prompts.pickDate(QStringLiteral("Data zmiany"), datePrompt(), day);
        if (batch) {
            batch->dateAsked = true;
            batch->cancelled = !chosen;
            batch->date = day;
        }
        if (!chosen) {
            m_dayCancelled = true;
            return std::nullopt;
        }
    }

    Query last(m_context.db(), QStringLiteral("select max(DODATY) from %1 where OSOBA = :O").arg(m_table));
    last.bind(QStringLiteral("O"), person);
    const QDate latest = values::toDate(last.scalar());
    if (latest.isValid()) {
        const QDate next = latest.addDays(1);
        if (next > day) {
            if (!batch)
                throw Error(recordedMessage(next));
            if (m_context.messages)
                m_context.messages->addError(caption + QStringLiteral(" - zarejestrowano już zmianę grupy na dzień ")
                                             + polish::shortDate(next));
            return std::nullopt;
        }
        if (next == day)
            return std::nullopt;  // the group in between never took effect
    }

    QString reason;
    if (batch && batch->reasonAsked) {
        reason = batch->reason + QLatin1Char(' ');
    } else {
        m_context.prompts.askText(QStringLiteral("Zmiana grupy"), QStringLiteral("Podaj przyczynę zmiany grupy"), reason);
        if (batch) {
            batch->reasonAsked = true;
            batch->reason = reason;
        }
    }
    return GroupHistoryRow{person, day.addDays(-1), oldGroup, reason.left(100)};
}

void GroupChange::write(const GroupHistoryRow& row)
{
    Query(m_context.db(), QStringLiteral("insert into %1 (OSOBA, DODATY, KLASA, UWAGI) values (:O, :D, :K, :U)").arg(m_table))
        .bind(QStringLiteral("O"), row.person)
        .bind(QStringLiteral("D"), row.until)
        .bind(QStringLiteral("K"), row.group)
        .bind(QStringLiteral("U"), row.reason)
        .exec();
}

bool GroupChange::saveChange(Table& person, const QVariant& oldGroup, const QDate& defaultDate)
{
    const auto row = prepare(person.value(QStringLiteral("KOD")), oldGroup, person.text(QStringLiteral("CAPTION")),
                             defaultDate);
    if (m_dayCancelled)
        return false;
    Transaction tx(m_context.db());
    if (row)
        write(*row);
    person.post();
    tx.commit();
    return true;
}
