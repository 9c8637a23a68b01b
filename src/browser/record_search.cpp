#include "record_search.h"

#include "browser/cell_text.h"
#include "store/table.h"
#include "store/values.h"

#include <cmath>

namespace search {

bool matches(const QVariant& value, FieldType type, const QString& text, bool anyFragment)
{
    if (type == FieldType::String || type == FieldType::Memo) {
        const QString v = value.toString();
        return anyFragment ? v.contains(text, Qt::CaseInsensitive) : v.startsWith(text, Qt::CaseInsensitive);
    }
    const auto wanted = cell::fromText(text, type);
    if (!wanted || !wanted->isValid() || values::isEmpty(value))
        return false;
    if (type == FieldType::Float)
        return std::abs(value.toDouble() - wanted->toDouble()) < 1e-9;
    if (cell::isNumeric(type))
        return value.toLongLong() == wanted->toLongLong();
    if (type == FieldType::Date)
        return value.toDate() == wanted->toDate();
    if (type == FieldType::Time)
        return value.toTime() == wanted->toTime();
    if (type == FieldType::DateTime)
        return value.toDateTime() == wanted->toDateTime();
    return false;
}

int scan(const Table& table, const QString& field, const QString& text, bool anyFragment, int from, bool wrap)
{
    if (!table.hasField(field))
        return -1;
    const FieldType type = table.field(field).def.type;
    const int n = table.rowCount();
    const int start = std::max(from, 0);
    for (int r = start; r < n; ++r)
        if (matches(table.valueAt(r, field), type, text, anyFragment))
            return r;
    if (wrap)
        for (int r = 0; r < std::min(start, n); ++r)
            if (matches(table.valueAt(r, field), type, text, anyFragment))
                return r;
    return -1;
}

int ask(Prompts& prompts, const Table& table, const QString& field, const QString& caption, State& state)
{
    if (!table.hasField(field))
        return -1;
    const bool isText = table.field(field).def.isText();
    QString text = state.text;
    if (isText) {
        bool any = state.anyFragment;
        if (!prompts.askTextWithOption(QStringLiteral("Wyszukiwanie"), caption, text, QStringLiteral("Dowolny fragment"),
                                       any))
            return -1;
        state.anyFragment = any;
    } else {
        if (!prompts.askText(QStringLiteral("Wyszukiwanie"), caption, text))
            return -1;
        state.anyFragment = false;
    }
    state.text = text;
    return scan(table, field, text, state.anyFragment, 0, false);
}

int again(const Table& table, const QString& field, const State& state)
{
    if (state.text.isEmpty())
        return -1;
    return scan(table, field, state.text, state.anyFragment, table.position() + 1, false);
}

int quick(const Table& table, const QString& field, const QString& text)
{
    return scan(table, field, text, false, std::max(table.position(), 0), true);
}

}  // namespace search
