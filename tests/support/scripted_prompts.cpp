#include "scripted_prompts.h"

#include <gtest/gtest.h>

#include <algorithm>

using Kind = ScriptedPrompts::Kind;
using Expectation = ScriptedPrompts::Expectation;

namespace {

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString presetOf(const QVariant& value)
{
    return value.isValid() ? value.toString() : QString();
}

QString presetPath(const FileDialogOptions& options)
{
    if (options.folder.isEmpty())
        return options.fileName;
    return options.folder + QLatin1Char('/') + options.fileName;
}

}  // namespace

QString ScriptedPrompts::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Info: return QStringLiteral("information");
    case Kind::Error: return QStringLiteral("error message");
    case Kind::YesNo: return QStringLiteral("yes/no question");
    case Kind::YesNoClosable: return QStringLiteral("closable yes/no question");
    case Kind::YesNoCancel: return QStringLiteral("yes/no/cancel question");
    case Kind::Choice: return QStringLiteral("choice dialog");
    case Kind::List: return QStringLiteral("list picker");
    case Kind::Record: return QStringLiteral("record picker");
    case Kind::Suggestion: return QStringLiteral("suggestion prompt");
    case Kind::Command: return QStringLiteral("command choice");
    case Kind::SortOrder: return QStringLiteral("sort-order choice");
    case Kind::Checks: return QStringLiteral("check list");
    case Kind::OrderedChecks: return QStringLiteral("ordered check list");
    case Kind::ChecksWithOption: return QStringLiteral("check list with option");
    case Kind::ListWithChoice: return QStringLiteral("list with choice");
    case Kind::Radio: return QStringLiteral("radio picker");
    case Kind::Date: return QStringLiteral("date picker");
    case Kind::Time: return QStringLiteral("time picker");
    case Kind::TimeText: return QStringLiteral("time prompt");
    case Kind::Month: return QStringLiteral("month picker");
    case Kind::Text: return QStringLiteral("text prompt");
    case Kind::TextWithOption: return QStringLiteral("text prompt with option");
    case Kind::Memo: return QStringLiteral("memo prompt");
    case Kind::LineAndMemo: return QStringLiteral("line-and-memo prompt");
    case Kind::MemoEditor: return QStringLiteral("memo editor");
    case Kind::OpenFile: return QStringLiteral("open-file dialog");
    case Kind::SaveFile: return QStringLiteral("save-file dialog");
    case Kind::Folder: return QStringLiteral("folder dialog");
    }
    return QStringLiteral("prompt");
}

QString ScriptedPrompts::describe(Kind kind, const QString& title, const std::optional<QString>& text)
{
    QString d = kindName(kind) + QLatin1Char(' ') + quoted(title);
    if (text && !text->isEmpty())
        d += QStringLiteral(" with ") + quoted(*text);
    return d;
}

ScriptedPrompts::~ScriptedPrompts()
{
    done();
}

bool ScriptedPrompts::done()
{
    if (m_queue.empty())
        return true;
    QStringList missing;
    for (const Expectation& e : m_queue)
        missing.append(describe(e.m_kind, e.m_title, e.m_text));
    ADD_FAILURE() << "ScriptedPrompts: " << m_queue.size() << " expected prompt(s) never asked: "
                  << missing.join(QStringLiteral("; ")).toStdString();
    m_queue.clear();
    return false;
}

void ScriptedPrompts::fail(const Asked& asked, const QString& why)
{
    ADD_FAILURE() << "ScriptedPrompts: unexpected " << describe(asked.kind, asked.title, asked.text).toStdString()
                  << "; " << why.toStdString() << "; answered as cancelled";
}

