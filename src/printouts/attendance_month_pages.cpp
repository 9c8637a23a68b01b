// The month view's pages, one per child: the header with the weekday boxes,
// the calendar of the month, and the legend with the counts, the time lines
// and the extra classes the child attended.

#include "attendance_printout_parts.h"

#include "attendance/obecn_view.h"
#include "fees/attendance_quantities.h"
#include "store/polish_dates.h"

#include <memory>

namespace printouts::attendance_print {

namespace {

// Offsets of the three parts of a child's page, and the calendar's grid.
constexpr double headerHeight = 78;
constexpr double calendarTop = headerHeight;
constexpr double calendarHeight = 240;
constexpr double legendTop = calendarTop + calendarHeight;
constexpr double legendHeight = 180;
constexpr double cellLeft = 44;
constexpr double cellPitchX = 89;
constexpr double cellPitchY = 37;
constexpr double cellWidth = 90;
constexpr double cellHeight = 38;
const std::array<QChar, 3> countedCodes{QLatin1Char('T'), QLatin1Char('N'), QLatin1Char('Z')};

struct Cell {
    QString day;      // blank in the empty cells around the month
    QString content;  // "07:30 - 16:00"
    QColor fill = Qt::white;
};

struct ChildPage {
    QString header;
    QList<Cell> cells;
    std::array<QString, 4> counts;  // T, N, Z, free days
    std::array<QString, 4> timeLines;  // declared, free, paid, paid less classes
    QString classHeading;
    QString classDates;
    QString classTexts;
};

// The first cell of the month: the weekday of the 1st, Monday first.
int leadingCells(QDate first) { return first.dayOfWeek() - 1; }

int cellCount(QDate first)
{
    const int used = leadingCells(first) + first.daysInMonth();
    return (used + 6) / 7 * 7;
}

ChildPage pageOf(const AttendanceChild& child, const AttendancePrintInput& input, const MonthData& data,
                 const QString& freeTimeLine)
{
    const QDate first(input.day.year(), input.day.month(), 1);
    const int days = first.daysInMonth();
    const int lead = leadingCells(first);
    ChildPage page;
    page.header = child.caption + QStringLiteral("\r\nObecności za miesiąc ") + polish::monthName(first.month())
        + QLatin1Char(' ') + QString::number(first.year());

    page.cells.resize(cellCount(first));
    int freeCount = 0;
    for (int d = 1; d <= days; ++d) {
        Cell& cell = page.cells[lead + d - 1];
        cell.day = QString::number(d);
        if (data.freeDays.isFree(d)) {
            cell.fill = freeDayColour();
            ++freeCount;
        }
    }

    static const fees::ChildRows noRows;
    const fees::ChildRows* found = data.rows.childRows(child.child);
    const fees::ChildRows& rows = found ? *found : noRows;
    std::array<int, 3> counted{0, 0, 0};
    for (const fees::AttendanceRow& r : rows.attendance) {
        if (r.date.year() != first.year() || r.date.month() != first.month())
            continue;
        const QString code = r.mark.isNull() ? QString() : QString(r.mark);
        Cell& cell = page.cells[lead + r.date.day() - 1];
        if (input.colours)
            cell.fill = attendanceCodeColour(code);
        cell.content = timeText(r.arrival) + QStringLiteral(" - ") + timeText(r.departure);
        for (size_t k = 0; k < counted.size(); ++k)
            if (code == QString(countedCodes[k]))
                ++counted[k];
    }
    const auto stored = data.counts.value(child.child);
    for (size_t k = 0; k < counted.size(); ++k)
        page.counts[k] = stored[k].isValid() ? stored[k].toString() : QString::number(counted[k]);
    page.counts[3] = QString::number(freeCount);

    const auto declared = data.latestDeclared.constFind(child.child);
    if (declared != data.latestDeclared.cend())
        page.timeLines[0] = timeLine(QStringLiteral("Zadeklarowany czas pobytu: "), declared->arrival, declared->departure);
    page.timeLines[1] = freeTimeLine;

    // The free window of each day is the one in force on it; a day counts
    // only when present with both times.
    long long paid = 0, paidLessClasses = 0;
    fees::DataProblems problems;
    for (const fees::AttendanceRow& r : rows.attendance) {
        if (r.date.year() != first.year() || r.date.month() != first.month())
            continue;
        const fees::DayPaidTime day = fees::dayPaidTime(data.rows, rows, r, data.chargeStep, problems);
        paid += day.minutes;
        paidLessClasses += day.lessClasses;
    }
    page.timeLines[2] = QStringLiteral("Czas płatny wprowadzonych dni: ") + obecn::hoursText(int(paid));
    if (paidLessClasses != paid)
        page.timeLines[3] =
            QStringLiteral("Czas płatny po odliczeniu obecności dodatkowych: ") + obecn::hoursText(int(paidLessClasses));

    QStringList dates, texts;
    for (const fees::HeldClassRow& held : data.rows.heldClasses) {
        const auto mark = rows.heldAttendance.constFind(held.key);
        // A row without a mark is a presence, as the window shows it.
        if (mark == rows.heldAttendance.cend() || !(mark->isNull() || *mark == QLatin1Char('T')))
            continue;
        dates << QString::number(held.date.day()) + QLatin1Char(' ') + polish::weekdayName(held.date.dayOfWeek());
        texts << timeText(held.start) + QStringLiteral(" - ") + timeText(held.end) + QStringLiteral("     ")
                + data.rows.className(held.classCode);
    }
    if (!dates.isEmpty())
        page.classHeading = QStringLiteral("Obecności dodatkowe: ");
    page.classDates = dates.join(QLatin1Char('\n'));
    page.classTexts = texts.join(QLatin1Char('\n'));
    return page;
}

using Pages = std::shared_ptr<const QList<ChildPage>>;

report::Item text(const Pages& pages, const QRectF& rect, std::function<QString(const ChildPage&)> part,
                  const report::TextStyle& style)
{
    return report::Item::computed(
        rect, [pages, part = std::move(part)](const report::RunState& s) { return part(pages->at(s.row)); }, style);
}

void addHeader(report::Band& band, const Pages& pages, double width)
{
    const report::TextStyle boldItalic = textStyle(Qt::AlignHCenter, true, true);
    band.items << text(pages, QRectF(0, 0, width, 33), [](const ChildPage& p) { return p.header; }, boldItalic);
    const QStringList weekdays{QStringLiteral("Pn"), QStringLiteral("Wt"), QStringLiteral("Śr"), QStringLiteral("Cz"),
                               QStringLiteral("Pt"), QStringLiteral("So"), QStringLiteral("Nd")};
    for (int k = 0; k < 7; ++k) {
        const double left = cellLeft + cellPitchX * k;
        band.items << report::Item::rectangle(QRectF(left, 40, cellWidth, cellHeight));
        band.items << report::Item::label(QRectF(left, 52, cellWidth, 17), weekdays[k], boldItalic);
    }
}

void addCalendar(report::Band& band, const Pages& pages, int cells)
{
    band.items << report::Item::drawn(QRectF(0, calendarTop, 0, 0), [pages](const report::RunState& s) {
        QList<report::Primitive> out;
        const QList<Cell>& all = pages->at(s.row).cells;
        for (int p = 0; p < all.size(); ++p)
            out << report::Box{QRectF(cellLeft + cellPitchX * (p % 7), cellPitchY * (p / 7), cellWidth, cellHeight),
                               Qt::black, 1, all[p].fill};
        return out;
    });
    const report::TextStyle bold = textStyle(Qt::AlignHCenter, true);
    for (int p = 0; p < cells; ++p) {
        const double left = cellLeft + cellPitchX * (p % 7) + 2;
        const double top = calendarTop + cellPitchY * (p / 7);
        band.items << text(pages, QRectF(left, top + 4, 86, 17), [p](const ChildPage& c) { return c.cells[p].day; }, bold);
        band.items << text(pages, QRectF(left, top + 20, 86, 17), [p](const ChildPage& c) { return c.cells[p].content; },
                           bold);
    }
}

void addLegend(report::Band& band, const Pages& pages, bool colours)
{
    const double top = legendTop;
    band.items << report::Item::label(QRectF(cellLeft, top + 4, 200, 17), QStringLiteral("Legenda"),
                                      textStyle(Qt::AlignLeft, true));
    const std::array<QColor, 4> fills{attendanceCodeColour(QStringLiteral("T")), attendanceCodeColour(QStringLiteral("N")),
                                      attendanceCodeColour(QStringLiteral("Z")), freeDayColour()};
    const QStringList labels{QStringLiteral("Obecność"), QStringLiteral("Nieobecność"),
                             QStringLiteral("Wcześniej zgłoszona nieobecność"), QStringLiteral("Dni wolne")};
    for (int k = 0; k < 4; ++k) {
        const QRectF box(cellLeft, top + 24 + 24 * k, cellWidth, 25);
        if (colours)
            band.items << report::Item::rectangle(box, 1, Qt::black, fills[size_t(k)]);
        band.items << text(pages, box.adjusted(0, 4, 0, 0), [k](const ChildPage& p) { return p.counts[size_t(k)]; },
                           textStyle(Qt::AlignHCenter));
        band.items << report::Item::label(QRectF(144, box.top() + 4, 250, 17), labels[k], textStyle());
        band.items << text(pages, QRectF(396, top + 28 + 24 * k, 321, 17),
                           [k](const ChildPage& p) { return p.timeLines[size_t(k)]; }, textStyle());
    }
    band.items << text(pages, QRectF(cellLeft, top + 138, 400, 17), [](const ChildPage& p) { return p.classHeading; },
                       textStyle(Qt::AlignLeft, true));
    report::TextStyle list = textStyle();
    list.autoStretch = true;
    band.items << text(pages, QRectF(cellLeft, top + 160, 137, 17), [](const ChildPage& p) { return p.classDates; }, list);
    band.items << text(pages, QRectF(180, top + 160, 497, 17), [](const ChildPage& p) { return p.classTexts; }, list);
}

}  // namespace

report::Report monthPagesReport(const AttendancePrintInput& input, const MonthData& data, report::Rows& rows)
{
    const QString freeTimeLine =
        data.latestFree ? timeLine(QStringLiteral("Bezpłatny czas pobytu: "), data.latestFree->start, data.latestFree->end)
                        : QString();
    QList<ChildPage> list;
    for (const AttendanceChild& child : input.children)
        list << pageOf(child, input, data, freeTimeLine);
    const Pages pages = std::make_shared<const QList<ChildPage>>(std::move(list));

    report::Report report;
    report::Band page;
    page.kind = report::BandKind::Detail;
    page.height = headerHeight + calendarHeight + legendHeight;
    page.newPageBefore = true;
    addHeader(page, pages, report.bodyWidth());
    addCalendar(page, pages, cellCount(QDate(input.day.year(), input.day.month(), 1)));
    addLegend(page, pages, input.colours);
    report.detail = page;

    rows.fields = QStringList{QStringLiteral("N")};
    for (int r = 0; r < pages->size(); ++r)
        rows.rows.append(QVariantList{r});
    return report;
}

}  // namespace printouts::attendance_print
