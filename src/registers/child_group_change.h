#pragma once
// The change of a person's group with its history row: children (DZIEKLA)
// and, through the same routine, any register keeping a history table of
// the same shape (OSOBA, DODATY, KLASA, UWAGI). The operations on marked
// children run it for each child with one batch state.
//
//   GroupChange change(context, "DZIEKLA");
//   change.saveChange(personTable, oldGroup, context.systemDate());  // while editing
//   if (auto row = change.prepare(kod, oldGroup, caption, day, &batch))
//       change.write(*row);                                          // in a batch

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>

struct RunContext;
class Table;

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
    // True when the last prepare() ended because the user cancelled the day.
    bool dayCancelled() const { return m_dayCancelled; }

    // The change made in a person record being edited: prepare() on its
    // KOD and CAPTION, then the record saved together with its history row
    // in one transaction, so a later cancel cannot lose either. A cancelled
    // day leaves the record in edit, without history. False when nothing
    // was saved.
    bool saveChange(Table& person, const QVariant& oldGroup, const QDate& defaultDate);

    static QString datePrompt();
    static QString recordedMessage(const QDate& changeDay);

private:
    RunContext& m_context;
    QString m_table;
    bool m_dayCancelled = false;
};