std::optional<Expectation> ScriptedPrompts::take(const Asked& asked)
{
    m_asked.append(asked);
    const bool message = asked.kind == Kind::Info || asked.kind == Kind::Error;
    if (m_queue.empty()) {
        if (!message || m_strictMessages)
            fail(asked, QStringLiteral("no prompt expected"));
        return std::nullopt;
    }
    const Expectation& next = m_queue.front();
    const bool matches = next.m_kind == asked.kind && next.m_title == asked.title
                         && (!next.m_text || *next.m_text == asked.text);
    if (!matches) {
        // An unscripted message is only recorded; it does not disturb the script.
        if (!message || m_strictMessages)
            fail(asked, QStringLiteral("expected ") + describe(next.m_kind, next.m_title, next.m_text));
        return std::nullopt;
    }
    Expectation e = next;
    m_queue.pop_front();
    if (e.m_cancel)
        return std::nullopt;
    return e;
}

// --- the script ----------------------------------------------------------

Expectation& ScriptedPrompts::expect(Kind kind, const QString& title)
{
    Expectation& e = m_queue.emplace_back();
    e.m_kind = kind;
    e.m_title = title;
    return e;
}

Expectation& ScriptedPrompts::expectInfo(const QString& text)
{
    return expect(Kind::Info, text);
}

Expectation& ScriptedPrompts::expectError(const QString& text)
{
    return expect(Kind::Error, text);
}

Expectation& ScriptedPrompts::expectYesNo(const QString& text, bool yes)
{
    Expectation& e = expect(Kind::YesNo, text);
    e.m_answer = yes ? Answer::Yes : Answer::No;
    return e;
}

Expectation& ScriptedPrompts::expectYesNoClosable(const QString& text, Answer answer)
{
    Expectation& e = expect(Kind::YesNoClosable, text);
    e.m_answer = answer;
    return e;
}

Expectation& ScriptedPrompts::expectYesNoCancel(const QString& text, Answer answer)
{
    Expectation& e = expect(Kind::YesNoCancel, text);
    e.m_answer = answer;
    return e;
}

Expectation& ScriptedPrompts::expectChoice(const QString& title, int result)
{
    Expectation& e = expect(Kind::Choice, title);
    e.m_number = result;
    return e;
}

Expectation& ScriptedPrompts::expectList(const QString& title, const QVariant& value)
{
    Expectation& e = expect(Kind::List, title);
    e.m_value = value;
    return e;
}

Expectation& ScriptedPrompts::expectListEntry(const QString& title, const QString& entryText)
{
    Expectation& e = expect(Kind::List, title);
    e.m_string2 = entryText;
    return e;
}

Expectation& ScriptedPrompts::expectRecord(const QString& title, int key)
{
    Expectation& e = expect(Kind::Record, title);
    e.m_number = key;
    return e;
}

Expectation& ScriptedPrompts::expectSuggestion(const QString& title, const QString& text)
{
    Expectation& e = expect(Kind::Suggestion, title);
    e.m_string = text;
    return e;
}

Expectation& ScriptedPrompts::expectCommand(const QString& title, const QString& captionWithoutAccelerator)
{
    Expectation& e = expect(Kind::Command, title);
    e.m_string = captionWithoutAccelerator;
    return e;
}

Expectation& ScriptedPrompts::expectSortOrder(const QString& title, const QString& fieldsOrText)
{
    Expectation& e = expect(Kind::SortOrder, title);
    e.m_string = fieldsOrText;
    return e;
}

Expectation& ScriptedPrompts::expectChecks(const QString& title, const QStringList& checked)
{
    Expectation& e = expect(Kind::Checks, title);
    e.m_list = checked;
    return e;
}

Expectation& ScriptedPrompts::expectChecksAsOffered(const QString& title)
{
    Expectation& e = expect(Kind::Checks, title);
    e.m_keepPreset = true;
    return e;
}

Expectation& ScriptedPrompts::expectOrderedChecks(const QString& title,
                                                  std::function<void(picker::OrderedCheckList&)> edit)
{
    Expectation& e = expect(Kind::OrderedChecks, title);
    e.m_orderedEdit = std::move(edit);
    return e;
}

