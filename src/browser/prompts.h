#pragma once
// Every question the program asks the user. Areas talk to the user only
// through this interface; the windows implement it with dialogs and tests
// with a scripted double. A cancelled prompt leaves the values passed in
// unchanged and returns false.
//
// Line breaks inside texts are "\n".

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <functional>

// One entry of a list picker or check list: what is shown and what it stands for.
struct PickEntry {
    QString text;
    QVariant value;

    bool operator==(const PickEntry&) const = default;
};

// One entry of the ordered check list: a command or toolbar button with its
// image number, or a separator (shown as an empty entry without an image).
struct OrderedEntry {
    QString text;
    QVariant value;
    int image = -1;
    bool separator = false;

    static OrderedEntry makeSeparator() { return {QString(), QVariant(), -1, true}; }
    bool operator==(const OrderedEntry&) const = default;
};

// A command offered by the command choice; only those with an action are shown.
struct CommandEntry {
    QString caption;  // with its "&" accelerator
    bool hasAction = true;
};

// An ordering offered by the sort-order choice (see sortOrderOptions()).
struct SortOption {
    QString fields;  // "A;B;C", the ordering to apply
    QString text;    // the captions shown, "Nazwisko, Imię"

    bool operator==(const SortOption&) const = default;
};

// The radio picker: a radio group of choices and a drop-down box of lines.
struct RadioRequest {
    QString title;
    QStringList choices;  // may be empty
    int preset = 0;       // counted from 1; 0 = none
    QString groupCaption;
    QString label;
    QStringList lines;
};

struct FileDialogOptions {
    QString title;
    QString folder;            // where the dialog opens
    QString fileName;          // preset name
    QString filter;            // "Pliki txt|*.txt|Wszystkie|*.*"; empty = no filter
    QString defaultExtension;  // without the dot
};

enum class Answer { Yes, No, Cancel };
enum class ChoiceIcon { Question, Information };

class Prompts {
public:
    virtual ~Prompts() = default;

    // --- messages and questions -------------------------------------------
    virtual void showInfo(const QString& text) = 0;
    virtual void showError(const QString& text) = 0;
    // Closing the question counts as No.
    virtual bool askYesNo(const QString& text) = 0;
    // Yes and No buttons; closing the question gives Cancel.
    virtual Answer askYesNoClosable(const QString& text) = 0;
    virtual Answer askYesNoCancel(const QString& text) = 0;
    // One button per caption: -1 for the first, -2 for the second …;
    // closing the dialog without a button gives 0.
    virtual int askChoice(const QString& title, const QString& message, const QStringList& buttons,
                          ChoiceIcon icon = ChoiceIcon::Question) = 0;

    // --- pickers on the list window -----------------------------------------
    // A drop-down list without typing, preselected on `value`; an empty label
    // hides the label. OK without a selection counts as cancel.
    virtual bool pickFromList(const QString& title, const QString& label, const QList<PickEntry>& entries,
                              QVariant& value) = 0;
    // Rows (shown text, key) in the data set's order, preceded by "Wszystkie"
    // (key kAllRecords) when offered.
    virtual bool pickRecord(const QString& title, const QList<PickEntry>& rows, int& key, bool offerAll) = 0;
    // An editable drop-down box; `text` is the preset and the answer.
    virtual bool askSuggestion(const QString& title, const QStringList& suggestions, QString& text) = 0;
    // `current` indexes `commands`; it stays when nothing is chosen.
    virtual bool chooseCommand(const QString& title, const QList<CommandEntry>& commands, int& current) = 0;
    // `fields` is the current ordering and the answer.
    virtual bool chooseSortOrder(const QString& title, const QList<SortOption>& options, QString& fields) = 0;
    // The first `checkedCount` entries start checked; on OK `entries` keeps
    // the checked ones in their order.
    virtual bool pickChecks(const QString& title, QList<PickEntry>& entries, int checkedCount) = 0;
    // As pickChecks, with reordering and separators; on OK `entries` holds
    // the checked entries in the order shown, no separator after the last
    // checked command.
    virtual bool pickOrderedChecks(const QString& title, QList<OrderedEntry>& entries, int checkedCount) = 0;
    // The check list and a drop-down list of option lines; `option` is the
    // preset and the answer.
    virtual bool pickChecksWithOption(const QString& title, QList<PickEntry>& entries, int checkedCount,
                                      const QString& label, const QStringList& optionLines, QString& option) = 0;
    // A plain list and an editable drop-down box; `text` is the preset and
    // the answer. A double-click on an entry calls onDoubleClick(index).
    virtual bool pickWithChoice(const QString& title, const QList<PickEntry>& entries, const QString& label,
                                const QStringList& choiceLines, QString& text,
                                const std::function<void(int)>& onDoubleClick = {}) = 0;
    // On OK `choice` is the radio number counted from 1 (0 when none was
    // made) and `text` the box's text.
    virtual bool pickRadio(const RadioRequest& request, int& choice, QString& text) = 0;

    // --- dates and times --------------------------------------------------
    // An invalid date opens on today. An empty prompt shows none.
    virtual bool pickDate(const QString& title, const QString& prompt, QDate& date) = 0;
    // An invalid time opens on the current time; seconds are kept.
    virtual bool pickTime(const QString& title, const QString& prompt, QTime& time) = 0;
    // The text form: "HH:mm:ss" on OK, empty on cancel. An initial text that
    // is not a time opens on the current time; exactly "1" opens as if the
    // digit 1 had just been typed (a key pressed in a grid continues there).
    virtual QString askTimeText(const QString& title, const QString& prompt, const QString& initial) = 0;
    // `month` is 1–12.
    virtual bool pickMonth(const QString& title, const QString& description, int& year, int& month) = 0;

    // --- texts ------------------------------------------------------------
    // A one-line text prompt; `value` is the preset and the answer.
    virtual bool askText(const QString& title, const QString& label, QString& value, bool password = false) = 0;
    // The same with a check box under the line.
    virtual bool askTextWithOption(const QString& title, const QString& label, QString& value,
                                   const QString& optionCaption, bool& option) = 0;
    virtual bool askMemo(const QString& title, const QString& prompt, QString& text) = 0;
    // A one-line box (an amount, say) above a multi-line box (its description).
    virtual bool askLineAndMemo(const QString& title, const QString& prompt, QString& line, QString& memo) = 0;
    // The memo editor of a field, titled with the field's caption; true when
    // the user saved.
    virtual bool editMemo(const QString& caption, QString& text) = 0;

    // --- files and folders ------------------------------------------------
    // The dialogs open where the options say; `path` and `folder` take the answer.
    virtual bool openFile(const FileDialogOptions& options, QString& path) = 0;
    virtual bool saveFile(const FileDialogOptions& options, QString& path) = 0;
    // Opens in `folder`.
    virtual bool chooseFolder(const QString& title, QString& folder) = 0;
};

// The key of "Wszystkie" in the record picker.
inline constexpr int kAllRecords = -1;
