// The day view's list: the title and the column captions on every page,
// then for each child its line and the lines of the day's extra classes
// under it, and at the end the totals line "RAZEM".

#include "attendance_printout_parts.h"

#include <QList>

#include <memory>

namespace printouts::attendance_print {

namespace {

constexpr double lineHeight = 19;
constexpr double textTop = 2;
constexpr double captionsTop = 40;
constexpr double titleHeight = 33;
constexpr std::array<double, 5> columnX{0, 408, 518, 618, 718};  // cell edges

struct Line {
    QString cells[4];  // name, code, arrival or start, departure or end
    QString code;      // the code or mark, for its colour; empty on the totals line
};

// One entry of the list: the child's line and its class lines.
using Entry = QList<Line>;

QString spaced(const QString& text) { return QStringLiteral(" ") + text; }

QList<Entry> entriesOf(const AttendancePrintInput& input, const MonthData& data)
{
    QList<Entry> entries;
    int present = 0;
    QList<int> classCounts(input.classLines.size(), 0);
    for (const AttendanceChild& child : input.children) {
        const fees::ChildRows* rows = data.rows.childRows(child.child);
        Entry entry;
        Line line;
        line.cells[0] = spaced(child.caption);
        line.cells[1] = line.cells[2] = line.cells[3] = QStringLiteral(" ");
        if (rows) {
            for (const fees::AttendanceRow& r : rows->attendance) {
                if (r.date != input.day)
                    continue;
                line.code = r.mark.isNull() ? QString() : QString(r.mark);
                line.cells[1] = spaced(line.code);
                line.cells[2] = spaced(timeText(r.arrival));
                line.cells[3] = spaced(timeText(r.departure));
            }
        }
        if (line.code == QLatin1String("T"))
            ++present;
        entry << line;
        for (int i = 0; i < input.classLines.size(); ++i) {
            const AttendanceClassLine& c = input.classLines[i];
            Line classLine;
            classLine.cells[0] = QStringLiteral("   ") + c.caption;
            if (rows && c.id > 0) {
                const fees::HeldClassKey key{c.group.isValid(), c.group.isValid() ? c.group.toInt() : 0, c.id};
                const auto mark = rows->heldAttendance.constFind(key);
                // A row without a mark is a presence, as the window shows it.
                if (mark != rows->heldAttendance.cend())
                    classLine.code = mark->isNull() ? QStringLiteral("T") : QString(*mark);
            }
            const bool there = classLine.code == QLatin1String("T");
            if (there)
                ++classCounts[i];
            classLine.cells[1] = spaced(classLine.code);
            classLine.cells[2] = there ? spaced(c.start) : QStringLiteral(" ");
            classLine.cells[3] = there ? spaced(c.end) : QStringLiteral(" ");
            entry << classLine;
        }
        entries << entry;
    }

    Entry totals;
    Line line;
    line.cells[0] = QStringLiteral("RAZEM");
    line.cells[1] = spaced(QString::number(present));
    totals << line;
    for (int i = 0; i < input.classLines.size(); ++i) {
        Line classLine;
        classLine.cells[0] = QStringLiteral("   ") + input.classLines[i].caption;
        classLine.cells[1] = spaced(QString::number(classCounts[i]));
        totals << classLine;
    }
    entries << totals;
    return entries;
}

// The rules of a cell row at `top`: on top (all cells, or all but the name),
// on the left of each cell and on the right of the last.
void rule(QList<report::Primitive>& out, double top, bool nameOnTop)
{
    out << report::Line{QPointF(nameOnTop ? columnX[0] : columnX[1], top), QPointF(columnX[4], top)};
    for (const double x : columnX)
        out << report::Line{QPointF(x, top), QPointF(x, top + lineHeight)};
}

report::Band captionsBand(const QString& title, double width)
{
    report::Band band;
    band.kind = report::BandKind::ColumnHeader;
    band.height = captionsTop + lineHeight;
    report::TextStyle titleStyle = textStyle(Qt::AlignHCenter);
    band.items << report::Item::label(QRectF(0, 0, width, titleHeight), title, titleStyle);
    band.items << report::Item::drawn(QRectF(0, captionsTop, 0, 0), [](const report::RunState&) {
        QList<report::Primitive> out;
        rule(out, 0, true);
        return out;
    });
    const QStringList captions{QStringLiteral(" Nazwisko i imię"), QStringLiteral(" Obecność"),
                               QStringLiteral(" Przyjście"), QStringLiteral(" Wyjście")};
    for (int c = 0; c < 4; ++c)
        band.items << report::Item::label(
            QRectF(columnX[c], captionsTop + textTop, columnX[c + 1] - columnX[c], lineHeight - textTop), captions[c],
            textStyle(c == 0 ? Qt::AlignLeft : Qt::AlignHCenter, true));
    return band;
}

}  // namespace

report::Report dayListReport(const AttendancePrintInput& input, const MonthData& data, report::Rows& rows)
{
    auto entries = std::make_shared<const QList<Entry>>(entriesOf(input, data));
    const int lastEntry = int(entries->size()) - 1;
    const int lines = 1 + int(input.classLines.size());

    report::Report report;
    report.columnHeader = captionsBand(input.title, report.bodyWidth());

    report::Band detail;
    detail.kind = report::BandKind::Detail;
    detail.height = lines * lineHeight;
    const bool colours = input.colours;
    detail.items << report::Item::drawn(QRectF(0, 0, 0, 0), [entries, lastEntry, colours](const report::RunState& s) {
        QList<report::Primitive> out;
        const Entry& entry = entries->at(s.row);
        const bool totals = s.row == lastEntry;
        for (int i = 0; i < entry.size(); ++i) {
            const double top = i * lineHeight;
            if (colours && !totals)
                out << report::Box{QRectF(columnX[1], top, columnX[2] - columnX[1], lineHeight), Qt::black, 0,
                                   attendanceCodeColour(entry[i].code)};
            rule(out, top, i == 0);
        }
        if (totals)
            out << report::Line{QPointF(columnX[0], entry.size() * lineHeight),
                                QPointF(columnX[4], entry.size() * lineHeight)};
        return out;
    });
    for (int i = 0; i < lines; ++i)
        for (int c = 0; c < 4; ++c) {
            const QRectF rect(columnX[c], i * lineHeight + textTop, columnX[c + 1] - columnX[c], lineHeight - textTop);
            detail.items << report::Item::computed(
                rect, [entries, i, c](const report::RunState& s) { return entries->at(s.row).at(i).cells[c]; },
                textStyle(Qt::AlignLeft, c == 1));
        }
    report.detail = detail;

    rows.fields = QStringList{QStringLiteral("N")};
    for (int r = 0; r <= lastEntry; ++r)
        rows.rows.append(QVariantList{r});
    return report;
}

}  // namespace printouts::attendance_print
