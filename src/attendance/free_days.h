#pragma once
// The free days of a month as its record keeps them (MIESIACE.DNIWOLNE):
// "-" for a month that is free as a whole, otherwise day numbers separated
// by commas. Everything but digits and commas is ignored, so "1, 6 ,7" reads
// as "1,6,7"; a day is free only when its number is a whole item, so "16"
// does not make the 1st or the 6th free, nor does "06" the 6th.

#include <QDate>
#include <QString>

#include <cstdint>

namespace attendance {

class FreeDays {
public:
    FreeDays() = default;
    explicit FreeDays(const QString& list);

    // "-": no day of the month is a working day.
    bool wholeMonth() const { return m_wholeMonth; }
    bool isFree(int day) const;
    bool isFree(QDate date) const { return isFree(date.day()); }
    bool isWorkingDay(QDate date) const { return !isFree(date); }
    // Working days from `from` to `to` inclusive (0 when `to` is before `from`).
    int workingDays(QDate from, QDate to) const;

private:
    bool m_wholeMonth = false;
    std::uint32_t m_days = 0;  // bit d set: day d is free
};

// The calendar a new month starts with: weekends and the statutory public
// holidays of Poland.
QDate easterSunday(int year);
bool isPublicHoliday(QDate date);
// The free days of a month as its record keeps them ("-" for a free month).
QString generatedFreeDays(int year, int month, bool wholeMonthFree);

}  // namespace attendance