Expectation& ScriptedPrompts::expectChecksWithOption(const QString& title, const QStringList& checked,
                                                     const QString& option)
{
    Expectation& e = expect(Kind::ChecksWithOption, title);
    e.m_list = checked;
    e.m_string = option;
    return e;
}

Expectation& ScriptedPrompts::expectListWithChoice(const QString& title, const QString& text)
{
    Expectation& e = expect(Kind::ListWithChoice, title);
    e.m_string = text;
    return e;
}

Expectation& ScriptedPrompts::expectRadio(const QString& title, int choice, std::optional<QString> text)
{
    Expectation& e = expect(Kind::Radio, title);
    e.m_number = choice;
    e.m_string2 = std::move(text);
    return e;
}

Expectation& ScriptedPrompts::expectDate(const QString& title, const QDate& date)
{
    Expectation& e = expect(Kind::Date, title);
    e.m_date = date;
    return e;
}

Expectation& ScriptedPrompts::expectTime(const QString& title, const QTime& time)
{
    Expectation& e = expect(Kind::Time, title);
    e.m_time = time;
    return e;
}

Expectation& ScriptedPrompts::expectTimeText(const QString& title, const QString& text)
{
    Expectation& e = expect(Kind::TimeText, title);
    e.m_string = text;
    return e;
}

Expectation& ScriptedPrompts::expectMonth(const QString& title, int year, int month)
{
    Expectation& e = expect(Kind::Month, title);
    e.m_year = year;
    e.m_number = month;
    return e;
}

Expectation& ScriptedPrompts::expectText(const QString& title, const QString& label, const QString& answer)
{
    Expectation& e = expect(Kind::Text, title);
    e.m_text = label;
    e.m_string = answer;
    return e;
}

Expectation& ScriptedPrompts::expectTextWithOption(const QString& title, const QString& label,
                                                   const QString& answer, bool option)
{
    Expectation& e = expect(Kind::TextWithOption, title);
    e.m_text = label;
    e.m_string = answer;
    e.m_flag = option;
    return e;
}

Expectation& ScriptedPrompts::expectMemo(const QString& title, const QString& text)
{
    Expectation& e = expect(Kind::Memo, title);
    e.m_string = text;
    return e;
}

Expectation& ScriptedPrompts::expectLineAndMemo(const QString& title, const QString& line, const QString& memo)
{
    Expectation& e = expect(Kind::LineAndMemo, title);
    e.m_string = line;
    e.m_string2 = memo;
    return e;
}

Expectation& ScriptedPrompts::expectMemoEdit(const QString& caption, const QString& text)
{
    Expectation& e = expect(Kind::MemoEditor, caption);
    e.m_string = text;
    return e;
}

Expectation& ScriptedPrompts::expectOpenFile(const QString& title, const QString& path)
{
    Expectation& e = expect(Kind::OpenFile, title);
    e.m_string = path;
    return e;
}

Expectation& ScriptedPrompts::expectSaveFile(const QString& title, const QString& path)
{
    Expectation& e = expect(Kind::SaveFile, title);
    e.m_string = path;
    return e;
}

Expectation& ScriptedPrompts::expectFolder(const QString& title, const QString& folder)
{
    Expectation& e = expect(Kind::Folder, title);
    e.m_string = folder;
    return e;
}

Expectation& ScriptedPrompts::expectCancel(Kind kind, const QString& title)
{
    Expectation& e = expect(kind, title);
    e.m_cancel = true;
    return e;
}

// --- messages and questions ----------------------------------------------

void ScriptedPrompts::showInfo(const QString& text)
{
    m_shown.append(text);
    take({Kind::Info, text, {}, {}, {}, {}, {}});
}

void ScriptedPrompts::showError(const QString& text)
{
    m_shown.append(text);
    take({Kind::Error, text, {}, {}, {}, {}, {}});
}

bool ScriptedPrompts::askYesNo(const QString& text)
{
    m_shown.append(text);
    const auto e = take({Kind::YesNo, text, {}, {}, {}, {}, {}});
    return e && e->m_answer == Answer::Yes;
}

