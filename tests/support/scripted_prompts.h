#pragma once
// Prompts answered from a script. A test queues the prompts it expects, in
// order, each with its answer:
//
//     ScriptedPrompts p;
//     p.expectYesNo("Usunąć dane?", true);
//     p.expectText("Hasło w internecie", "Hasło", "abc");
//     p.expectDate("Data zmiany", QDate(2024, 3, 5)).withText("Przynależy …");
//
// A prompt that is not the next one expected fails the current test and is
// answered as cancelled. Information and error messages need no expectation
// (they are recorded in shown()); an expected one must come in its turn.
// Prompts still queued when the double is destroyed, or at done(), fail.

#include "browser/picker_logic.h"
#include "browser/prompts.h"

#include <deque>
#include <functional>
#include <optional>

class ScriptedPrompts : public Prompts {
public:
    enum class Kind {
        Info, Error, YesNo, YesNoClosable, YesNoCancel, Choice,
        List, Record, Suggestion, Command, SortOrder, Checks, OrderedChecks, ChecksWithOption, ListWithChoice, Radio,
        Date, Time, TimeText, Month,
        Text, TextWithOption, Memo, LineAndMemo, MemoEditor,
        OpenFile, SaveFile, Folder,
    };
    static QString kindName(Kind kind);

    // What a prompt showed when it was asked.
    struct Asked {
        Kind kind;
        QString title;        // the text itself for messages and yes/no questions
        QString text;         // label, prompt or message under the title
        QStringList offered;  // entries, buttons or lines offered
        QStringList checked;  // entries checked at the start
        QString preset;       // the value shown at the start, as text
        QStringList lines;    // lines of the drop-down box under a list
    };

    class Expectation {
    public:
        // Also require this label, prompt or message.
        Expectation& withText(const QString& text)
        {
            m_text = text;
            return *this;
        }

    private:
        friend class ScriptedPrompts;
        Kind m_kind = Kind::Info;
        QString m_title;
        std::optional<QString> m_text;
        bool m_cancel = false;
        bool m_keepPreset = false;
        bool m_flag = false;
        Answer m_answer = Answer::Cancel;
        int m_number = 0;
        int m_year = 0;
        QVariant m_value;
        QString m_string;
        std::optional<QString> m_string2;
        QStringList m_list;
        QDate m_date;
        QTime m_time;
        std::function<void(picker::OrderedCheckList&)> m_orderedEdit;
    };

    ScriptedPrompts() = default;
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;
    ~ScriptedPrompts() override;

    // --- the script -------------------------------------------------------
    Expectation& expectInfo(const QString& text);
    Expectation& expectError(const QString& text);
    Expectation& expectYesNo(const QString& text, bool yes);
    Expectation& expectYesNoClosable(const QString& text, Answer answer);
    Expectation& expectYesNoCancel(const QString& text, Answer answer);
    // -1 … -N for a button, 0 for closing the dialog.
    Expectation& expectChoice(const QString& title, int result);
    Expectation& expectList(const QString& title, const QVariant& value);
    Expectation& expectListEntry(const QString& title, const QString& entryText);
    Expectation& expectRecord(const QString& title, int key);
    Expectation& expectSuggestion(const QString& title, const QString& text);
    Expectation& expectCommand(const QString& title, const QString& captionWithoutAccelerator);
    // By the fields "A;B" or by the text shown.
    Expectation& expectSortOrder(const QString& title, const QString& fieldsOrText);
    // Exactly these entries checked on OK.
    Expectation& expectChecks(const QString& title, const QStringList& checked);
    // OK without touching the list.
    Expectation& expectChecksAsOffered(const QString& title);
    // The edits a user makes (moves, separators, ticks) before OK.
    Expectation& expectOrderedChecks(const QString& title,
                                     std::function<void(picker::OrderedCheckList&)> edit = {});
    Expectation& expectChecksWithOption(const QString& title, const QStringList& checked, const QString& option);
    Expectation& expectListWithChoice(const QString& title, const QString& text);
    // Without a text the box keeps the line it starts on.
    Expectation& expectRadio(const QString& title, int choice, std::optional<QString> text = std::nullopt);
    Expectation& expectDate(const QString& title, const QDate& date);
    Expectation& expectTime(const QString& title, const QTime& time);
    Expectation& expectTimeText(const QString& title, const QString& text);
    Expectation& expectMonth(const QString& title, int year, int month);
    Expectation& expectText(const QString& title, const QString& label, const QString& answer);
    Expectation& expectTextWithOption(const QString& title, const QString& label, const QString& answer,
                                      bool option);
    Expectation& expectMemo(const QString& title, const QString& text);
    Expectation& expectLineAndMemo(const QString& title, const QString& line, const QString& memo);
    Expectation& expectMemoEdit(const QString& caption, const QString& text);
    Expectation& expectOpenFile(const QString& title, const QString& path);
    Expectation& expectSaveFile(const QString& title, const QString& path);
    Expectation& expectFolder(const QString& title, const QString& folder);
    // The prompt of this kind and title is cancelled (closed, for messages).
    Expectation& expectCancel(Kind kind, const QString& title);

