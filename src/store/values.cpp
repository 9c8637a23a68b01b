#include "values.h"

#include "error.h"

#include <cmath>

namespace values {

namespace {

QTime minutesOnly(const QTime& t)
{
    return t.isValid() ? QTime(t.hour(), t.minute()) : QTime();
}

QString textOf(const QVariant& v)
{
    return v.typeId() == QMetaType::QByteArray ? QString::fromUtf8(v.toByteArray()) : v.toString();
}

Error typeError(const QString& caption, const QVariant& v)
{
    return Error(QStringLiteral("Niepoprawna wartość pola \"%1\": %2").arg(caption, v.toString()));
}

}  // namespace

bool isEmpty(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return true;
    switch (v.typeId()) {
    case QMetaType::QString:
        return v.toString().isEmpty();
    case QMetaType::QByteArray:
        return v.toByteArray().isEmpty();
    default:
        return false;
    }
}

// "YYYY-MM-DD…" and "HH:MM…" as the store keeps them, read without the
// general-purpose parsers (attendance tables hold hundreds of thousands).
static bool digits(const QString& s, qsizetype from, qsizetype count, int* out)
{
    int n = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        n = n * 10 + (c - u'0');
    }
    *out = n;
    return true;
}

static QDate fastDate(const QString& s)
{
    int y, m, d;
    if (s.size() >= 10 && s[4] == QLatin1Char('-') && s[7] == QLatin1Char('-') && digits(s, 0, 4, &y)
        && digits(s, 5, 2, &m) && digits(s, 8, 2, &d))
        return QDate(y, m, d);
    return QDate::fromString(s.left(10), Qt::ISODate);
}

static QTime fastTime(const QString& s)
{
    int h, m;
    if (s.size() >= 5 && s[2] == QLatin1Char(':') && digits(s, 0, 2, &h) && digits(s, 3, 2, &m))
        return QTime(h, m);
    QTime t = QTime::fromString(s, QStringLiteral("H:mm"));
    return t.isValid() ? t : QTime::fromString(s.left(4), QStringLiteral("H:mm"));
}

QDate toDate(const QVariant& v)
{
    if (isEmpty(v))
        return {};
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return fastDate(textOf(v));
}

QTime toTime(const QVariant& v)
{
    if (isEmpty(v))
        return {};
    if (v.typeId() == QMetaType::QTime)
        return minutesOnly(v.toTime());
    if (v.typeId() == QMetaType::QDateTime)
        return minutesOnly(v.toDateTime().time());
    return fastTime(textOf(v).trimmed());
}

QDateTime toDateTime(const QVariant& v)
{
    if (isEmpty(v))
        return {};
    if (v.typeId() == QMetaType::QDateTime)
        return QDateTime(v.toDateTime().date(), v.toDateTime().time().addMSecs(-v.toDateTime().time().msec()));
    if (v.typeId() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    const QString s = textOf(v).trimmed();
    QDateTime dt = QDateTime::fromString(s.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime::fromString(s.left(19), Qt::ISODate);
    if (!dt.isValid() && s.size() == 10)
        dt = QDateTime(QDate::fromString(s, Qt::ISODate), QTime(0, 0));
    return dt;
}

QVariant fromStore(const QVariant& raw, FieldType type)
{
    if (isEmpty(raw))
        return {};
    switch (type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt:
        return QVariant(raw.toInt());
    case FieldType::Float:
        return QVariant(raw.toDouble());
    case FieldType::String:
    case FieldType::Memo:
        return QVariant(textOf(raw));
    case FieldType::Date: {
        const QDate d = toDate(raw);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldType::Time: {
        const QTime t = toTime(raw);
        return t.isValid() ? QVariant(t) : QVariant();
    }
    case FieldType::DateTime: {
        const QDateTime dt = toDateTime(raw);
        return dt.isValid() ? QVariant(dt) : QVariant();
    }
    case FieldType::Graphic:
        return QVariant(raw.toByteArray());
    }
    return raw;
}

QVariant bindable(const QVariant& value)
{
    if (isEmpty(value))
        return QVariant(QMetaType(QMetaType::QString));  // NULL
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("HH:mm"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        return value;
    }
}

QVariant normalize(const QVariant& value, const FieldDef& field)
{
    if (isEmpty(value))
        return {};
    const QString caption = field.displayCaption();
    bool ok = true;
    switch (field.type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt: {
        if (value.typeId() == QMetaType::Double) {
            const double d = value.toDouble();
            if (d != std::floor(d))
                throw typeError(caption, value);
        }
        const qlonglong n = value.typeId() == QMetaType::QString ? value.toString().trimmed().toLongLong(&ok)
                                                                 : value.toLongLong(&ok);
        const qlonglong lo = field.type == FieldType::SmallInt ? -32768 : INT32_MIN;
        const qlonglong hi = field.type == FieldType::SmallInt ? 32767 : INT32_MAX;
        if (!ok || n < lo || n > hi)
            throw typeError(caption, value);
        return QVariant(int(n));
    }
    case FieldType::Float: {
        const double d = value.typeId() == QMetaType::QString
            ? QString(value.toString().trimmed()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok)
            : value.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            throw typeError(caption, value);
        return QVariant(d);
    }
    case FieldType::String:
    case FieldType::Memo: {
        const QString s = value.toString();
        if (field.type == FieldType::String && field.width > 0 && s.size() > field.width)
            throw Error(QStringLiteral("Pole \"%1\" może mieć najwyżej %2 znaków").arg(caption).arg(field.width));
        return QVariant(s);
    }
    case FieldType::Date: {
        const QDate d = value.typeId() == QMetaType::QString ? toDate(value) : value.toDate();
        if (!d.isValid())
            throw typeError(caption, value);
        return QVariant(d);
    }
    case FieldType::Time: {
        const QTime t = toTime(value);
        if (!t.isValid())
            throw typeError(caption, value);
        return QVariant(t);
    }
    case FieldType::DateTime: {
        const QDateTime dt = toDateTime(value);
        if (!dt.isValid())
            throw typeError(caption, value);
        return QVariant(dt);
    }
    case FieldType::Graphic:
        return QVariant(value.toByteArray());
    }
    return value;
}

QVariant toStore(const QVariant& value, FieldType type, const QString& caption)
{
    FieldDef f;
    f.type = type;
    f.caption = caption;
    return bindable(normalize(value, f));
}

bool same(const QVariant& a, const QVariant& b)
{
    const bool ea = isEmpty(a), eb = isEmpty(b);
    if (ea || eb)
        return ea == eb;
    if (a.typeId() == QMetaType::Double || b.typeId() == QMetaType::Double) {
        const double x = a.toDouble(), y = b.toDouble();
        return std::fabs(x - y) <= 1e-9 * std::max(1.0, std::max(std::fabs(x), std::fabs(y)));
    }
    if (a.typeId() == b.typeId())
        return a == b;
    return a.toString() == b.toString();
}

}  // namespace values