Answer ScriptedPrompts::askYesNoClosable(const QString& text)
{
    m_shown.append(text);
    const auto e = take({Kind::YesNoClosable, text, {}, {}, {}, {}, {}});
    return e ? e->m_answer : Answer::Cancel;
}

Answer ScriptedPrompts::askYesNoCancel(const QString& text)
{
    m_shown.append(text);
    const auto e = take({Kind::YesNoCancel, text, {}, {}, {}, {}, {}});
    return e ? e->m_answer : Answer::Cancel;
}

int ScriptedPrompts::askChoice(const QString& title, const QString& message, const QStringList& buttons,
                               ChoiceIcon)
{
    m_shown.append(message);
    const Asked asked{Kind::Choice, title, message, buttons, {}, {}, {}};
    const auto e = take(asked);
    if (!e)
        return 0;
    if (e->m_number > 0 || -e->m_number > buttons.size()) {
        fail(asked, QStringLiteral("the script answers %1 but the dialog has %2 button(s)")
                        .arg(e->m_number)
                        .arg(buttons.size()));
        return 0;
    }
    return e->m_number;
}

// --- pickers on the list window --------------------------------------------

bool ScriptedPrompts::pickFromList(const QString& title, const QString& label, const QList<PickEntry>& entries,
                                   QVariant& value)
{
    const Asked asked{Kind::List, title, label, picker::texts(entries), {}, presetOf(value), {}};
    const auto e = take(asked);
    if (!e)
        return false;
    int index = -1;
    if (e->m_string2)
        index = int(picker::texts(entries).indexOf(*e->m_string2));
    else
        index = picker::indexOfValue(entries, e->m_value);
    if (index < 0) {
        fail(asked, QStringLiteral("the scripted answer %1 is not offered")
                        .arg(quoted(e->m_string2 ? *e->m_string2 : e->m_value.toString())));
        return false;
    }
    value = entries.at(index).value;
    return true;
}

bool ScriptedPrompts::pickRecord(const QString& title, const QList<PickEntry>& rows, int& key, bool offerAll)
{
    const QList<PickEntry> entries = picker::recordEntries(rows, offerAll);
    const Asked asked{Kind::Record, title, {}, picker::texts(entries), {}, QString::number(key), {}};
    const auto e = take(asked);
    if (!e)
        return false;
    if (picker::indexOfValue(entries, e->m_number) < 0) {
        fail(asked, QStringLiteral("the scripted key %1 is not offered").arg(e->m_number));
        return false;
    }
    key = e->m_number;
    return true;
}

bool ScriptedPrompts::askSuggestion(const QString& title, const QStringList& suggestions, QString& text)
{
    const auto e = take({Kind::Suggestion, title, {}, suggestions, {}, text, {}});
    if (!e)
        return false;
    text = e->m_string;
    return true;
}

bool ScriptedPrompts::chooseCommand(const QString& title, const QList<CommandEntry>& commands, int& current)
{
    const picker::CommandOffer offer = picker::commandOffer(commands);
    const QString preset =
        current >= 0 && current < commands.size() ? picker::withoutAccelerator(commands.at(current).caption) : QString();
    const Asked asked{Kind::Command, title, {}, offer.captions, {}, preset, {}};
    const auto e = take(asked);
    if (!e)
        return false;
    const qsizetype at = offer.captions.indexOf(e->m_string);
    if (at < 0) {
        fail(asked, QStringLiteral("the scripted command %1 is not offered").arg(quoted(e->m_string)));
        return false;
    }
    current = offer.commandIndexes.at(at);
    return true;
}

