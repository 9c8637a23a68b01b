#include "cell_text.h"

#include "store/money.h"
#include "store/polish_dates.h"
#include "store/year_range.h"

#include <QDateTime>

namespace cell {

bool isNumeric(FieldType type)
{
    return type == FieldType::AutoInc || type == FieldType::Integer || type == FieldType::SmallInt
        || type == FieldType::Float;
}

bool hasLookupSource(const Table::Field& f)
{
    return f.kind == Table::FieldKind::Calculated && f.lookupTable && !f.keyFields.isEmpty();
}

namespace {

// The decimals of a format such as "#0.00##": the zeros after the point
// are always written, the "#" only when they are not trailing zeros.
struct Decimals {
    int least = -1;  // -1: the format gives none
    int most = -1;
};

Decimals decimalsOf(const QString& format)
{
    const qsizetype dot = format.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    const QStringView after = QStringView(format).mid(dot + 1);
    return {int(after.count(QLatin1Char('0'))), int(after.size())};
}

}  // namespace

QString text(const QVariant& value, FieldType type, const QString& displayFormat)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (type) {
    case FieldType::Date:
        return polish::shortDate(value.toDate());
    case FieldType::Time:
        return polish::time(value.toTime());
    case FieldType::DateTime: {
        const QDateTime dt = value.toDateTime();
        return polish::shortDate(dt.date()) + QLatin1Char(' ') + polish::time(dt.time());
    }
    case FieldType::Float: {
        const Decimals decimals = decimalsOf(displayFormat);
        if (decimals.most >= 0) {
            QString t = money::format(value.toDouble(), decimals.most, false);
            for (int extra = decimals.most - decimals.least; extra > 0 && t.endsWith(QLatin1Char('0')); --extra)
                t.chop(1);
            if (t.endsWith(QLatin1Char(',')))
                t.chop(1);
            return t;
        }
        QString t = QString::number(value.toDouble(), 'g', 15);
        return t.replace(QLatin1Char('.'), QLatin1Char(','));
    }
    case FieldType::Graphic:
        return QString();
    default:
        return value.toString();
    }
}

std::optional<QVariant> fromText(const QString& raw, FieldType type)
{
    const QString t = raw.trimmed();
    if (t.isEmpty())
        return QVariant();
    switch (type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt: {
        bool ok = false;
        const int n = t.toInt(&ok);
        if (ok)
            return QVariant(n);
        return std::nullopt;
    }
    case FieldType::Float: {
        const auto d = money::parse(t);
        if (d)
            return QVariant(*d);
        return std::nullopt;
    }
    case FieldType::Date: {
        QDate d = polish::parseShortDate(t);
        if (!d.isValid())
            d = QDate::fromString(t, Qt::ISODate);
        if (d.isValid() && polish::yearInRange(d.year()))
            return QVariant(d);
        return std::nullopt;
    }
    case FieldType::Time: {
        const QTime tm = polish::parseTime(t);
        if (tm.isValid())
            return QVariant(tm);
        return std::nullopt;
    }
    case FieldType::DateTime: {
        const qsizetype space = t.indexOf(QLatin1Char(' '));
        const QDate d = polish::parseShortDate(space < 0 ? t : t.left(space));
        const QTime tm = space < 0 ? QTime(0, 0) : polish::parseTime(t.mid(space + 1));
        if (d.isValid() && tm.isValid() && polish::yearInRange(d.year()))
            return QVariant(QDateTime(d, tm));
        const QDateTime iso = QDateTime::fromString(t, Qt::ISODate);
        if (iso.isValid() && polish::yearInRange(iso.date().year()))
            return QVariant(iso);
        return std::nullopt;
    }
    case FieldType::Graphic:
        return std::nullopt;
    default:
        return QVariant(raw);
    }
}

}  // namespace cell
