#include "picker_logic.h"

#include "store/schema.h"

#include <algorithm>

namespace picker {

QList<PickEntry> recordEntries(const QList<PickEntry>& rows, bool offerAll)
{
    QList<PickEntry> entries;
    entries.reserve(rows.size() + 1);
    if (offerAll)
        entries.append({QStringLiteral("Wszystkie"), kAllRecords});
    entries.append(rows);
    return entries;
}

int indexOfValue(const QList<PickEntry>& entries, const QVariant& value)
{
    if (!value.isValid())
        return -1;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).value == value)
            return i;
    }
    return -1;
}

QStringList texts(const QList<PickEntry>& entries)
{
    QStringList result;
    result.reserve(entries.size());
    for (const PickEntry& e : entries)
        result.append(e.text);
    return result;
}

QStringList suggestions(const QList<QStringList>& rows)
{
    QStringList result;
    result.reserve(rows.size());
    for (const QStringList& row : rows)
        result.append(row.join(QLatin1Char(' ')));
    return result;
}

QString withoutAccelerator(const QString& caption)
{
    QString result;
    result.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&')) {
            result.append(caption.at(i));
        } else if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) {
            result.append(QLatin1Char('&'));
            ++i;
        }
    }
    return result;
}

CommandOffer commandOffer(const QList<CommandEntry>& commands)
{
    CommandOffer offer;
    for (int i = 0; i < commands.size(); ++i) {
        if (!commands.at(i).hasAction)
            continue;
        offer.captions.append(withoutAccelerator(commands.at(i).caption));
        offer.commandIndexes.append(i);
    }
    return offer;
}

QList<SortOption> sortOrderOptions(const QList<QStringList>& indexFields, const QHash<QString, QString>& captions,
                                   const QString& prefix)
{
    const QStringList prefixFields = schema::splitFieldList(prefix);
    QList<SortOption> options;
    for (const QStringList& raw : indexFields) {
        QStringList fields;
        for (const QString& f : raw)
            fields.append(f.trimmed().toUpper());
        if (fields.size() <= prefixFields.size())
            continue;
        if (!std::equal(prefixFields.begin(), prefixFields.end(), fields.begin()))
            continue;
        const bool known = std::all_of(fields.begin(), fields.end(),
                                       [&](const QString& f) { return captions.contains(f); });
        if (!known)
            continue;
        QStringList shown;
        for (qsizetype i = prefixFields.size(); i < fields.size(); ++i)
            shown.append(captions.value(fields.at(i)));
        options.append({fields.join(QLatin1Char(';')), shown.join(QStringLiteral(", "))});
    }
    return options;
}

int indexOfFields(const QList<SortOption>& options, const QString& fields)
{
    const QString wanted = schema::splitFieldList(fields).join(QLatin1Char(';'));
    for (int i = 0; i < options.size(); ++i) {
        if (options.at(i).fields == wanted)
            return i;
    }
    return -1;
}

// --- check lists ------------------------------------------------------------

namespace {

QList<bool> firstChecked(qsizetype size, int checkedCount)
{
    QList<bool> checked(size, false);
    for (qsizetype i = 0; i < size && i < checkedCount; ++i)
        checked[i] = true;
    return checked;
}

}  // namespace

CheckList::CheckList(const QList<PickEntry>& entries, int checkedCount)
    : m_entries(entries), m_checked(firstChecked(entries.size(), checkedCount))
{
}

bool CheckList::checkExactly(const QStringList& wanted)
{
    bool allOffered = true;
    for (const QString& text : wanted) {
        if (!std::any_of(m_entries.begin(), m_entries.end(), [&](const PickEntry& e) { return e.text == text; }))
            allOffered = false;
    }
    for (int i = 0; i < m_entries.size(); ++i)
        m_checked[i] = wanted.contains(m_entries.at(i).text);
    return allOffered;
}

void CheckList::checkAll()
{
    m_checked.fill(true);
}

void CheckList::clearAll()
{
    m_checked.fill(false);
}

QList<PickEntry> CheckList::result() const
{
    QList<PickEntry> kept;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_checked.at(i))
            kept.append(m_entries.at(i));
    }
    return kept;
}

