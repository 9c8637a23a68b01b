#include "widget_prompts.h"

#include "browser/picker_logic.h"
#include "choice_dialog.h"
#include "date_time_dialogs.h"
#include "list_window.h"
#include "radio_dialog.h"
#include "text_dialogs.h"

#include <QFileDialog>
#include <QRegularExpression>

// --- messages and questions ----------------------------------------------

void WidgetPrompts::showInfo(const QString& text)
{
    TDlKomunikat(false, text, m_parent).exec();
}

void WidgetPrompts::showError(const QString& text)
{
    // A rule that refuses without a message throws an empty error.
    if (text.isEmpty())
        return;
    TDlKomunikat(true, text, m_parent).exec();
}

bool WidgetPrompts::askYesNo(const QString& text)
{
    return TDlPytanie(TDlPytanie::Form::YesNo, text, m_parent).ask() == Answer::Yes;
}

Answer WidgetPrompts::askYesNoClosable(const QString& text)
{
    return TDlPytanie(TDlPytanie::Form::YesNoClosable, text, m_parent).ask();
}

Answer WidgetPrompts::askYesNoCancel(const QString& text)
{
    return TDlPytanie(TDlPytanie::Form::YesNoCancel, text, m_parent).ask();
}

int WidgetPrompts::askChoice(const QString& title, const QString& message, const QStringList& buttons,
                             ChoiceIcon icon)
{
    return TDlWybor(title, message, buttons, icon, m_parent).exec();
}

// --- pickers on the list window --------------------------------------------

bool WidgetPrompts::pickFromList(const QString& title, const QString& label, const QList<PickEntry>& entries,
                                 QVariant& value)
{
    TDlLista dialog(title, m_parent);
    dialog.showBox(label, picker::texts(entries), picker::indexOfValue(entries, value), false);
    if (dialog.exec() != QDialog::Accepted || dialog.boxIndex() < 0)
        return false;
    value = entries.at(dialog.boxIndex()).value;
    return true;
}

bool WidgetPrompts::pickRecord(const QString& title, const QList<PickEntry>& rows, int& key, bool offerAll)
{
    const QList<PickEntry> entries = picker::recordEntries(rows, offerAll);
    TDlLista dialog(title, m_parent);
    dialog.showBox(QString(), picker::texts(entries), picker::indexOfValue(entries, key), false);
    if (dialog.exec() != QDialog::Accepted || dialog.boxIndex() < 0)
        return false;
    key = entries.at(dialog.boxIndex()).value.toInt();
    return true;
}

bool WidgetPrompts::askSuggestion(const QString& title, const QStringList& suggestions, QString& text)
{
    TDlLista dialog(title, m_parent);
    dialog.showBox(QString(), suggestions, int(suggestions.indexOf(text)), true, text);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.boxText();
    return true;
}

bool WidgetPrompts::chooseCommand(const QString& title, const QList<CommandEntry>& commands, int& current)
{
    const picker::CommandOffer offer = picker::commandOffer(commands);
    TDlLista dialog(title, m_parent);
    dialog.showBox(QString(), offer.captions, int(offer.commandIndexes.indexOf(current)), false);
    if (dialog.exec() != QDialog::Accepted || dialog.boxIndex() < 0)
        return false;
    current = offer.commandIndexes.at(dialog.boxIndex());
    return true;
}

bool WidgetPrompts::chooseSortOrder(const QString& title, const QList<SortOption>& options, QString& fields)
{
    QStringList texts;
    for (const SortOption& o : options)
        texts.append(o.text);
    TDlLista dialog(title, m_parent);
    dialog.showBox(QString(), texts, picker::indexOfFields(options, fields), false);
    if (dialog.exec() != QDialog::Accepted || dialog.boxIndex() < 0)
        return false;
    fields = options.at(dialog.boxIndex()).fields;
    return true;
}

bool WidgetPrompts::pickChecks(const QString& title, QList<PickEntry>& entries, int checkedCount)
{
    TDlLista dialog(title, m_parent);
    dialog.showCheckList(entries, checkedCount);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    entries = dialog.checkedEntries();
    return true;
}

