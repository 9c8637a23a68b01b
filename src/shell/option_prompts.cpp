#include "option_prompts.h"

#include "store/error.h"

#include <QTextStream>

namespace {

// The windows keep CR LF in their texts; a command's output and the texts
// it expects use plain line breaks.
QString plainLines(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

bool sameText(const QString& a, const QString& b)
{
    return plainLines(a) == plainLines(b);
}

QString entryKey(const QVariant& value)
{
    return value.toString().trimmed();
}

}  // namespace

OptionPrompts::OptionPrompts(QTextStream& out, QTextStream& err) : m_out(out), m_err(err) {}

QString OptionPrompts::missingAnswer(const QString& question, const QString& option)
{
    const QString asked = plainLines(question).replace(QLatin1Char('\n'), QLatin1Char(' ')).trimmed();
    if (option.isEmpty())
        return QStringLiteral("Brak odpowiedzi na pytanie „%1” (polecenie nie ma opcji, która na nie odpowiada)")
            .arg(asked);
    return QStringLiteral("Brak odpowiedzi na pytanie „%1” (opcja %2)").arg(asked, option);
}

void OptionPrompts::add(Rule rule)
{
    // A later answer for the same prompt replaces the earlier one.
    for (Rule& r : m_rules)
        if (r.kind == rule.kind && r.title == rule.title && r.text == rule.text) {
            r = std::move(rule);
            return;
        }
    m_rules << std::move(rule);
}

void OptionPrompts::answerYesNo(const QString& question, bool yes, const QString& option)
{
    add({Kind::YesNo, question, {}, option, yes, false});
}

void OptionPrompts::answerChoice(const QString& title, int button, const QString& option)
{
    add({Kind::Choice, title, {}, option, button, false});
}

void OptionPrompts::answerDate(const QString& title, const QString& prompt, std::optional<QDate> date,
                               const QString& option, bool required)
{
    add({Kind::Date, title, prompt, option, date ? QVariant(*date) : QVariant(), required});
}

void OptionPrompts::answerMonth(const QString& title, std::optional<QPair<int, int>> yearMonth,
                                const QString& option, bool required)
{
    QVariant v;
    if (yearMonth)
        v = QVariantList{yearMonth->first, yearMonth->second};
    add({Kind::Month, title, {}, option, v, required});
}

void OptionPrompts::answerText(const QString& title, const QString& label, std::optional<QString> text,
                               const QString& option, bool required)
{
    add({Kind::Text, title, label, option, text ? QVariant(*text) : QVariant(), required});
}

void OptionPrompts::answerChecks(const QString& title, std::optional<QStringList> wanted, const QString& option)
{
    add({Kind::Checks, title, {}, option, wanted ? QVariant(*wanted) : QVariant(), false});
}

void OptionPrompts::answerList(const QString& title, std::optional<QString> wanted, const QString& option,
                               bool required)
{
    add({Kind::List, title, {}, option, wanted ? QVariant(*wanted) : QVariant(), required});
}

const OptionPrompts::Rule& OptionPrompts::rule(Kind kind, const QString& title, const QString& text)
{
    for (const Rule& r : m_rules) {
        if (r.kind != kind)
            continue;
        if (!r.title.isEmpty() && !sameText(r.title, title))
            continue;
        if (!r.text.isEmpty() && !sameText(r.text, text))
            continue;
        if (r.required && !r.value.isValid())
            throw Error(missingAnswer(text.isEmpty() ? title : text, r.option));
        return r;
    }
    unexpected(title, text);
}

void OptionPrompts::unexpected(const QString& title, const QString& text)
{
    throw Error(missingAnswer(text.isEmpty() ? title : text, QString()));
}

// --- messages and questions -------------------------------------------------

void OptionPrompts::showInfo(const QString& text)
{
    m_out << plainLines(text) << '\n';
    m_out.flush();
}

void OptionPrompts::showError(const QString& text)
{
    m_err << plainLines(text) << '\n';
    m_err.flush();
}

bool OptionPrompts::askYesNo(const QString& text)
{
    return rule(Kind::YesNo, text, {}).value.toBool();
}

Answer OptionPrompts::askYesNoClosable(const QString& text)
{
    return askYesNo(text) ? Answer::Yes : Answer::No;
}

Answer OptionPrompts::askYesNoCancel(const QString& text)
{
    return askYesNo(text) ? Answer::Yes : Answer::No;
}

int OptionPrompts::askChoice(const QString& title, const QString& message, const QStringList& buttons, ChoiceIcon)
{
    const Rule& r = rule(Kind::Choice, title, {});
    const int button = r.value.toInt();
    if (button > 0 || -button > buttons.size())
        throw Error(missingAnswer(message.isEmpty() ? title : message, r.option));
    return button;
}

// --- pickers ------------------------------------------------------------------

bool OptionPrompts::pickFromList(const QString& title, const QString& label, const QList<PickEntry>& entries,
                                 QVariant& value)
{
    const Rule& r = rule(Kind::List, title, label);
    if (!r.value.isValid()) {
        if (!value.isValid())
            throw Error(missingAnswer(label.isEmpty() ? title : label, r.option));
        return true;
    }
    const QString wanted = r.value.toString().trimmed();
    for (const PickEntry& e : entries)
        if (entryKey(e.value) == wanted || e.text.compare(wanted, Qt::CaseInsensitive) == 0) {
            value = e.value;
            return true;
        }
    throw Error(QStringLiteral("Nie ma „%1” na liście „%2” (opcja %3)").arg(wanted, title, r.option));
}

bool OptionPrompts::pickRecord(const QString& title, const QList<PickEntry>&, int&, bool)
{
    unexpected(title, {});
}

bool OptionPrompts::askSuggestion(const QString& title, const QStringList&, QString& text)
{
    const Rule& r = rule(Kind::Text, title, {});
    if (r.value.isValid())
        text = r.value.toString();
    return true;
}

bool OptionPrompts::chooseCommand(const QString& title, const QList<CommandEntry>&, int&)
{
    unexpected(title, {});
}

bool OptionPrompts::chooseSortOrder(const QString& title, const QList<SortOption>&, QString&)
{
    unexpected(title, {});
}

bool OptionPrompts::pickChecks(const QString& title, QList<PickEntry>& entries, int checkedCount)
{
    const Rule& r = rule(Kind::Checks, title, {});
    if (!r.value.isValid()) {
        entries = entries.mid(0, checkedCount);
        return true;
    }
    QList<PickEntry> kept;
    QList<bool> taken(entries.size(), false);
    for (const QString& item : r.value.toStringList()) {
        const QString wanted = item.trimmed();
        bool found = false;
        for (qsizetype i = 0; i < entries.size(); ++i)
            if (entryKey(entries[i].value) == wanted || entries[i].text.compare(wanted, Qt::CaseInsensitive) == 0) {
                taken[i] = true;
                found = true;
            }
        if (!found)
            throw Error(QStringLiteral("Nie ma „%1” na liście „%2” (opcja %3)").arg(wanted, title, r.option));
    }
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (taken[i])
            kept << entries[i];
    entries = kept;
    return true;
}

bool OptionPrompts::pickOrderedChecks(const QString& title, QList<OrderedEntry>&, int)
{
    unexpected(title, {});
}

bool OptionPrompts::pickChecksWithOption(const QString& title, QList<PickEntry>& entries, int checkedCount,
                                         const QString&, const QStringList&, QString&)
{
    return pickChecks(title, entries, checkedCount);
}

bool OptionPrompts::pickWithChoice(const QString& title, const QList<PickEntry>&, const QString&,
                                   const QStringList&, QString&, const std::function<void(int)>&)
{
    unexpected(title, {});
}

bool OptionPrompts::pickRadio(const RadioRequest& request, int&, QString&)
{
    unexpected(request.title, request.label);
}

// --- dates and times ------------------------------------------------------------

bool OptionPrompts::pickDate(const QString& title, const QString& prompt, QDate& date)
{
    const Rule& r = rule(Kind::Date, title, prompt);
    if (r.value.isValid())
        date = r.value.toDate();
    else if (!date.isValid())
        throw Error(missingAnswer(prompt.isEmpty() ? title : prompt, r.option));
    return true;
}

bool OptionPrompts::pickTime(const QString& title, const QString& prompt, QTime&)
{
    unexpected(title, prompt);
}

QString OptionPrompts::askTimeText(const QString& title, const QString& prompt, const QString&)
{
    unexpected(title, prompt);
}

bool OptionPrompts::pickMonth(const QString& title, const QString& description, int& year, int& month)
{
    const Rule& r = rule(Kind::Month, title, description);
    if (r.value.isValid()) {
        const QVariantList ym = r.value.toList();
        year = ym.value(0).toInt();
        month = ym.value(1).toInt();
    } else if (month < 1 || month > 12) {
        throw Error(missingAnswer(description.isEmpty() ? title : description, r.option));
    }
    return true;
}

// --- texts ------------------------------------------------------------------------

bool OptionPrompts::askText(const QString& title, const QString& label, QString& value, bool)
{
    const Rule& r = rule(Kind::Text, title, label);
    if (r.value.isValid())
        value = r.value.toString();
    return true;
}

bool OptionPrompts::askTextWithOption(const QString& title, const QString& label, QString& value,
                                      const QString&, bool&)
{
    return askText(title, label, value);
}

bool OptionPrompts::askMemo(const QString& title, const QString& prompt, QString& text)
{
    return askText(title, prompt, text);
}

bool OptionPrompts::askLineAndMemo(const QString& title, const QString& prompt, QString&, QString&)
{
    unexpected(title, prompt);
}

bool OptionPrompts::editMemo(const QString& caption, QString&)
{
    unexpected(caption, {});
}

// --- files and folders ------------------------------------------------------------

bool OptionPrompts::openFile(const FileDialogOptions& options, QString&)
{
    unexpected(options.title, {});
}

bool OptionPrompts::saveFile(const FileDialogOptions& options, QString&)
{
    unexpected(options.title, {});
}

bool OptionPrompts::chooseFolder(const QString& title, QString&)
{
    unexpected(title, {});
}