bool ScriptedPrompts::chooseSortOrder(const QString& title, const QList<SortOption>& options, QString& fields)
{
    QStringList shown;
    for (const SortOption& o : options)
        shown.append(o.text);
    const Asked asked{Kind::SortOrder, title, {}, shown, {}, fields, {}};
    const auto e = take(asked);
    if (!e)
        return false;
    int at = picker::indexOfFields(options, e->m_string);
    if (at < 0)
        at = int(shown.indexOf(e->m_string));
    if (at < 0) {
        fail(asked, QStringLiteral("the scripted ordering %1 is not offered").arg(quoted(e->m_string)));
        return false;
    }
    fields = options.at(at).fields;
    return true;
}

bool ScriptedPrompts::pickChecks(const QString& title, QList<PickEntry>& entries, int checkedCount)
{
    picker::CheckList list(entries, checkedCount);
    const Asked asked{Kind::Checks, title, {}, picker::texts(entries), picker::texts(list.result()), {}, {}};
    const auto e = take(asked);
    if (!e)
        return false;
    if (!e->m_keepPreset && !list.checkExactly(e->m_list)) {
        fail(asked, QStringLiteral("the scripted entries %1 are not all offered")
                        .arg(e->m_list.join(QStringLiteral(", "))));
        return false;
    }
    entries = list.result();
    return true;
}

bool ScriptedPrompts::pickOrderedChecks(const QString& title, QList<OrderedEntry>& entries, int checkedCount)
{
    picker::OrderedCheckList list(entries, checkedCount);
    QStringList offered;
    QStringList checked;
    for (int i = 0; i < list.size(); ++i) {
        offered.append(list.entry(i).text);
        if (list.isChecked(i))
            checked.append(list.entry(i).text);
    }
    const auto e = take({Kind::OrderedChecks, title, {}, offered, checked, {}, {}});
    if (!e)
        return false;
    if (e->m_orderedEdit)
        e->m_orderedEdit(list);
    entries = list.result();
    return true;
}

bool ScriptedPrompts::pickChecksWithOption(const QString& title, QList<PickEntry>& entries, int checkedCount,
                                           const QString& label, const QStringList& optionLines,
                                           QString& option)
{
    picker::CheckList list(entries, checkedCount);
    const picker::BoxSetup box = picker::optionBox(optionLines, option);
    const Asked asked{Kind::ChecksWithOption, title, label, picker::texts(entries), picker::texts(list.result()),
                      option, box.lines};
    const auto e = take(asked);
    if (!e)
        return false;
    if (!list.checkExactly(e->m_list)) {
        fail(asked, QStringLiteral("the scripted entries %1 are not all offered")
                        .arg(e->m_list.join(QStringLiteral(", "))));
        return false;
    }
    if (!box.lines.contains(e->m_string)) {
        fail(asked, QStringLiteral("the scripted option %1 is not among %2")
                        .arg(quoted(e->m_string), box.lines.join(QStringLiteral(", "))));
        return false;
    }
    entries = list.result();
    option = e->m_string;
    return true;
}

bool ScriptedPrompts::pickWithChoice(const QString& title, const QList<PickEntry>& entries, const QString& label,
                                     const QStringList& choiceLines, QString& text,
                                     const std::function<void(int)>&)
{
    const auto e = take({Kind::ListWithChoice, title, label, picker::texts(entries), {}, text, choiceLines});
    if (!e)
        return false;
    text = e->m_string;
    return true;
}

bool ScriptedPrompts::pickRadio(const RadioRequest& request, int& choice, QString& text)
{
    const Asked asked{Kind::Radio, request.title, request.label, request.choices, {},
                      QString::number(request.preset), request.lines};
    const auto e = take(asked);
    if (!e)
        return false;
    if (e->m_number < 0 || e->m_number > request.choices.size()) {
        fail(asked, QStringLiteral("the scripted choice %1 is not among %2 choice(s)")
                        .arg(e->m_number)
                        .arg(request.choices.size()));
        return false;
    }
    choice = e->m_number;
    if (e->m_string2) {
        text = *e->m_string2;
    } else {
        const picker::RadioSetup setup =
            picker::radioSetup(int(request.choices.size()), request.preset, int(request.lines.size()));
        text = setup.lineIndex >= 0 ? request.lines.at(setup.lineIndex) : QString();
    }
    return true;
}