    // Unexpected information and error messages fail as well.
    void setStrictMessages(bool strict) { m_strictMessages = strict; }

    // --- what happened ------------------------------------------------------
    // Every message and question text, in order.
    const QStringList& shown() const { return m_shown; }
    const QList<Asked>& asked() const { return m_asked; }
    int pending() const { return int(m_queue.size()); }
    // Fails the test for every expected prompt not asked; true when none.
    bool done();

    // --- Prompts ----------------------------------------------------------
    void showInfo(const QString& text) override;
    void showError(const QString& text) override;
    bool askYesNo(const QString& text) override;
    Answer askYesNoClosable(const QString& text) override;
    Answer askYesNoCancel(const QString& text) override;
    int askChoice(const QString& title, const QString& message, const QStringList& buttons,
                  ChoiceIcon icon = ChoiceIcon::Question) override;
    bool pickFromList(const QString& title, const QString& label, const QList<PickEntry>& entries,
                      QVariant& value) override;
    bool pickRecord(const QString& title, const QList<PickEntry>& rows, int& key, bool offerAll) override;
    bool askSuggestion(const QString& title, const QStringList& suggestions, QString& text) override;
    bool chooseCommand(const QString& title, const QList<CommandEntry>& commands, int& current) override;
    bool chooseSortOrder(const QString& title, const QList<SortOption>& options, QString& fields) override;
    bool pickChecks(const QString& title, QList<PickEntry>& entries, int checkedCount) override;
    bool pickOrderedChecks(const QString& title, QList<OrderedEntry>& entries, int checkedCount) override;
    bool pickChecksWithOption(const QString& title, QList<PickEntry>& entries, int checkedCount,
                              const QString& label, const QStringList& optionLines, QString& option) override;
    bool pickWithChoice(const QString& title, const QList<PickEntry>& entries, const QString& label,
                        const QStringList& choiceLines, QString& text,
                        const std::function<void(int)>& onDoubleClick = {}) override;
    bool pickRadio(const RadioRequest& request, int& choice, QString& text) override;
    bool pickDate(const QString& title, const QString& prompt, QDate& date) override;
    bool pickTime(const QString& title, const QString& prompt, QTime& time) override;
    QString askTimeText(const QString& title, const QString& prompt, const QString& initial) override;
    bool pickMonth(const QString& title, const QString& description, int& year, int& month) override;
    bool askText(const QString& title, const QString& label, QString& value, bool password = false) override;
    bool askTextWithOption(const QString& title, const QString& label, QString& value,
                           const QString& optionCaption, bool& option) override;
    bool askMemo(const QString& title, const QString& prompt, QString& text) override;
    bool askLineAndMemo(const QString& title, const QString& prompt, QString& line, QString& memo) override;
    bool editMemo(const QString& caption, QString& text) override;
    bool openFile(const FileDialogOptions& options, QString& path) override;
    bool saveFile(const FileDialogOptions& options, QString& path) override;
    bool chooseFolder(const QString& title, QString& folder) override;

private:
    Expectation& expect(Kind kind, const QString& title);
    // Records the prompt and takes the matching expectation; nothing (the
    // prompt is then cancelled) when it does not match.
    std::optional<Expectation> take(const Asked& asked);
    void fail(const Asked& asked, const QString& why);
    static QString describe(Kind kind, const QString& title, const std::optional<QString>& text);

    std::deque<Expectation> m_queue;
    QStringList m_shown;
    QList<Asked> m_asked;
    bool m_strictMessages = false;
};
