// Entering attendance in the attendance window: codes and times of a day,
// attendance at an extra class, the monthly counts, and the keys typed in
// the grid that lead to them.

#include "tdm_obecn.h"

#include "obecn_columns.h"
#include "obecn_store.h"

#include "browser/prompts.h"
#include "store/database.h"
#include "store/error.h"
#include "store/polish_dates.h"
#include "store/table.h"

#include <algorithm>

using namespace obecn;

namespace {

bool isClear(const QString& code)
{
    return code.isEmpty() || code == QLatin1String("Y") || code == QLatin1String("\b");
}

QTime timeOf(int minutes)
{
    return minutes == fees::noTime ? QTime() : QTime(minutes / 60, minutes % 60);
}

}  // namespace

void TDMObecn::enterCode(QChar code)
{
    enter(code.isNull() ? QString() : QString(code));
}

void TDMObecn::enterArrival()
{
    enter(QStringLiteral("?"), QString(), std::nullopt);
}

void TDMObecn::enterDeparture()
{
    enter(QStringLiteral("?"), std::nullopt, QString());
}

bool TDMObecn::askPermission()
{
    if (m_view.mayEdit)
        return true;
    m_view.mayEdit = context().prompts.askYesNo(editQuestion());
    return m_view.mayEdit;
}

QTime TDMObecn::now() const
{
    const QTime t = m_clock ? m_clock() : QTime::currentTime();
    int minutes = t.hour() * 60 + t.minute();
    const int step = context().params.wprowadzanieMinut;
    if (step >= 2) {
        minutes = int(std::lround(double(minutes) / step)) * step;
        // Rounding up late in the evening must not give 24:00.
        if (minutes > 23 * 60 + 59)
            minutes = (23 * 60 + 59) / step * step;
    }
    return QTime(minutes / 60, minutes % 60);
}

std::optional<QDate> TDMObecn::targetDay() const
{
    if (!m_view.monthView)
        return m_view.day;
    const int d = dayOf(m_selectedField);
    if (d < m_view.firstDay() || d > m_view.lastDay())
        return std::nullopt;
    return QDate(m_view.day.year(), m_view.day.month(), d);
}

const ClassColumn* TDMObecn::selectedClass() const
{
    if (m_view.monthView)
        return nullptr;
    const int i = classIndexOf(m_selectedField);
    return i >= 0 && i < m_data.classes.size() ? &m_data.classes[i] : nullptr;
}

void TDMObecn::enter(const QString& code, const std::optional<QString>& arrival, const std::optional<QString>& departure,
                     From from)
{
    if (!currentChild())
        return;
    const ClassColumn* cls = from == From::Grid ? selectedClass() : nullptr;
    const std::optional<QDate> day = targetDay();
    if (!cls && !day)
        return;
    if (!askPermission())
        return;
    const QDate target = cls ? m_view.day : *day;
    if (!isClear(code) && m_data.freeDays.isFree(target))
        throw Error(freeDayRefusal());
    if (cls) {
        if (code == QLatin1String("?"))
            return;  // a time means nothing for an extra class
        enterClass(*cls, isClear(code) ? QString() : code);
    } else {
        enterDay(target, isClear(code) ? QString() : code, arrival, departure);
    }
}

void TDMObecn::enterDay(QDate day, const QString& code, const std::optional<QString>& arrival,
                        const std::optional<QString>& departure)
{
    Database& db = context().db();
    Prompts& prompts = context().prompts;
    const int child = currentChild();
    const StoredDay row = readDay(db, child, day);
    const QString question = QStringLiteral("Skasować czas przyjścia i wyjścia dla ") + currentCaption() + QLatin1Char('?');

    if (code.isEmpty() && !arrival && !departure) {
        if (!row.exists)
            return;
        if (row.hasTime() && !prompts.askYesNo(question))
            return;
        deleteDay(db, child, day);
        rebuild();
        return;
    }

    const bool absent = code == QLatin1String("N") || code == QLatin1String("Z");
    if (row.exists && absent && row.hasTime() && !prompts.askYesNo(question))
        return;
    StoredDay v = row;
    if (!row.exists)
        v.code = QStringLiteral("T");  // the code a new row starts with
    bool changed = !row.exists || code != QLatin1String("?");
    if (code != QLatin1String("?"))
        v.code = code;
    QTime t;
    if (arrival && askTime(QStringLiteral("Czas przyjścia"), *arrival, row.arrival, t)) {
        v.arrival = t;
        v.code = QStringLiteral("T");
        changed = true;
        warnLimits(day, field::arrival(), t);
    }
    if (departure && askTime(QStringLiteral("Czas wyjścia"), *departure, row.departure, t)) {
        v.departure = t;
        v.code = QStringLiteral("T");
        changed = true;
        warnLimits(day, field::departure(), t);
    }
    // A time prompt cancelled on a day without a row leaves nothing behind.
    if (!row.exists && code == QLatin1String("?") && v.arrival == row.arrival && v.departure == row.departure)
        return;
    if (!changed)
        return;
    if (!arrival && !departure && absent) {
        v.arrival = QTime();
        v.departure = QTime();
    }
    if (v.arrival.isValid() && v.departure.isValid() && v.departure < v.arrival)
        throw Error(timeOrderRefusal());
    writeDay(db, child, day, v);
    rebuild();
}

