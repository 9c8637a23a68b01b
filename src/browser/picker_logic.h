#pragma once
// What the pickers decide without a screen: which entries they offer, what
// starts selected and what they give back. The dialogs and the scripted
// test double both run on these, so they answer alike.

#include "browser/prompts.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace picker {

// --- list entries -----------------------------------------------------------

// "Wszystkie" first when offered, then the rows.
QList<PickEntry> recordEntries(const QList<PickEntry>& rows, bool offerAll);
// Index of the entry holding `value`, -1 when none does.
int indexOfValue(const QList<PickEntry>& entries, const QVariant& value);
QStringList texts(const QList<PickEntry>& entries);
// One suggestion per row: the row's field texts joined by " ".
QStringList suggestions(const QList<QStringList>& rows);

// "&Zapisz" -> "Zapisz", "A&&B" -> "A&B".
QString withoutAccelerator(const QString& caption);

// The captions offered by the command choice and, for each, the index of
// its command in the list given.
struct CommandOffer {
    QStringList captions;
    QList<int> commandIndexes;
};
CommandOffer commandOffer(const QList<CommandEntry>& commands);

// The orderings offered for a table: one per index whose fields begin with
// the prefix, shown as the captions of the fields after it. `captions` maps
// every field the table has to its caption; an index naming another field,
// or with nothing after the prefix, is left out.
QList<SortOption> sortOrderOptions(const QList<QStringList>& indexFields, const QHash<QString, QString>& captions,
                                   const QString& prefix);
int indexOfFields(const QList<SortOption>& options, const QString& fields);

// --- check lists ------------------------------------------------------------

class CheckList {
public:
    CheckList(const QList<PickEntry>& entries, int checkedCount);

    int size() const { return m_entries.size(); }
    const PickEntry& entry(int i) const { return m_entries.at(i); }
    bool isChecked(int i) const { return m_checked.at(i); }
    void setChecked(int i, bool checked) { m_checked[i] = checked; }
    // Checks the entries with these texts only; false when a text is not offered.
    bool checkExactly(const QStringList& texts);
    void checkAll();
    void clearAll();
    QList<PickEntry> result() const;

private:
    QList<PickEntry> m_entries;
    QList<bool> m_checked;
};

class OrderedCheckList {
public:
    OrderedCheckList(const QList<OrderedEntry>& entries, int checkedCount);

    int size() const { return m_entries.size(); }
    const OrderedEntry& entry(int i) const { return m_entries.at(i); }
    bool isChecked(int i) const { return m_checked.at(i); }
    void setChecked(int i, bool checked) { m_checked[i] = checked; }
    void checkAll();
    void clearAll();
    // Dragging `from` onto `target` puts it just before the target;
    // target == size() puts it last. Returns the entry's new index.
    int moveBefore(int from, int target);
    // A checked separator before `selected`, or last when it is -1.
    // Returns its index.
    int addSeparator(int selected);
    // The checked entries in order, without separators after the last
    // checked command.
    QList<OrderedEntry> result() const;

private:
    QList<OrderedEntry> m_entries;
    QList<bool> m_checked;
};

// The option box of the check list with option, and the editable box of
// the list with choice: the lines offered and the one preselected (-1: none).
struct BoxSetup {
    QStringList lines;
    int current = -1;
};
// With no lines the current text is the only one.
BoxSetup optionBox(const QStringList& lines, const QString& current);

// --- radio picker -----------------------------------------------------------

struct RadioSetup {
    int columns = 1;     // two when more than 10 choices
    int checked = -1;    // index of the preset choice, -1 when none
    int lineIndex = -1;  // preselected line of the second box
};
RadioSetup radioSetup(int choiceCount, int preset, int lineCount);

// --- dates and times --------------------------------------------------------

QDate startDate(const QDate& given, const QDate& today);
QTime startTime(const QTime& given, const QTime& now);

struct TimePromptStart {
    QTime time;
    bool typeOne = false;  // open as if "1" had just been typed
};
TimePromptStart timePromptStart(const QString& initial, const QTime& now);
// The long time form shown and returned by the time prompt.
QString longTime(const QTime& time);

// --- choice dialog ----------------------------------------------------------

// Every button is as wide as the widest caption + 8, never narrower than the
// standard button.
int choiceButtonWidth(int widestCaption, int standardWidth);
// Half the screen, wider when the row of buttons (10 apart) needs it.
int choiceDialogWidth(int screenWidth, int buttonCount, int buttonWidth, int margins);

// --- file dialogs -----------------------------------------------------------

// "Pliki txt|*.txt;*.csv|Wszystkie|*.*" -> "Pliki txt (*.txt *.csv);;Wszystkie (*.*)"
QString qtFileFilter(const QString& filter);

// --- shift dialog -----------------------------------------------------------

enum class ShiftDirection { Up, Down, Left, Right };
// (vertical, horizontal): up (-step, 0), down (step, 0), left (0, -step), right (0, step).
QPair<int, int> shift(ShiftDirection direction, int step);

}  // namespace picker
