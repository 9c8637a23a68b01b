#include "polish_dates.h"

#include <QRegularExpression>

namespace polish {
namespace {

const char16_t* const kWeekdays[7] = {
    u"poniedziałek", u"wtorek", u"środa", u"czwartek", u"piątek", u"sobota", u"niedziela",
};

const char16_t* const kMonths[12] = {
    u"styczeń", u"luty",     u"marzec",   u"kwiecień", u"maj",      u"czerwiec",
    u"lipiec",  u"sierpień", u"wrzesień", u"październik", u"listopad", u"grudzień",
};

const char16_t* const kMonthsGenitive[12] = {
    u"stycznia", u"lutego",   u"marca",    u"kwietnia",    u"maja",      u"czerwca",
    u"lipca",    u"sierpnia", u"września", u"października", u"listopada", u"grudnia",
};

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

}  // namespace

QString shortDate(QDate date) {
    if (!date.isValid()) return {};
    // Years below 1000 still print four digits so the text parses back.
    return twoDigits(date.day()) + u'.' + twoDigits(date.month()) + u'.' +
           QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
}

QDate parseShortDate(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^([0-9]{1,2})\\.([0-9]{1,2})\\.([0-9]{4})$"));
    const auto m = re.match(text.trimmed());
    if (!m.hasMatch()) return {};
    // QDate refuses impossible days itself.
    return QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
}

QString weekdayName(int dayOfWeek) {
    if (dayOfWeek < 1 || dayOfWeek > 7) return {};
    return QString::fromUtf16(kWeekdays[dayOfWeek - 1]);
}

QString monthName(int month) {
    if (month < 1 || month > 12) return {};
    return QString::fromUtf16(kMonths[month - 1]);
}

QString monthNameGenitive(int month) {
    if (month < 1 || month > 12) return {};
    return QString::fromUtf16(kMonthsGenitive[month - 1]);
}

QString longDate(QDate date) {
    if (!date.isValid()) return {};
    return weekdayName(date.dayOfWeek()) + u' ' + QString::number(date.day()) + u' ' +
           monthNameGenitive(date.month()) + u' ' + QString::number(date.year());
}

QString monthYear(int year, int month) {
    if (month < 1 || month > 12) return {};
    return monthName(month) + u' ' + QString::number(year);
}

QString time(QTime t) {
    if (!t.isValid()) return {};
    return twoDigits(t.hour()) + u':' + twoDigits(t.minute());
}

QTime parseTime(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?$"));
    const auto m = re.match(text.trimmed());
    if (!m.hasMatch()) return {};
    const int h = m.captured(1).toInt();
    const int min = m.captured(2).toInt();
    if (m.hasCaptured(3) && m.captured(3).toInt() > 59) return {};
    return QTime(h, min);  // invalid for hours over 23 or minutes over 59
}

}  // namespace polish