bool TDMObecn::askTime(const QString& label, const QString& text, QTime current, QTime& result)
{
    const QString typed = text.trimmed();
    if (typed.compare(QLatin1String("T"), Qt::CaseInsensitive) == 0 && !current.isValid()) {
        result = now();
        return true;
    }
    QString initial;
    if (typed.size() == 1 && typed.front().isDigit())
        // The digit 1 may start 10 … 19: the prompt takes the keystroke itself.
        initial = typed == QLatin1String("1") ? typed : QStringLiteral("0%1:00").arg(typed);
    else if (current.isValid())
        initial = polish::time(current);
    else if (polish::parseTime(typed).isValid())
        initial = typed;
    else
        initial = polish::time(now());
    const QString answer = context().prompts.askTimeText(QStringLiteral("Określ"), label, initial);
    if (answer.isEmpty())
        return false;
    const QTime t = polish::parseTime(answer);
    if (!t.isValid())
        return false;
    result = QTime(t.hour(), t.minute());
    return true;
}

void TDMObecn::warnLimits(QDate day, const QString& fieldName, QTime value)
{
    const fees::TimeLimitsRow* limits = limitsOn(m_data.rows, day);
    if (!limits)
        return;
    const bool arrival = fieldName == field::arrival();
    const QString warning =
        arrival ? limitWarning(QStringLiteral("Czas przyjścia"), value, timeOf(limits->arrivalLow), timeOf(limits->arrivalHigh))
                : limitWarning(QStringLiteral("Czas wyjścia"), value, timeOf(limits->departureLow),
                               timeOf(limits->departureHigh));
    if (!warning.isEmpty())
        context().prompts.showInfo(warning);
}

void TDMObecn::enterClass(const ClassColumn& columnRef, const QString& code)
{
    const ClassColumn column = columnRef;  // the rebuild below replaces the list
    Database& db = context().db();
    const int child = currentChild();
    if (code.isEmpty()) {
        if (!column.held() || classMark(db, column.group, column.id, child).isEmpty())
            return;
        if (!context().prompts.askYesNo(QStringLiteral("Skasować obecność ") + currentCaption() + QStringLiteral(" na ")
                                        + column.caption + QLatin1Char('?')))
            return;
        deleteClassMark(db, column.group, column.id, child);
        rebuild();
        return;
    }
    const QVariant childGroup = children().table->value(QStringLiteral("KLASA"));
    const bool hasMark = column.held() && !classMark(db, column.group, column.id, child).isEmpty();
    // Refused before a held class is made for it, so nothing is left behind.
    if (!hasMark && column.group.isValid() && (!childGroup.isValid() || childGroup.toInt() != column.group.toInt()))
        throw Error(otherGroupRefusal());
    int id = column.id;
    if (!column.held()) {
        id = createHeldClass(db, column.classCode, column.group, m_view.day, timeOf(column.start), timeOf(column.end));
        if (id <= 0)
            return;
    }
    writeClassMark(db, column.group, id, child, code);
    rebuild();
}

void TDMObecn::typedCount(QChar code, QChar key)
{
    if (!askPermission())
        return;
    const int child = currentChild();
    if (!child)
        return;
    // A cell entered anew starts with its whole text selected.
    const bool fresh = !m_countEdit || m_countEdit->child != child || m_countEdit->code != code;
    QString text = fresh ? QString() : m_countEdit->text;
    if (key == QChar(u'\b')) {
        if (!fresh)
            text.chop(1);
    } else {
        text += key;
    }
    const int year = m_view.day.year();
    const int month = m_view.day.month();
    const int count = text.toInt();
    if (!text.isEmpty() && count > m_view.day.daysInMonth()) {
        m_countEdit.reset();
        throw Error(monthTooShort(month, count));
    }
    writeCount(context().db(), child, year, month, code, text.isEmpty() ? QVariant() : QVariant(count));
    rebuild();
    m_countEdit = CountEdit{child, code, text};
}

bool TDMObecn::typedKey(DataSet& ds, const QString& fieldName, QChar key)
{
    if (&ds != &children())
        return false;
    bool taken = false;
    asCommand([&] { taken = typedInGrid(ds, fieldName, key); });
    return taken;
}

bool TDMObecn::typedInGrid(DataSet& ds, const QString& fieldName, QChar key)
{
    setSelectedField(fieldName);
    const QChar count = countCodeOf(fieldName);
    if (!count.isNull()) {
        if (key != QChar(u'\b') && !key.isDigit())
            return false;
        typedCount(count, key);
        return true;
    }
    m_countEdit.reset();
    if (fieldName == field::arrival() || fieldName == field::departure()) {
        if (key != u'T' && key != u't' && !key.isDigit())
            return false;
        const QString text = key.isDigit() ? QString(key) : QStringLiteral("T");
        if (fieldName == field::arrival())
            enter(QStringLiteral("?"), text, std::nullopt, From::Grid);
        else
            enter(QStringLiteral("?"), std::nullopt, text, From::Grid);
        return true;
    }
    const FieldView* v = ds.field(fieldName);
    if (!v || v->role != roles::attendance())
        return false;
    if (key == QChar(u'\b')) {
        enter(QString(), std::nullopt, std::nullopt, From::Grid);
        return true;
    }
    const QChar up = key.toUpper();
    if (up != u'T' && up != u'N' && up != u'Z')
        return false;
    enter(QString(up), std::nullopt, std::nullopt, From::Grid);
    return true;
}
