#include "held_classes.h"

#include "browser/prompts.h"
#include "shell/access_rules.h"
#include "store/database.h"
#include "store/query.h"
#include "store/table.h"
#include "store/tdm_baza.h"
#include "store/values.h"

#include <QLocale>

namespace heldclasses {

namespace {

const QString kZajecie = QStringLiteral("ZAJECIE");
const QString kData = QStringLiteral("DATA");
const QString kKlasa = QStringLiteral("KLASA");
const QString kId = QStringLiteral("ID");
const QString kCzasP = QStringLiteral("CZASP");
const QString kCzasW = QStringLiteral("CZASW");

// "KLASA = :K", or "KLASA IS NULL" for the held classes without a group:
// those are numbered and referred to among themselves.
QString groupCondition(const QVariant& group)
{
    return values::isEmpty(group) ? QStringLiteral("KLASA IS NULL") : QStringLiteral("KLASA = :K");
}

void bindGroup(Query& q, const QVariant& group)
{
    if (!values::isEmpty(group))
        q.bind(QStringLiteral("K"), group);
}

Schedule scheduleOf(const Table& t)
{
    if (t.isNull(kZajecie) || t.isNull(kData))
        return {};
    return scheduleOn(t.database(), t.asInt(kZajecie), t.asDate(kData));
}

void setTime(Table& t, const QString& field, const QTime& time)
{
    if (time.isValid())
        t.setValue(field, time);
    else
        t.clear(field);
}

void applySchedule(Table& t)
{
    const Schedule s = scheduleOf(t);
    setTime(t, kCzasP, s.start);
    setTime(t, kCzasW, s.end);
}

QString className(Database& db, const QVariant& code)
{
    if (values::isEmpty(code))
        return {};
    return Query(db, QStringLiteral("SELECT NAZWA FROM ZAJDOD WHERE KOD = :Z"))
        .bind(QStringLiteral("Z"), code)
        .scalar()
        .toString();
}

QVariant classGroup(Database& db, const QVariant& code)
{
    if (values::isEmpty(code))
        return {};
    return Query(db, QStringLiteral("SELECT KLASA FROM ZAJDOD WHERE KOD = :Z")).bind(QStringLiteral("Z"), code).scalar();
}

FieldView view(const QString& name, const QString& caption, bool readOnly = false, const QString& format = QString())
{
    FieldView v = FieldView::column(name, caption, readOnly);
    v.displayFormat = format;
    return v;
}

// Each hook runs the one already installed first, then its own.
template <class Hook, class Own> Hook chained(Hook previous, Own own)
{
    if (!previous)
        return Hook(std::move(own));
    return [previous = std::move(previous), own = std::move(own)](auto&&... args) {
        previous(args...);
        own(args...);
    };
}

}  // namespace

Schedule scheduleOn(Database& db, int classCode, const QDate& date)
{
    Schedule out;
    if (!date.isValid())
        return out;
    Query q(db, QStringLiteral("SELECT ODDATY, CZASP, CZASW FROM ZAJDAT WHERE ZAJECIE = :Z AND DZIENTYG = :W "
                               "AND (ODDATY IS NULL OR ODDATY <= :D1) AND (DODATY IS NULL OR DODATY >= :D2)"));
    q.bind(QStringLiteral("Z"), classCode)
        .bind(QStringLiteral("W"), QString::number(date.dayOfWeek()))
        .bind(QStringLiteral("D1"), date)
        .bind(QStringLiteral("D2"), date)
        .exec();
    // The first in ODDATY order; a row without a first day sorts first, as
    // it does in the cursor. Ordered here so both engines agree on it.
    QDate best;
    while (q.next()) {
        const QDate from = values::toDate(q.value(0));
        const bool earlier = !out.found || (from.isValid() ? best.isValid() && from < best : best.isValid());
        if (!earlier)
            continue;
        out.found = true;
        best = from;
        out.start = values::toTime(q.value(1));
        out.end = values::toTime(q.value(2));
    }
    return out;
}

QString scheduleText(const Schedule& schedule)
{
    if (!schedule.found)
        return QStringLiteral("Nie przewidziano");
    return schedule.start.toString(TDMBaza::timeFormat()) + QStringLiteral(" - ")
        + schedule.end.toString(TDMBaza::timeFormat());
}

QString weekdayName(const QDate& date)
{
    if (!date.isValid())
        return {};
    return QLocale(QLocale::Polish).dayName(date.dayOfWeek(), QLocale::LongFormat);
}

int nextNumber(Database& db, const QVariant& group)
{
    Query q(db, QStringLiteral("SELECT MAX(ID) FROM ZAJODB WHERE ") + groupCondition(group));
    bindGroup(q, group);
    return q.scalar().toInt() + 1;
}

bool hasAttendance(Database& db, const QVariant& group, const QVariant& id)
{
    if (values::isEmpty(id))
        return false;
    Query q(db, QStringLiteral("SELECT COUNT(*) FROM ZAJOBEC WHERE ID = :I AND ") + groupCondition(group));
    q.bind(QStringLiteral("I"), id);
    bindGroup(q, group);
    return q.scalar().toInt() > 0;
}

QString groupChangeRefusal()
{
    return QStringLiteral("Nie można edytować grupy odbytych zajęć");
}

QString deletionRefusal()
{
    return QStringLiteral("Nie można skasować odbytych zajęć, ponieważ są dla nich wstawione obecności");
}

QString saveQuestion(Window window, const Schedule& schedule, const QTime& start, const QTime& end,
                     const QString& className)
{
    const QString tail = QStringLiteral("\r\nZatwierdzić mimo to?");
    const QString forClass = window == Window::Attendance ? QStringLiteral(" dla ") + className : QString();
    if (window == Window::Attendance && !schedule.found)
        return QStringLiteral("Na dany dzień nie przewidziano zajęć ") + className + tail;
    if (start != schedule.start)
        return QStringLiteral("Deklarowany czas przyjścia różny od wpisanego") + forClass + tail;
    if (end != schedule.end)
        return QStringLiteral("Deklarowany czas wyjścia różny od wpisanego") + forClass + tail;
    return {};
}

QList<FieldView> fieldViews(Window window)
{
    const QString dateFormat = QStringLiteral("dd.MM.yyyy");
    const QString timeFormat = TDMBaza::timeFormat();
    QList<FieldView> out;
    if (window == Window::Attendance)
        out << view(classNameField(), QStringLiteral("Zajęcie"));
    out << view(kData, QStringLiteral("Data"), false, dateFormat)
        << view(weekdayField(), QStringLiteral("Dzień tyg."), true)
        << view(kCzasP, QStringLiteral("Czas przyjścia"), false, timeFormat)
        << view(kCzasW, QStringLiteral("Czas wyjścia"), false, timeFormat);
    if (window == Window::Attendance)
        out << view(scheduleTextField(), QStringLiteral("Deklarowany czas"), true);
    else
        out << view(scheduledStartField(), QStringLiteral("Dekl. czas przyjścia"), true, timeFormat)
            << view(scheduledEndField(), QStringLiteral("Dekl. czas wyjścia"), true, timeFormat);
    out << view(groupNameField(), QStringLiteral("Grupa"));
    FieldView id = view(kId, QStringLiteral("Nr"), true);
    id.visible = false;
    out << id;
    return out;
}

void installRules(DataSet& heldClasses, RunContext& context, Window window)
{
    Table& t = *heldClasses.table;
    Database& db = t.database();
    RunContext* ctx = &context;

    // Names of the class and the group, limited to what the user may choose.
    auto* classes = new Table(db, QStringLiteral("ZAJDOD"), &t);
    classes->setOrdering(QStringLiteral("KOLEJ"));
    classes->setRowTest([ctx, window](const Table& c) {
        const QString group = c.text(kKlasa);
        const QString code = c.text(QStringLiteral("KOD"));
        return window == Window::Attendance
            ? permissions::extraClassInAttendance(ctx->login.functions, ctx->login.visibleGroups, group, code)
            : permissions::extraClassInRegister(ctx->login.functions, ctx->login.visibleGroups, group, code);
    });
    classes->open();
    auto* groups = new Table(db, QStringLiteral("KLASY"), &t);
    groups->setOrdering(QStringLiteral("KOLEJ"));
    groups->setRowTest(
        [ctx](const Table& g) { return permissions::groupVisible(ctx->login.visibleGroups, g.text(QStringLiteral("KOD"))); });
    groups->open();
    t.addLookupField(FieldDef::of(classNameField(), FieldType::String, 40), kZajecie, classes, QStringLiteral("KOD"),
                     QStringLiteral("NAZWA"));
    t.addLookupField(FieldDef::of(groupNameField(), FieldType::String, 30), kKlasa, groups, QStringLiteral("KOD"),
                     QStringLiteral("NAZWA"));
    t.addCalculatedField(FieldDef::of(weekdayField(), FieldType::String, 20));
    t.addCalculatedField(FieldDef::of(scheduledStartField(), FieldType::Time));
    t.addCalculatedField(FieldDef::of(scheduledEndField(), FieldType::Time));
    t.addCalculatedField(FieldDef::of(scheduleTextField(), FieldType::String, 20));
    if (heldClasses.fields.isEmpty())
        heldClasses.fields = fieldViews(window);

    Table::Events& ev = t.events();
    ev.onCalcFields = chained(ev.onCalcFields, [](Table& row) {
        const Schedule s = scheduleOf(row);
        row.setCalculated(weekdayField(), weekdayName(row.asDate(kData)));
        row.setCalculated(scheduledStartField(), s.start.isValid() ? QVariant(s.start) : QVariant());
        row.setCalculated(scheduledEndField(), s.end.isValid() ? QVariant(s.end) : QVariant());
        row.setCalculated(scheduleTextField(), scheduleText(s));
    });

    ev.onNewRecord = chained(ev.onNewRecord, [ctx, window, classes, groups](Table& row) {
        // Classes and groups added since the list was opened.
        classes->refresh();
        groups->refresh();
        if (window == Window::ExtraClasses) {
            row.setValue(kData, ctx->systemDate());
            // The class comes from the list it is a detail of; its held
            // classes are numbered within the class's group.
            const QVariant group = classGroup(row.database(), row.value(kZajecie));
            if (!values::isEmpty(group))
                row.setValue(kKlasa, group);
        }
        applySchedule(row);
    });

    ev.onFieldChange = chained(ev.onFieldChange, [](Table& row, const QString& field) {
        // Attendance rows refer to the held class by group and number.
        if (field == kKlasa && row.state() == Table::State::Edit)
            throw Error(groupChangeRefusal());
        if ((field == kZajecie || field == kData) && row.state() == Table::State::Insert)
            applySchedule(row);
    });

    ev.beforePost = chained(ev.beforePost, [ctx, window](Table& row) {
        const QString question = saveQuestion(window, scheduleOf(row), row.asTime(kCzasP), row.asTime(kCzasW),
                                              className(row.database(), row.value(kZajecie)));
        if (!question.isEmpty() && !ctx->prompts.askYesNo(question))
            throw SaveDeclined();
        // Taken at each attempt, so a save that failed does not keep a
        // number another workstation has used meanwhile.
        if (row.state() == Table::State::Insert)
            row.setValue(kId, nextNumber(row.database(), row.value(kKlasa)));
    });

    ev.beforeDelete = chained(ev.beforeDelete, [](Table& row) {
        if (hasAttendance(row.database(), row.value(kKlasa), row.value(kId)))
            throw Error(deletionRefusal());
    });

    const auto previousTest = t.rowTest();
    t.setRowTest([ctx, window, previousTest](const Table& row) {
        if (previousTest && !previousTest(row))
            return false;
        const QString group = row.text(kKlasa);
        if (window == Window::Attendance)
            return permissions::heldClassInAttendance(ctx->login.functions, ctx->login.visibleGroups, group,
                                                      row.text(kZajecie));
        return permissions::groupVisible(ctx->login.visibleGroups, group);
    });
}

}  // namespace heldclasses