bool WidgetPrompts::pickOrderedChecks(const QString& title, QList<OrderedEntry>& entries, int checkedCount)
{
    TDlLista dialog(title, m_parent);
    dialog.showOrderedList(entries, checkedCount, m_icons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    entries = dialog.orderedResult();
    return true;
}

bool WidgetPrompts::pickChecksWithOption(const QString& title, QList<PickEntry>& entries, int checkedCount,
                                         const QString& label, const QStringList& optionLines, QString& option)
{
    const picker::BoxSetup box = picker::optionBox(optionLines, option);
    TDlLista dialog(title, m_parent);
    dialog.showCheckList(entries, checkedCount);
    dialog.showBox(label, box.lines, box.current, false);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    entries = dialog.checkedEntries();
    option = dialog.boxText();
    return true;
}

bool WidgetPrompts::pickWithChoice(const QString& title, const QList<PickEntry>& entries, const QString& label,
                                   const QStringList& choiceLines, QString& text,
                                   const std::function<void(int)>& onDoubleClick)
{
    const picker::BoxSetup box = picker::optionBox(choiceLines, text);
    TDlLista dialog(title, m_parent);
    dialog.showPlainList(picker::texts(entries), onDoubleClick);
    dialog.showBox(label, box.lines, box.current, true, text);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.boxText();
    return true;
}

bool WidgetPrompts::pickRadio(const RadioRequest& request, int& choice, QString& text)
{
    TDlRadio dialog(request, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice = dialog.choice();
    text = dialog.boxText();
    return true;
}

// --- dates and times ----------------------------------------------------

bool WidgetPrompts::pickDate(const QString& title, const QString& prompt, QDate& date)
{
    TDlData dialog(title, prompt, date, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    date = dialog.date();
    return true;
}

bool WidgetPrompts::pickTime(const QString& title, const QString& prompt, QTime& time)
{
    TDlCzas dialog(title, prompt, time, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    time = dialog.time();
    return true;
}

QString WidgetPrompts::askTimeText(const QString& title, const QString& prompt, const QString& initial)
{
    const picker::TimePromptStart start = picker::timePromptStart(initial, QTime::currentTime());
    TDlCzas dialog(title, prompt, start.time, m_parent);
    if (start.typeOne)
        dialog.startWithOne();
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return picker::longTime(dialog.time());
}

bool WidgetPrompts::pickMonth(const QString& title, const QString& description, int& year, int& month)
{
    TDlMiesiac dialog(title, description, year, month, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    year = dialog.year();
    month = dialog.month();
    return true;
}

// --- texts --------------------------------------------------------------

bool WidgetPrompts::askText(const QString& title, const QString& label, QString& value, bool password)
{
    TDlTekst dialog(title, label, value, m_parent);
    dialog.setPassword(password);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.text();
    return true;
}

bool WidgetPrompts::askTextWithOption(const QString& title, const QString& label, QString& value,
                                      const QString& optionCaption, bool& option)
{
    TDlTekst dialog(title, label, value, m_parent);
    dialog.addOption(optionCaption, option);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.text();
    option = dialog.option();
    return true;
}

bool WidgetPrompts::askMemo(const QString& title, const QString& prompt, QString& text)
{
    TDlMemo dialog(title, prompt, false, QString(), text, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.memo();
    return true;
}

bool WidgetPrompts::askLineAndMemo(const QString& title, const QString& prompt, QString& line, QString& memo)
{
    TDlMemo dialog(title, prompt, true, line, memo, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    line = dialog.line();
    memo = dialog.memo();
    return true;
}

bool WidgetPrompts::editMemo(const QString& caption, QString& text)
{
    TFmMemo editor(caption, text, m_parent);
    editor.exec();
    if (!editor.saved())
        return false;
    text = editor.text();
    return true;
}

// --- files and folders --------------------------------------------------

bool WidgetPrompts::fileDialog(const FileDialogOptions& options, bool save, QString& path)
{
    QFileDialog dialog(m_parent, options.title, options.folder, picker::qtFileFilter(options.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(options.defaultExtension);
    if (save) {
        // A name typed without extension gets the one of the kind chosen
        // ("Pliki PDF (*.PDF)" gives .pdf), not always the first kind's.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            static const QRegularExpression firstPattern(QStringLiteral("\\(\\*\\.(\\w+)"));
            const QRegularExpressionMatch m = firstPattern.match(filter);
            if (m.hasMatch())
                dialog.setDefaultSuffix(m.captured(1).toLower());
        });
    }
    if (!options.fileName.isEmpty())
        dialog.selectFile(options.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = dialog.selectedFiles().constFirst();
    return true;
}

bool WidgetPrompts::openFile(const FileDialogOptions& options, QString& path)
{
    return fileDialog(options, false, path);
}

bool WidgetPrompts::saveFile(const FileDialogOptions& options, QString& path)
{
    return fileDialog(options, true, path);
}

bool WidgetPrompts::chooseFolder(const QString& title, QString& folder)
{
    QFileDialog dialog(m_parent, title, folder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    folder = dialog.selectedFiles().constFirst();
    return true;
}
