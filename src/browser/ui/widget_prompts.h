#pragma once
// Prompts asked with the program's dialogs, each modal over `parent`.

#include "browser/prompts.h"

#include <QIcon>

#include <functional>

class QWidget;

class WidgetPrompts : public Prompts {
public:
    explicit WidgetPrompts(QWidget* parent = nullptr) : m_parent(parent) {}

    // The images of commands in the ordered check list, by image number.
    void setIconProvider(std::function<QIcon(int)> icons) { m_icons = std::move(icons); }

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
    bool fileDialog(const FileDialogOptions& options, bool save, QString& path);

    QWidget* m_parent;
    std::function<QIcon(int)> m_icons;
};
