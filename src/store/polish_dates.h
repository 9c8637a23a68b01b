#pragma once
// Polish dates, times, weekday and month names, the same on every machine:
// the names are fixed words, not taken from the system's regional settings.

#include <QDate>
#include <QString>
#include <QTime>

namespace polish {

// "05.03.2024"; empty for an invalid date.
QString shortDate(QDate date);

// Accepts "d.m.yyyy" and "dd.mm.yyyy" (one or two digits for day and month,
// four for the year), with surrounding blanks ignored. Anything else, or a
// day that does not exist (31.04, 29.02 outside a leap year), gives an
// invalid date.
QDate parseShortDate(const QString& text);

// 1 = "poniedziałek" … 7 = "niedziela"; empty out of range.
QString weekdayName(int dayOfWeek);

// Nominative, for a month standing alone or with a year: 1 = "styczeń".
QString monthName(int month);

// Genitive, for a month after a day number: 1 = "stycznia".
QString monthNameGenitive(int month);

// "wtorek 5 marca 2024"; empty for an invalid date.
QString longDate(QDate date);

// "marzec 2024"; empty for a month out of range.
QString monthYear(int year, int month);

// "08:05"; empty for an invalid time.
QString time(QTime t);

// Accepts "H:MM", "HH:MM" and the same with ":SS", whose seconds are
// dropped (times of day are kept to the minute); surrounding blanks are
// ignored. Anything else, or an hour over 23, is invalid.
QTime parseTime(const QString& text);

}  // namespace polish
