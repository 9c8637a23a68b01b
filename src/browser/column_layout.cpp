#include "column_layout.h"

#include <QStringList>

#include <algorithm>

namespace layout {

namespace {

constexpr int kStoredBase = 100000;
constexpr int kUnstoredBase = 500000;

int clampPosition(int p) { return std::clamp(p, 0, kMaxPosition); }
int clampWidth(int w) { return std::clamp(w, 0, kMaxWidth); }

}  // namespace

QString columnKey(const QString& fieldName)
{
    return QStringLiteral("Pole: ") + fieldName;
}

QString encodeColumn(int position, int width)
{
    return QString::number(kStoredBase + 1000 * clampPosition(position) + clampWidth(width));
}

std::optional<int> decodeColumn(const QString& stored)
{
    bool ok = false;
    const int v = stored.trimmed().toInt(&ok);
    if (!ok || v < kStoredBase || v >= kUnstoredBase)
        return std::nullopt;
    return v;
}

QList<Column> arrange(const QList<Column>& columns, const QStringList& stored)
{
    struct Keyed {
        int key;
        int index;
    };
    QList<Keyed> keyed;
    for (int i = 0; i < columns.size(); ++i) {
        const auto s = i < stored.size() ? decodeColumn(stored[i]) : std::nullopt;
        // Unstored columns: positions up to 499 stay within six digits.
        keyed << Keyed{s ? *s : kUnstoredBase + 1000 * std::clamp(i, 0, 499) + clampWidth(columns[i].width), i};
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    QList<Column> out;
    for (const Keyed& k : keyed)
        out << Column{columns[k.index].field, k.key % 1000};
    return out;
}

QList<Column> rearrange(const QList<Column>& shown, const QStringList& fields,
                        const std::function<int(const QString& field)>& width)
{
    const auto placed = [](const QList<Column>& list, const QString& field) {
        for (int i = 0; i < list.size(); ++i)
            if (list[i].field.compare(field, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    QList<Column> out;
    for (const Column& c : shown)
        if (fields.contains(c.field, Qt::CaseInsensitive))
            out << c;
    for (int i = 0; i < fields.size(); ++i) {
        if (placed(out, fields[i]) >= 0)
            continue;
        int at = 0;
        for (int j = i - 1; j >= 0; --j)
            if (const int p = placed(out, fields[j]); p >= 0) {
                at = p + 1;
                break;
            }
        const int w = width ? width(fields[i]) : 0;
        out.insert(at, Column{fields[i], w > 0 ? clampWidth(w) : 100});
    }
    return out;
}

int contentWidth(int captionWidth, int cellsWidth)
{
    return std::clamp(std::max(captionWidth, cellsWidth), kMinContentWidth, kMaxContentWidth);
}

QString autoWidthsKey()
{
    return QStringLiteral("AutoWidths");
}

QString autoWidthsToStored(const QStringList& fields)
{
    return fields.join(QStringLiteral("\r\n"));
}

QStringList autoWidthsFromStored(const QString& stored)
{
    QStringList out;
    for (const QString& line : stored.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (const QString f = line.trimmed().toUpper(); !f.isEmpty())
            out << f;
    return out;
}

}  // namespace layout
