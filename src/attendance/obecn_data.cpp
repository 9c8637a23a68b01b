#include "obecn_data.h"

#include "browser/run_context.h"
#include "fees/quantity_data_loader.h"
#include "shell/access_rules.h"
#include "store/database.h"
#include "store/polish_dates.h"
#include "store/query.h"

#include <QSet>

#include <algorithm>

namespace obecn {

QString freeDaysForCells(const QString& stored)
{
    if (stored.trimmed() == QLatin1String("-")) {
        QStringList all;
        for (int d = 1; d <= 31; ++d)
            all << QString::number(d);
        return all.join(QLatin1Char(','));
    }
    QString out;
    for (const QChar c : stored)
        if (c.isDigit() || c == QLatin1Char(','))
            out += c;
    return out;
}

QString storedFreeDays(RunContext& context, int year, int month)
{
    Query q(context.db(), QStringLiteral("SELECT DNIWOLNE FROM MIESIACE WHERE ROK = :R AND MIES = :M"));
    q.bind(QStringLiteral("R"), year).bind(QStringLiteral("M"), month).exec();
    return q.next() ? q.value(0).toString() : QString();
}

namespace {
// Dated rows by first day, an empty first day before any date.
bool earlier(QDate a, QDate b)
{
    return !a.isValid() ? b.isValid() : b.isValid() && a < b;
}
}  // namespace

const fees::AttendanceRow* dayRow(const fees::ChildRows* child, QDate day)
{
    if (!child)
        return nullptr;
    const auto it = std::lower_bound(child->attendance.cbegin(), child->attendance.cend(), day,
                                     [](const fees::AttendanceRow& r, QDate d) { return r.date < d; });
    return it != child->attendance.cend() && it->date == day ? &*it : nullptr;
}

bool declaredFor(const fees::ChildRows* child, int classCode, QDate day)
{
    if (!child)
        return false;
    const fees::ClassDeclarationRow* latest = nullptr;
    for (const fees::ClassDeclarationRow& d : child->declarations)
        if (d.classCode == classCode && (!d.from.isValid() || d.from <= day) && (!latest || !earlier(d.from, latest->from)))
            latest = &d;
    return latest && (!latest->to.isValid() || latest->to >= day);
}

fees::DeclaredTimeRow declaredOn(const fees::ChildRows* child, QDate day)
{
    fees::DeclaredTimeRow in;
    if (!child)
        return in;
    for (const fees::DeclaredTimeRow& r : child->declaredTimes)
        if (!r.from.isValid() || r.from <= day)
            in = r;  // rows are by first day: the last one not after the day
    return in;
}

const fees::TimeLimitsRow* limitsOn(const fees::QuantityData& rows, QDate day)
{
    const fees::TimeLimitsRow* in = nullptr;
    for (const fees::TimeLimitsRow& r : rows.limits)
        if (!r.from.isValid() || r.from <= day)
            in = &r;
    return in;
}

QString classCell(const ViewData& data, const ClassColumn& column, const fees::ChildRows* child,
                  const QVariant& childGroup, QDate day)
{
    Q_UNUSED(data);
    QString cell;
    const bool forChild = !column.group.isValid() || (childGroup.isValid() && childGroup.toInt() == column.group.toInt());
    if (forChild && declaredFor(child, column.classCode, day)) {
        const fees::AttendanceRow* r = dayRow(child, day);
        cell = r && r->mark == QLatin1Char('T') ? QStringLiteral("_") : QStringLiteral(".");
    }
    if (child && column.held()) {
        const auto it = child->heldAttendance.constFind(column.key());
        if (it != child->heldAttendance.cend())
            cell = it->isNull() ? QStringLiteral("T") : QString(*it);
    }
    return cell;
}

QString monthCell(const fees::AttendanceRow* row)
{
    if (!row || row->mark.isNull())
        return QString();
    if (row->mark == QLatin1Char('T') && (row->arrival == fees::noTime || row->departure == fees::noTime))
        return QStringLiteral("t");
    return QString(row->mark);
}

namespace {

QString classCaption(const QString& name, int start, int end)
{
    auto t = [](int m) { return m == fees::noTime ? QString() : polish::time(QTime(m / 60, m % 60)); };
    return name + QStringLiteral(" (") + t(start) + QStringLiteral(" - ") + t(end) + QLatin1Char(')');
}

QList<ClassColumn> dayClasses(RunContext& context, const ViewData& data, QDate day, const QList<int>& listed)
{
    const QStringList& granted = context.login.functions;
    const QStringList& groups = context.login.visibleGroups;
    QList<ClassColumn> out;
    QSet<int> heldClasses;
    for (const fees::HeldClassRow& h : data.rows.heldClasses) {
        if (h.date != day)
            continue;
        const QString group = h.key.hasGroup ? QString::number(h.key.group) : QString();
        if (!permissions::heldClassInAttendance(granted, groups, group, QString::number(h.classCode)))
            continue;
        ClassColumn c;
        c.classCode = h.classCode;
        if (h.key.hasGroup)
            c.group = h.key.group;
        c.id = h.key.id;
        c.name = data.rows.className(h.classCode);
        c.start = h.start;
        c.end = h.end;
        out << c;
        heldClasses.insert(h.classCode);
    }
    Query q(context.db(), QStringLiteral("SELECT KOD, NAZWA, KLASA FROM ZAJDOD ORDER BY KOLEJ, KOD"));
    q.exec();
    while (q.next()) {
        const int code = q.value(0).toInt();
        const QVariant group = q.value(2).isNull() ? QVariant() : QVariant(q.value(2).toInt());
        if (heldClasses.contains(code)
            || !permissions::extraClassInAttendance(granted, groups, group.isValid() ? group.toString() : QString(),
                                                    QString::number(code)))
            continue;
        const fees::TimetableRow* slot = nullptr;
        for (const fees::TimetableRow& t : data.rows.timetable)
            if (t.classCode == code && t.weekday == day.dayOfWeek() && fees::validOn(t.from, t.to, day)
                && (!slot || earlier(t.from, slot->from)))
                slot = &t;
        if (!slot)
            continue;
        const bool someoneDeclared = std::any_of(listed.cbegin(), listed.cend(), [&](int kod) {
            return declaredFor(data.child(kod), code, day);
        });
        if (!someoneDeclared)
            continue;
        ClassColumn c;
        c.classCode = code;
        c.group = group;
        c.name = q.value(1).toString();
        c.start = slot->start;
        c.end = slot->end;
        out << c;
    }
    std::stable_sort(out.begin(), out.end(), [](const ClassColumn& a, const ClassColumn& b) { return a.start < b.start; });
    for (int i = 0; i < out.size(); ++i) {
        out[i].field = QStringLiteral("ZAJ%1").arg(i + 1);
        out[i].caption = classCaption(out[i].name, out[i].start, out[i].end);
    }
    return out;
}

}  // namespace

ViewData loadViewData(RunContext& context, const ViewState& view, const QList<int>& listed, int maxClassColumns)
{
    ViewData data;
    const QDate first(view.day.year(), view.day.month(), 1);
    const QDate last(view.day.year(), view.day.month(), view.day.daysInMonth());
    data.rows = fees::loadQuantityData(context.db(), first, last, listed.size() == 1 ? listed : QList<int>{});
    data.rows.buildIndexes();
    data.freeDaysText = storedFreeDays(context, first.year(), first.month());
    data.freeDays = attendance::FreeDays(data.freeDaysText);

    // The month's counts came with the rows (OBECM of the month).
    for (const fees::ChildRows& child : std::as_const(data.rows.children))
        for (const fees::MonthlyTotalRow& m : child.monthlyTotals) {
            const auto slot = std::find(countCodes.cbegin(), countCodes.cend(), m.mark);
            if (slot != countCodes.cend() && m.hasCount && m.year == first.year() && m.month == first.month())
                data.counts[child.child][size_t(slot - countCodes.cbegin())] = m.count;
        }
    if (!view.monthView) {
        data.classes = dayClasses(context, data, view.day, listed);
        if (data.classes.size() > maxClassColumns)
            data.classes.resize(maxClassColumns);
    }
    return data;
}

}  // namespace obecn
