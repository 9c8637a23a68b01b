// TRaportObecn: reading the month once for every listed child, and the
// parts both views share.

#include "attendance_printout.h"
#include "attendance_printout_parts.h"

#include "grid_printout.h"
#include "report_engine.h"
#include "text_layout.h"

#include "fees/quantity_data_loader.h"
#include "store/database.h"
#include "store/params.h"
#include "store/polish_dates.h"
#include "store/query.h"
#include "store/values.h"

namespace printouts {

QString attendanceTitle(const QString& institutionName, QDate day, bool singleChild, const QString& filterDescription)
{
    QString title = institutionName + QStringLiteral(" - lista obecności ")
        + (singleChild ? QStringLiteral("dziecka na ") : QStringLiteral("na ")) + polish::longDate(day);
    if (!filterDescription.isEmpty())
        title += QStringLiteral("\r\n") + filterDescription;
    return title;
}

QColor attendanceCodeColour(const QString& code)
{
    if (code == QLatin1String("T"))
        return QColor(0, 128, 0);
    if (code == QLatin1String("N"))
        return QColor(255, 0, 0);
    if (code == QLatin1String("Z"))
        return QColor(255, 79, 0);
    return QColor(255, 255, 255);
}

QColor freeDayColour() { return QColor(192, 192, 192); }

namespace attendance_print {

QString timeText(int minutes)
{
    return minutes == fees::noTime ? QString() : polish::time(QTime(minutes / 60, minutes % 60));
}

QString timeLine(const QString& prefix, int start, int end)
{
    QString t = timeText(start);
    if (end != fees::noTime)
        t += QStringLiteral(" - ") + timeText(end);
    return t.isEmpty() ? QString() : prefix + t;
}

report::TextStyle textStyle(Qt::Alignment alignment, bool bold, bool italic, double pointSize)
{
    report::TextStyle style;
    style.font.family = QStringLiteral("Arial");
    style.font.pointSize = pointSize;
    style.font.bold = bold;
    style.font.italic = italic;
    style.alignment = alignment | Qt::AlignTop;
    return style;
}

report::Band pageFooter(const QString& footerLine, double width)
{
    const report::TextStyle left = textStyle(Qt::AlignLeft, false, false, 8);
    const report::TextStyle right = textStyle(Qt::AlignRight, false, false, 8);
    const double height = report::MeasuredFont(left.font).lineHeight();
    report::Band band;
    band.kind = report::BandKind::PageFooter;
    band.height = height + 2;
    // The footer line takes all the width the page number leaves, so that a
    // long address is not cut off.
    constexpr double numberWidth = 80;
    band.items.append(report::Item::pageNumber(QRectF(0, 1, numberWidth, height), QStringLiteral("Strona: {page}"), left));
    band.items.append(report::Item::label(QRectF(numberWidth, 1, width - numberWidth, height), footerLine, right));
    return band;
}

namespace {

// Rows in force from their first day: the later of two, an empty first day
// counting as the earliest.
bool later(QDate a, QDate b) { return a.isValid() && (!b.isValid() || a > b); }

QString storedFreeDays(Database& db, QDate day)
{
    Query q(db, QStringLiteral("SELECT DNIWOLNE FROM MIESIACE WHERE ROK = :R AND MIES = :M"));
    q.bind(QStringLiteral("R"), day.year()).bind(QStringLiteral("M"), day.month()).exec();
    return q.next() ? q.value(0).toString() : QString();
}

int minutesAt(const Query& q, int column) { return fees::minutesOf(values::toTime(q.value(column))); }

MonthData readMonth(Database& db, const AttendancePrintInput& input)
{
    MonthData data;
    const QDate first(input.day.year(), input.day.month(), 1);
    const QDate last(first.year(), first.month(), first.daysInMonth());
    QList<int> children;
    for (const AttendanceChild& c : input.children)
        if (c.child != 0)
            children << c.child;
    data.rows = fees::loadQuantityData(db, first, last, children);
    data.freeDays = attendance::FreeDays(input.freeDays ? *input.freeDays : storedFreeDays(db, first));

    {
        Query q(db, QStringLiteral("SELECT OSOBA, OBECNY, ILE FROM OBECM WHERE ROK = :R AND MIES = :M"));
        q.bind(QStringLiteral("R"), first.year()).bind(QStringLiteral("M"), first.month()).exec();
        while (q.next()) {
            const QString code = q.value(1).toString().trimmed().toUpper();
            const int slot = code == QLatin1String("T") ? 0 : code == QLatin1String("N") ? 1 : code == QLatin1String("Z") ? 2 : -1;
            if (slot >= 0 && !values::isEmpty(q.value(2)))
                data.counts[q.value(0).toInt()][size_t(slot)] = q.value(2).toInt();
        }
    }
    if (input.monthView) {
        // The declared and free time lines show the latest rows, whatever
        // their month: the whole history of both, once.
        Query declared(db, QStringLiteral("SELECT OSOBA, ODDATY, CZASP, CZASW FROM DZIECZAS"));
        declared.exec();
        while (declared.next()) {
            const int child = declared.value(0).toInt();
            const fees::DeclaredTimeRow row{values::toDate(declared.value(1)), minutesAt(declared, 2), minutesAt(declared, 3)};
            const auto it = data.latestDeclared.constFind(child);
            if (it == data.latestDeclared.cend() || !later(it->from, row.from))
                data.latestDeclared.insert(child, row);
        }
        Query free(db, QStringLiteral("SELECT ODDATY, CZASP, CZASW FROM CZASBEZP"));
        free.exec();
        while (free.next()) {
            const fees::FreeTimeRow row{values::toDate(free.value(0)), minutesAt(free, 1), minutesAt(free, 2)};
            if (!data.latestFree || !later(data.latestFree->from, row.from))
                data.latestFree = row;
        }
        Parameters parameters;
        parameters.load(db);
        data.chargeStep = parameters.naliczanieMinut;
    }
    return data;
}

// The month view of an empty list: not even a page with its footer.
class NoPages : public report::Job {
public:
    explicit NoPages(QString title) : m_title(std::move(title)) {}
    QString title() const override { return m_title; }
    report::PreparedPages run(report::Purpose, const report::PageSink& = {}) const override { return {m_title, {}, {}}; }

private:
    QString m_title;
};

}  // namespace

}  // namespace attendance_print

std::unique_ptr<report::Job> makeAttendancePrintout(Database& db, const AttendancePrintInput& input)
{
    using namespace attendance_print;
    if (input.monthView && input.children.isEmpty())
        return std::make_unique<NoPages>(input.title);
    const MonthData data = readMonth(db, input);
    report::Rows rows;
    report::Report definition = input.monthView ? monthPagesReport(input, data, rows) : dayListReport(input, data, rows);
    definition.title = input.title;
    definition.pageFooter = pageFooter(report::footerLine(db), definition.bodyWidth());
    return std::make_unique<report::ReportJob>(std::move(definition), std::move(rows));
}

}  // namespace printouts
