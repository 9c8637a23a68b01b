#pragma once
// The change of a person's group with its history row: children (DZIEKLA)
// and, through the same routine, any register keeping a history table of
// the same shape (OSOBA, DODATY, KLASA, UWAGI). The operations on marked
// children run it for each child with one batch state.
//
//   GroupChange change(context, "DZIEKLA");
//   if (auto row = change.prepare(kod, oldGroup, caption, context.systemDate()))
//       change.write(*row);   // together with the person's save

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>

struct RunContext;

struct GroupHistoryRow {
    QVariant person;
    QDate until;      // the last day in the old group
    QVariant group;   // the old group
    QString reason;
};

// What the first child of a batch answered, for the children after it.
struct GroupChangeBatch {
    bool dateAsked = false;
    bool cancelled = false;  // no history for any child of the batch
    QDate date;
    bool reasonAsked = false;
    QString reason;
};

class GroupChange {
public:
    GroupChange(RunContext& context, const QString& historyTable);

    // Asks the day of the change (and the reason) and decides the history
    // row; none when the user cancels the day or a change on that very day
    // is already recorded. A day before an already recorded change is
    // refused with Error, or in a batch reported in the message window.
    std::optional<GroupHistoryRow> prepare(const QVariant& person, const QVariant& oldGroup, const QString& caption,
                                           const QDate& defaultDate, GroupChangeBatch* batch = nullptr);
    void write(const GroupHistoryRow& row);

    static QString datePrompt();
    static QString recordedMessage(const QDate& changeDay);

private:
    RunContext& m_context;
    QString m_table;
};
