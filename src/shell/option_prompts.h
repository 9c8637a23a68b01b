#pragma once
// The prompts of the program answered from a command's options, for the
// headless front. A command says, before it runs a module's operation,
// which questions it expects and where each answer comes from; the module
// then asks as it does in the window and gets those answers.
//
//     OptionPrompts p(out, err);
//     p.answerDate("Zatwierdzanie opłat", "Wybierz datę wystawienia", issueDate, "--issue-date");
//
// An answer without a value takes the prompt's preset. A question nobody
// expected, or one whose answer was declared required and not given, throws
// Error naming the question and the option that should answer it. Check
// lists keep every entry unless an option lists the wanted ones.
// Information goes to the output stream, errors to the error stream.

#include "browser/prompts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

class QTextStream;

class OptionPrompts : public Prompts {
public:
    OptionPrompts(QTextStream& out, QTextStream& err);

    // --- what the command expects ---------------------------------------
    // `title` (and `text` when not empty) select the prompt; an empty title
    // matches any. `option` is what the error names when an answer is missing.
    void answerYesNo(const QString& question, bool yes, const QString& option = {});
    // -1 for the first button, -2 for the second …
    void answerChoice(const QString& title, int button, const QString& option = {});
    // Without a date: the preset, or an error when `required`.
    void answerDate(const QString& title, const QString& prompt, std::optional<QDate> date, const QString& option,
                    bool required = false);
    void answerMonth(const QString& title, std::optional<QPair<int, int>> yearMonth, const QString& option,
                     bool required = false);
    void answerText(const QString& title, const QString& label, std::optional<QString> text, const QString& option,
                    bool required = false);
    // Keeps the entries whose value or text is one of `wanted` (every entry
    // without `wanted`); an item no entry stands for is an error naming it.
    void answerChecks(const QString& title, std::optional<QStringList> wanted, const QString& option);
    // A list picker answered by the entry whose value or text is `wanted`.
    void answerList(const QString& title, std::optional<QString> wanted, const QString& option,
                    bool required = false);

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

    // "Brak odpowiedzi na pytanie „…” (opcja --x)"; without an option the
    // text says that the command answers no such question.
    static QString missingAnswer(const QString& question, const QString& option);

private:
    enum class Kind { YesNo, Choice, Date, Month, Text, Checks, List };
    struct Rule {
        Kind kind;
        QString title;
        QString text;
        QString option;
        QVariant value;  // invalid: the preset
        bool required = false;
    };

    // The rule for the prompt; throws the missing-answer error when there is
    // none, or when it is required and has no value.
    const Rule& rule(Kind kind, const QString& title, const QString& text);
    [[noreturn]] void unexpected(const QString& title, const QString& text);
    void add(Rule rule);

    QTextStream& m_out;
    QTextStream& m_err;
    QList<Rule> m_rules;
};