OrderedCheckList::OrderedCheckList(const QList<OrderedEntry>& entries, int checkedCount)
    : m_entries(entries), m_checked(firstChecked(entries.size(), checkedCount))
{
}

void OrderedCheckList::checkAll()
{
    m_checked.fill(true);
}

void OrderedCheckList::clearAll()
{
    m_checked.fill(false);
}

int OrderedCheckList::moveBefore(int from, int target)
{
    if (from < 0 || from >= m_entries.size() || target < 0 || target > m_entries.size())
        return from;
    if (target == from || target == from + 1)
        return from;
    const OrderedEntry entry = m_entries.takeAt(from);
    const bool checked = m_checked.takeAt(from);
    const int to = target > from ? target - 1 : target;
    m_entries.insert(to, entry);
    m_checked.insert(to, checked);
    return to;
}

int OrderedCheckList::addSeparator(int selected)
{
    const int at = (selected < 0 || selected >= m_entries.size()) ? int(m_entries.size()) : selected;
    m_entries.insert(at, OrderedEntry::makeSeparator());
    m_checked.insert(at, true);
    return at;
}

QList<OrderedEntry> OrderedCheckList::result() const
{
    QList<OrderedEntry> kept;
    qsizetype lastCommand = -1;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (!m_checked.at(i))
            continue;
        kept.append(m_entries.at(i));
        if (!m_entries.at(i).separator)
            lastCommand = kept.size() - 1;
    }
    kept.resize(lastCommand + 1);
    return kept;
}

BoxSetup optionBox(const QStringList& lines, const QString& current)
{
    BoxSetup box;
    box.lines = lines.isEmpty() ? QStringList{current} : lines;
    box.current = int(box.lines.indexOf(current));
    return box;
}

RadioSetup radioSetup(int choiceCount, int preset, int lineCount)
{
    RadioSetup setup;
    setup.columns = choiceCount > 10 ? 2 : 1;
    const bool presetChoice = preset >= 1 && preset <= choiceCount;
    setup.checked = presetChoice ? preset - 1 : -1;
    if (lineCount > 0) {
        if (choiceCount > 0)
            setup.lineIndex = 0;
        else if (preset >= 1 && preset <= lineCount)
            setup.lineIndex = preset - 1;
    }
    return setup;
}

QDate startDate(const QDate& given, const QDate& today)
{
    return given.isValid() ? given : today;
}

QTime startTime(const QTime& given, const QTime& now)
{
    return given.isValid() ? given : now;
}

TimePromptStart timePromptStart(const QString& initial, const QTime& now)
{
    if (initial == QLatin1String("1"))
        return {now, true};
    const QString text = initial.trimmed();
    QTime t = QTime::fromString(text, QStringLiteral("H:mm:ss"));
    if (!t.isValid())
        t = QTime::fromString(text, QStringLiteral("H:mm"));
    return {t.isValid() ? t : now, false};
}

QString longTime(const QTime& time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

int choiceButtonWidth(int widestCaption, int standardWidth)
{
    return std::max(widestCaption + 8, standardWidth);
}

int choiceDialogWidth(int screenWidth, int buttonCount, int buttonWidth, int margins)
{
    const int row = buttonCount * buttonWidth + std::max(0, buttonCount - 1) * 10 + 2 * margins;
    return std::max(screenWidth / 2, row);
}

QString qtFileFilter(const QString& filter)
{
    if (filter.isEmpty())
        return QString();
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        const QString shown = QStringLiteral(" (%1)").arg(patterns);
        // A description that already shows its patterns, "Pliki PDF (*.PDF)", keeps them once.
        if (parts.at(i).endsWith(shown, Qt::CaseInsensitive))
            filters.append(parts.at(i));
        else
            filters.append(parts.at(i) + shown);
    }
    if (parts.size() % 2 == 1 && !parts.last().isEmpty())
        filters.append(parts.last());  // a lone pattern without a description
    return filters.join(QStringLiteral(";;"));
}

QPair<int, int> shift(ShiftDirection direction, int step)
{
    switch (direction) {
    case ShiftDirection::Up:
        return {-step, 0};
    case ShiftDirection::Down:
        return {step, 0};
    case ShiftDirection::Left:
        return {0, -step};
    case ShiftDirection::Right:
        return {0, step};
    }
    return {0, 0};
}

}  // namespace picker
