#include "import_values.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace import {

QString notNumberMessage(const QString& text) { return QStringLiteral("„%1” nie jest poprawną liczbą").arg(text); }
QString notDateMessage(const QString& text) { return QStringLiteral("„%1” nie jest poprawną datą").arg(text); }

ValueFormat ValueFormat::of(const ImportFormat& format)
{
    ValueFormat vf;
    if (format.decimalSeparator)
        vf.decimal = *format.decimalSeparator;
    if (format.thousandsSeparator)
        vf.thousands = *format.thousandsSeparator;
    if (format.dateSeparator)
        vf.dateSeparator = *format.dateSeparator;
    vf.datePattern = QStringLiteral("DD%1MM%1YYYY").arg(vf.dateSeparator);
    if (!format.dateFormat.isEmpty()) {
        vf.datePattern = format.dateFormat.toUpper();
        vf.positionalDates = !format.dateFormat.contains(vf.dateSeparator);
    }
    vf.commaShift = format.commaShift;
    return vf;
}

QString ValueFormat::dateText(const QDate& date) const
{
    QString out;
    const QString& p = datePattern;
    for (qsizetype i = 0; i < p.size();) {
        const QChar c = p[i];
        qsizetype j = i;
        while (j < p.size() && p[j] == c)
            ++j;
        const int run = int(j - i);
        int number = -1;
        if (c == QLatin1Char('Y'))
            number = run <= 2 ? date.year() % 100 : date.year();
        else if (c == QLatin1Char('M'))
            number = date.month();
        else if (c == QLatin1Char('D'))
            number = date.day();
        if (number >= 0)
            out += QStringLiteral("%1").arg(number, run, 10, QLatin1Char('0'));
        else
            out += p.mid(i, run);
        i = j;
    }
    return out;
}

QString trimCell(const QString& text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text[b].unicode() <= ' ')
        ++b;
    while (e > b && text[e - 1].unicode() <= ' ')
        --e;
    return text.mid(b, e - b);
}

namespace {

const QDate dayZero(1899, 12, 30);

std::optional<QDate> nativeDate(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return std::nullopt;
}

bool isNativeNumber(const QVariant& v)
{
    return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong;
}

int yearOf(int y, int digits) { return digits <= 2 ? 2000 + y : y; }

}  // namespace

QString cellText(const ImportCell& cell, const ValueFormat& vf)
{
    if (const auto d = nativeDate(cell.value))
        return vf.dateText(*d);
    if (isNativeNumber(cell.value)) {
        const double v = cell.value.toDouble();
        if (std::fabs(v) < 1e15 && v == std::floor(v))
            return QString::number(qint64(v));
        return QString::number(v, 'g', 15);
    }
    return trimCell(cell.text);
}

bool isBlank(const ImportCell& cell)
{
    return !cell.value.isValid() && trimCell(cell.text).isEmpty();
}

std::optional<double> readNumber(const ImportCell& cell, const ValueFormat& vf)
{
    if (isNativeNumber(cell.value))
        return cell.value.toDouble();
    QString t;
    for (const QChar c : trimCell(cell.text))
        if (!c.isSpace() && c != vf.thousands && c != QChar(0x00A0))
            t += c;
    // A currency code before or after the amount: "1185,61PLN".
    auto isCodeLetter = [](QChar c) { return c >= QLatin1Char('A') && c <= QLatin1Char('Z'); };
    if (t.size() > 3 && isCodeLetter(t[0]) && isCodeLetter(t[1]) && isCodeLetter(t[2]))
        t.remove(0, 3);
    const qsizetype n = t.size();
    if (n > 3 && isCodeLetter(t[n - 1]) && isCodeLetter(t[n - 2]) && isCodeLetter(t[n - 3]))
        t.chop(3);
    if (t.isEmpty())
        return std::nullopt;
    if (vf.commaShift >= 1) {
        QString sign;
        if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
            sign = t.left(1);
            t.remove(0, 1);
        }
        if (t.size() <= vf.commaShift)
            t.prepend(QString(vf.commaShift + 1 - t.size(), QLatin1Char('0')));
        t.insert(t.size() - vf.commaShift, vf.decimal);
        t.prepend(sign);
    }
    // Only the decimal separator in force is a decimal point.
    QString normal;
    for (const QChar c : t) {
        if (c == vf.decimal)
            normal += QLatin1Char('.');
        else if (c == QLatin1Char('.') || c == QLatin1Char(','))
            return std::nullopt;
        else
            normal += c;
    }
    bool ok = false;
    const double v = normal.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QDate readDate(const ImportCell& cell, const ValueFormat& vf)
{
    if (const auto d = nativeDate(cell.value))
        return *d;
    if (isNativeNumber(cell.value))
        return dayZero.addDays(qint64(std::floor(cell.value.toDouble())));
    const QString text = trimCell(cell.text);
    const QString& p = vf.datePattern;
    if (vf.positionalDates) {
        auto part = [&](QChar letter, int& digits) {
            const qsizetype at = p.indexOf(letter);
            if (at < 0)
                return -1;
            qsizetype end = at;
            while (end < p.size() && p[end] == letter)
                ++end;
            digits = int(end - at);
            bool ok = false;
            const int n = text.mid(at, end - at).toInt(&ok);
            return ok ? n : -1;
        };
        int yd = 0, md = 0, dd = 0;
        const int y = part(QLatin1Char('Y'), yd), m = part(QLatin1Char('M'), md), d = part(QLatin1Char('D'), dd);
        if (y < 0 || m < 0 || d < 0)
            return {};
        return QDate(yearOf(y, yd), m, d);
    }
    // The order of day, month and year in the pattern; the cell's parts
    // between separators are read in that order.
    struct Part {
        qsizetype at;
        QChar letter;
        int digits;
    };
    QList<Part> order;
    for (const QChar letter : {QLatin1Char('Y'), QLatin1Char('M'), QLatin1Char('D')}) {
        const qsizetype at = p.indexOf(letter);
        if (at < 0)
            return {};
        order << Part{at, letter, int(p.count(letter))};
    }
    std::sort(order.begin(), order.end(), [](const Part& a, const Part& b) { return a.at < b.at; });
    const QStringList parts = text.split(vf.dateSeparator);
    if (parts.size() != 3)
        return {};
    int y = -1, m = -1, d = -1, yearDigits = 4;
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int n = parts[i].trimmed().toInt(&ok);
        if (!ok || n < 0)
            return {};
        if (order[i].letter == QLatin1Char('Y')) {
            y = n;
            yearDigits = int(parts[i].trimmed().size());
        } else if (order[i].letter == QLatin1Char('M')) {
            m = n;
        } else {
            d = n;
        }
    }
    return QDate(yearOf(y, yearDigits), m, d);
}

QChar readDayMark(const QString& text, const ImportFormat& format)
{
    if (text == format.markPresent)
        return QLatin1Char('T');
    if (text == format.markNotified)
        return QLatin1Char('Z');
    if (text == format.markAbsent)
        return QLatin1Char('N');
    return QLatin1Char(' ');
}

std::optional<int> readCount(const QString& text)
{
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    if (!ok || n < 0 || n > 31)
        return std::nullopt;
    return n;
}

}  // namespace import
