#include "obecn_columns.h"

#include "browser/module.h"
#include "fees/attendance_quantities.h"
#include "store/params.h"
#include "store/polish_dates.h"
#include "store/table.h"

namespace obecn {

namespace field {
QString count(QChar code)
{
    return QStringLiteral("ILE") + code;
}
QString day(int number)
{
    return QStringLiteral("D%1").arg(number);
}
QString extraClass(int number)
{
    return QStringLiteral("ZAJ%1").arg(number);
}
}  // namespace field

QChar countCodeOf(const QString& f)
{
    for (const QChar c : countCodes)
        if (f.compare(field::count(c), Qt::CaseInsensitive) == 0)
            return c;
    return {};
}

int dayOf(const QString& f)
{
    if (f.size() < 2 || f.size() > 3 || f.front().toUpper() != QLatin1Char('D'))
        return 0;
    bool ok = false;
    const int d = f.mid(1).toInt(&ok);
    return ok && d >= 1 && d <= 31 ? d : 0;
}

int classIndexOf(const QString& f)
{
    if (!f.startsWith(QLatin1String("ZAJ"), Qt::CaseInsensitive))
        return -1;
    bool ok = false;
    const int n = f.mid(3).toInt(&ok);
    return ok && n >= 1 && n <= kClassColumns ? n - 1 : -1;
}

namespace {

FieldView view(const QString& name, const QString& caption, const QString& role = QString(), bool visible = true)
{
    FieldView v = FieldView::column(name, caption, true);
    v.role = role;
    v.visible = visible;
    return v;
}

QString timeText(int minutes)
{
    return minutes == fees::noTime ? QString() : polish::time(QTime(minutes / 60, minutes % 60));
}

QTime timeOf(int minutes)
{
    return minutes == fees::noTime ? QTime() : QTime(minutes / 60, minutes % 60);
}

}  // namespace

void declareColumns(DataSet& children, Table& groups, const Parameters& params, bool singleChild)
{
    Table& t = *children.table;
    t.addCalculatedField(FieldDef::of(field::freeDays(), FieldType::String, 100));
    t.addLookupField(FieldDef::of(field::groupName(), FieldType::String, 30), QStringLiteral("KLASA"), &groups,
                     QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    for (const QChar c : countCodes)
        t.addCalculatedField(FieldDef::of(field::count(c), FieldType::Integer, 0));
    t.addCalculatedField(FieldDef::of(field::declared(), FieldType::String, 20));
    t.addCalculatedField(FieldDef::of(field::code(), FieldType::String, 1));
    t.addCalculatedField(FieldDef::of(field::arrival(), FieldType::Time, 0));
    t.addCalculatedField(FieldDef::of(field::departure(), FieldType::Time, 0));
    t.addCalculatedField(FieldDef::of(field::paid(), FieldType::String, 10));
    t.addCalculatedField(FieldDef::of(field::paidLessClasses(), FieldType::String, 10));
    for (int d = 1; d <= 31; ++d)
        t.addCalculatedField(FieldDef::of(field::day(d), FieldType::String, 1));
    for (int i = 1; i <= kClassColumns; ++i)
        t.addCalculatedField(FieldDef::of(field::extraClass(i), FieldType::String, 1));

    const bool stored = !singleChild;
    QList<FieldView>& f = children.fields;
    for (int i = 0; i < 4; ++i)
        f << view(QStringLiteral("DANE%1").arg(i + 1), params.dzieciDane[i], QString(),
                  stored && !params.dzieciDane[i].isEmpty());
    f << view(QStringLiteral("NAZWA"), QStringLiteral("Nazwisko i imię"), roles::search(), stored)
      << view(QStringLiteral("ULICA"), QStringLiteral("Ulica"), QString(), stored)
      << view(QStringLiteral("PESEL"), QStringLiteral("PESEL"), roles::search(), stored)
      << view(field::groupName(), QStringLiteral("Grupa"), roles::filter(), stored);
    f << view(field::count(u'T'), QStringLiteral("Ile obecn."), roles::count())
      << view(field::count(u'N'), QStringLiteral("Ile nieobecn."), roles::count())
      << view(field::count(u'Z'), QStringLiteral("Ile zgł. nieob."), roles::count())
      << view(field::declared(), QStringLiteral("Czas deklarowany"))
      << view(field::code(), QStringLiteral("Obecność"), roles::attendance())
      << view(field::arrival(), QStringLiteral("Czas przyjścia"), roles::arrival())
      << view(field::departure(), QStringLiteral("Czas wyjścia"), roles::departure())
      << view(field::paid(), QStringLiteral("Czas płatny"));
    for (int d = 1; d <= 31; ++d)
        f << view(field::day(d), QString::number(d), roles::attendance(), false);
    for (int i = 1; i <= kClassColumns; ++i)
        f << view(field::extraClass(i), QString(), roles::attendance(), false);
    f << view(field::paidLessClasses(), QStringLiteral("Czas pł.-zaj.dod."));
    for (FieldView& v : f)
        if (v.name == field::arrival() || v.name == field::departure() || v.name == field::paid()
            || v.name == field::paidLessClasses() || countCodeOf(v.name) != QChar())
            v.alignment = Qt::AlignRight;
        else if (v.role == roles::attendance())
            v.alignment = Qt::AlignHCenter;
    f << view(field::freeDays(), QStringLiteral("Dni wolne"), QString(), false);
    // The child's other stored fields stay out of sight.
    const qsizetype listed = f.size();
    children.addRemainingFields();
    for (qsizetype i = listed; i < f.size(); ++i)
        f[i].visible = false;
    for (FieldView& v : f)
        v.readOnly = true;
}

void applyView(DataSet& children, const ViewState& view, const ViewData& data, bool summary)
{
    const bool day = !view.monthView;
    for (const QChar c : countCodes)
        children.field(field::count(c))->visible = summary;
    children.field(field::declared())->visible = day;
    FieldView* code = children.field(field::code());
    code->visible = day;
    code->caption = codeColumnCaption(view.day);
    children.field(field::arrival())->visible = day;
    children.field(field::departure())->visible = day;
    for (int d = 1; d <= 31; ++d) {
        FieldView* v = children.field(field::day(d));
        v->visible = !day && d >= view.from && d <= view.to && d <= view.day.daysInMonth();
        if (d <= view.day.daysInMonth())
            v->caption = dayColumnCaption(QDate(view.day.year(), view.day.month(), d));
    }
    for (int i = 0; i < kClassColumns; ++i) {
        FieldView* v = children.field(field::extraClass(i + 1));
        const bool used = day && i < data.classes.size();
        v->visible = used;
        v->caption = used ? data.classes[i].caption : QString();
    }
}

void computeRow(Table& t, const ViewState& view, const ViewData& data, int chargeStep)
{
    const int kod = t.asInt(QStringLiteral("KOD"));
    const fees::ChildRows* child = data.child(kod);
    t.setCalculated(field::freeDays(), freeDaysForCells(data.freeDaysText));
    const auto counts = data.counts.value(kod);
    for (size_t i = 0; i < countCodes.size(); ++i)
        t.setCalculated(field::count(countCodes[i]), counts[i]);

    fees::DataProblems problems;  // the window shows times, not data reports
    const fees::ChildRows none;
    const fees::ChildRows& rows = child ? *child : none;
    int paid = 0;
    int paidLess = 0;
    bool anyPaid = false;
    auto addDay = [&](const fees::AttendanceRow* r) {
        if (!r || r->mark != QLatin1Char('T') || r->arrival == fees::noTime || r->departure == fees::noTime)
            return;
        const fees::DayPaidTime p = fees::dayPaidTime(data.rows, rows, *r, chargeStep, problems);
        paid += p.minutes;
        paidLess += p.lessClasses;
        anyPaid = true;
    };

    if (!view.monthView) {
        const fees::AttendanceRow* r = dayRow(child, view.day);
        t.setCalculated(field::code(), r && !r->mark.isNull() ? QString(r->mark) : QString());
        t.setCalculated(field::arrival(), r ? timeOf(r->arrival) : QTime());
        t.setCalculated(field::departure(), r ? timeOf(r->departure) : QTime());
        const fees::DeclaredTimeRow decl = declaredOn(child, view.day);
        t.setCalculated(field::declared(), timeText(decl.arrival) + QStringLiteral(" - ") + timeText(decl.departure));
        addDay(r);
        const QVariant group = t.value(QStringLiteral("KLASA"));
        for (int i = 0; i < data.classes.size(); ++i)
            t.setCalculated(field::extraClass(i + 1), classCell(data, data.classes[i], child, group, view.day));
    } else {
        for (int d = view.firstDay(); d <= view.lastDay(); ++d) {
            const fees::AttendanceRow* r = dayRow(child, QDate(view.day.year(), view.day.month(), d));
            t.setCalculated(field::day(d), monthCell(r));
            addDay(r);
        }
    }
    t.setCalculated(field::paid(), anyPaid ? hoursText(paid) : QString());
    t.setCalculated(field::paidLessClasses(), anyPaid ? hoursText(paidLess) : QString());
}

}  // namespace obecn
