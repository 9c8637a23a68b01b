#pragma once
// The view of the attendance window: which day or month it shows, over
// which days, and the texts that follow from that (window title, column
// captions). Pure logic, no store.

#include <QDate>
#include <QString>

namespace obecn {

struct ViewState {
    QDate day;               // the current day
    bool monthView = false;
    int from = 1;            // day range of the month view
    int to = 31;
    bool mayEdit = false;    // the user said yes to editing in this view

    // The days of the month view: from .. min(to, month length).
    int firstDay() const { return from < 1 ? 1 : from; }
    int lastDay() const;
    bool wholeMonth() const { return firstDay() <= 1 && lastDay() >= day.daysInMonth(); }
};

// The day range typed as "from-to". A part that is not a number keeps its
// default (1, 31); numbers are clamped to the days a month can have and a
// "to" before "from" pulls "from" down to it.
struct DayRange {
    int from = 1;
    int to = 31;
    bool operator==(const DayRange&) const = default;
};
DayRange parseDayRange(const QString& text);

// One day on or back in the day view, one month in the month view (the last
// day of a month stays the last day; a day the target month lacks becomes
// its last day).
QDate stepped(QDate day, bool monthView, int direction);

// "Lista obecności na: wtorek 5 marca 2024", with the range suffix in a
// month view over part of the month.
QString windowTitle(const ViewState& view, bool singleChild);

// "Pn" … "N" and "sty" … "gru", as the short date formats write them.
QString shortWeekday(int dayOfWeek);
QString shortMonth(int month);
// "5 Wt": the caption of a day column.
QString dayColumnCaption(QDate day);
// "Obecność, Wt 5 mar 2024": the caption of the day's code column.
QString codeColumnCaption(QDate day);

// "luty nie ma 30 dni"
QString monthTooShort(int month, int count);

// 7.25 hours -> "7:15"; empty for no time.
QString hoursText(int minutes);

}  // namespace obecn