// --- dates and times ----------------------------------------------------

bool ScriptedPrompts::pickDate(const QString& title, const QString& prompt, QDate& date)
{
    const auto e = take({Kind::Date, title, prompt, {}, {}, date.toString(Qt::ISODate), {}});
    if (!e)
        return false;
    date = e->m_date;
    return true;
}

bool ScriptedPrompts::pickTime(const QString& title, const QString& prompt, QTime& time)
{
    const auto e = take({Kind::Time, title, prompt, {}, {}, time.toString(Qt::ISODate), {}});
    if (!e)
        return false;
    time = e->m_time;
    return true;
}

QString ScriptedPrompts::askTimeText(const QString& title, const QString& prompt, const QString& initial)
{
    const auto e = take({Kind::TimeText, title, prompt, {}, {}, initial, {}});
    return e ? e->m_string : QString();
}

bool ScriptedPrompts::pickMonth(const QString& title, const QString& description, int& year, int& month)
{
    const Asked asked{Kind::Month, title, description, {}, {}, QStringLiteral("%1-%2").arg(year).arg(month), {}};
    const auto e = take(asked);
    if (!e)
        return false;
    if (e->m_number < 1 || e->m_number > 12) {
        fail(asked, QStringLiteral("the scripted month %1 is not 1–12").arg(e->m_number));
        return false;
    }
    year = e->m_year;
    month = e->m_number;
    return true;
}

// --- texts --------------------------------------------------------------

bool ScriptedPrompts::askText(const QString& title, const QString& label, QString& value, bool)
{
    const auto e = take({Kind::Text, title, label, {}, {}, value, {}});
    if (!e)
        return false;
    value = e->m_string;
    return true;
}

bool ScriptedPrompts::askTextWithOption(const QString& title, const QString& label, QString& value,
                                        const QString& optionCaption, bool& option)
{
    const auto e = take({Kind::TextWithOption, title, label, {optionCaption}, {}, value, {}});
    if (!e)
        return false;
    value = e->m_string;
    option = e->m_flag;
    return true;
}

bool ScriptedPrompts::askMemo(const QString& title, const QString& prompt, QString& text)
{
    const auto e = take({Kind::Memo, title, prompt, {}, {}, text, {}});
    if (!e)
        return false;
    text = e->m_string;
    return true;
}

bool ScriptedPrompts::askLineAndMemo(const QString& title, const QString& prompt, QString& line, QString& memo)
{
    const auto e = take({Kind::LineAndMemo, title, prompt, {}, {}, line + QLatin1Char('\n') + memo, {}});
    if (!e)
        return false;
    line = e->m_string;
    memo = e->m_string2.value_or(QString());
    return true;
}

bool ScriptedPrompts::editMemo(const QString& caption, QString& text)
{
    const auto e = take({Kind::MemoEditor, caption, {}, {}, {}, text, {}});
    if (!e)
        return false;
    text = e->m_string;
    return true;
}

// --- files and folders --------------------------------------------------

bool ScriptedPrompts::openFile(const FileDialogOptions& options, QString& path)
{
    const auto e = take({Kind::OpenFile, options.title, {}, {options.filter}, {}, presetPath(options), {}});
    if (!e)
        return false;
    path = e->m_string;
    return true;
}

bool ScriptedPrompts::saveFile(const FileDialogOptions& options, QString& path)
{
    const auto e = take({Kind::SaveFile, options.title, {}, {options.filter}, {}, presetPath(options), {}});
    if (!e)
        return false;
    path = e->m_string;
    return true;
}

bool ScriptedPrompts::chooseFolder(const QString& title, QString& folder)
{
    const auto e = take({Kind::Folder, title, {}, {}, {}, folder, {}});
    if (!e)
        return false;
    folder = e->m_string;
    return true;
}
