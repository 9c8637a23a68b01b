// The attendance window's operations over many children and days: filling
// undetermined days, copying declared times, and marking the default
// participants of an extra class. Each runs as one batch and leaves the
// children list where it was.

#include "tdm_obecn.h"

#include "obecn_columns.h"
#include "obecn_store.h"

#include "browser/message_log.h"
#include "browser/prompts.h"
#include "registers/child_caption.h"
#include "store/database.h"
#include "store/error.h"
#include "store/polish_dates.h"
#include "store/table.h"

using namespace obecn;

namespace {

QTime timeOf(int minutes)
{
    return minutes == fees::noTime ? QTime() : QTime(minutes / 60, minutes % 60);
}

// "Grupa, Nazwisko na 05.03.2024"
QString who(const Table& t, int row, QDate day)
{
    return t.valueAt(row, field::groupName()).toString() + QStringLiteral(", ") + t.valueAt(row, QStringLiteral("NAZWA")).toString()
        + QStringLiteral(" na ") + polish::shortDate(day);
}

StoredDay stored(const fees::AttendanceRow& r)
{
    StoredDay d;
    d.exists = true;
    d.code = r.mark.isNull() ? QString() : QString(r.mark);
    d.arrival = timeOf(r.arrival);
    d.departure = timeOf(r.departure);
    return d;
}

}  // namespace

template <class F> void TDMObecn::keepingPosition(F&& work)
{
    Table& t = *children().table;
    const QVariant kod = t.isEmpty() ? QVariant() : t.value(QStringLiteral("KOD"));
    auto restore = [&] {
        if (kod.isValid())
            t.locate({QStringLiteral("KOD")}, {kod});
    };
    try {
        work();
    } catch (...) {
        rebuild();
        restore();
        throw;
    }
    rebuild();
    restore();
}

QList<QDate> TDMObecn::chosenDays() const
{
    QList<QDate> days;
    if (!m_view.monthView)
        return {m_view.day};
    for (int d = m_view.firstDay(); d <= m_view.lastDay(); ++d)
        days << QDate(m_view.day.year(), m_view.day.month(), d);
    return days;
}

bool TDMObecn::confirmMonthDays(const QString& question)
{
    Prompts& p = context().prompts;
    return p.askYesNo(question)
        && p.askYesNo(QStringLiteral("Czy dni wolne danego miesiąca określone są poprawnie?\r\n") + m_data.freeDaysText);
}

void TDMObecn::fillUndetermined()
{
    enum Mode { Limits, Declared, AbsencesOnly } mode = AbsencesOnly;
    if (m_view.monthView) {
        if (!confirmMonthDays(QStringLiteral("Uzupełnić nieokreślone obecności na wszystkie wybrane dni miesiąca?")))
            return;
    } else {
        const int choice = context().prompts.askChoice(
            QStringLiteral("Wybór"), QStringLiteral("Nieokreślone czasy przyjścia/wyjścia uzupełnić wg"),
            {QStringLiteral("czasu granicznego"), QStringLiteral("czasu deklarowanego"), QStringLiteral("same nieobecności")});
        if (choice == 0)
            return;
        mode = Mode(-choice - 1);
    }
    const QList<QDate> days = chosenDays();
    MessageLog own;
    MessageLog& log = context().messages ? *context().messages : own;
    log.setTitle(QStringLiteral("Uzupełnianie nieokreślonych obecności"));
    log.resetProgress();
    log.clearMessages();
    log.show(true);
    Database& db = context().db();
    const Table& t = *children().table;
    keepingPosition([&] {
        db.batch([&] {
            for (int i = 0; i < t.rowCount(); ++i) {
                const int kod = t.valueAt(i, QStringLiteral("KOD")).toInt();
                log.step(t.rowCount(), t.valueAt(i, QStringLiteral("NAZWA")).toString());
                const fees::ChildRows* child = m_data.child(kod);
                for (const QDate& day : days) {
                    if (m_data.freeDays.isFree(day))
                        continue;
                    const fees::AttendanceRow* row = dayRow(child, day);
                    if (!row) {
                        StoredDay v;
                        v.code = QStringLiteral("N");
                        writeDay(db, kod, day, v);
                        log.addRemark(who(t, i, day) + QStringLiteral(" - nieobecny"));
                        continue;
                    }
                    const bool bothTimes = row->arrival != fees::noTime && row->departure != fees::noTime;
                    if (mode == AbsencesOnly || row->mark == QLatin1Char('N') || row->mark == QLatin1Char('Z') || bothTimes)
                        continue;
                    StoredDay v = stored(*row);
                    QTime arrival;
                    QTime departure;
                    if (mode == Declared) {
                        const fees::DeclaredTimeRow d = declaredOn(child, m_view.day);
                        arrival = timeOf(d.arrival);
                        departure = timeOf(d.departure);
                    } else if (const fees::TimeLimitsRow* l = limitsOn(m_data.rows, day)) {
                        arrival = timeOf(l->arrivalLow);
                        departure = timeOf(l->departureHigh);
                    }
                    QStringList filled;
                    if (!v.arrival.isValid() && arrival.isValid()) {
                        v.arrival = arrival;
                        filled << who(t, i, day) + QStringLiteral(" - Czas przyjścia: ") + polish::time(arrival);
                    }
                    if (!v.departure.isValid() && departure.isValid()) {
                        v.departure = departure;
                        filled << who(t, i, day) + QStringLiteral(" - Czas wyjścia: ") + polish::time(departure);
                    }
                    if (filled.isEmpty())
                        continue;
                    // A departure before the arrival is never stored.
                    if (v.arrival.isValid() && v.departure.isValid() && v.departure < v.arrival) {
                        log.addRemark(who(t, i, day) + QStringLiteral(" - ") + timeOrderRefusal());
                        continue;
                    }
                    for (const QString& line : filled)
                        log.addRemark(line);
                    writeDay(db, kod, day, v);
                }
            }
        });
    });
    log.step(0, QStringLiteral("Koniec operacji"), false);
}

void TDMObecn::copyDeclaredTimes()
{
    const Answer a = context().prompts.askYesNoClosable(QStringLiteral("Przepisać same obecności bez czasów deklarowanych?"));
    if (a == Answer::Cancel)
        return;
    const bool withTimes = a == Answer::No;
    const QString what = withTimes ? QStringLiteral("czasy deklarowane") : QStringLiteral("obecności");
    if (m_view.monthView
        && !confirmMonthDays(QStringLiteral("Przepisać ") + what + QStringLiteral(" na wszystkie wybrane dni miesiąca?")))
        return;
    const QList<QDate> days = chosenDays();
    Database& db = context().db();
    const Table& t = *children().table;
    QStringList skipped;
    keepingPosition([&] {
        db.batch([&] {
            for (int i = 0; i < t.rowCount(); ++i) {
                const int kod = t.valueAt(i, QStringLiteral("KOD")).toInt();
                const fees::ChildRows* child = m_data.child(kod);
                for (const QDate& day : days) {
                    if (m_data.freeDays.isFree(day))
                        continue;
                    const fees::AttendanceRow* row = dayRow(child, day);
                    if (row && (row->mark == QLatin1Char('N') || row->mark == QLatin1Char('Z')))
                        continue;
                    StoredDay v = row ? stored(*row) : StoredDay{};
                    const StoredDay before = v;
                    v.code = QStringLiteral("T");
                    if (withTimes) {
                        const fees::DeclaredTimeRow d = declaredOn(child, day);
                        if (!v.arrival.isValid())
                            v.arrival = timeOf(d.arrival);
                        if (!v.departure.isValid())
                            v.departure = timeOf(d.departure);
                    }
                    if (v.arrival.isValid() && v.departure.isValid() && v.departure < v.arrival) {
                        skipped << who(t, i, day) + QStringLiteral(" - ") + timeOrderRefusal();
                        continue;
                    }
                    if (row && before.code == v.code && before.arrival == v.arrival && before.departure == v.departure)
                        continue;
                    writeDay(db, kod, day, v);
                }
            }
        });
    });
    if (!skipped.isEmpty() && context().messages) {
        MessageLog& log = *context().messages;
        log.clearMessages();
        for (const QString& s : skipped)
            log.addRemark(s);
        log.showRemarksOnly();
    } else if (!skipped.isEmpty()) {
        context().prompts.showInfo(skipped.join(QStringLiteral("\r\n")));
    }
}

void TDMObecn::defaultParticipants()
{
    const ClassColumn* target = selectedClass();
    if (!target)
        throw Error(noClassColumn());
    const ClassColumn column = *target;
    const Answer a = context().prompts.askYesNoClosable(QStringLiteral("Tylko dla obecnych?"));
    if (a == Answer::Cancel)
        return;
    const Table& t = *children().table;
    QList<PickEntry> candidates;
    for (int i = 0; i < t.rowCount(); ++i) {
        const int kod = t.valueAt(i, QStringLiteral("KOD")).toInt();
        const QString cell = classCell(m_data, column, m_data.child(kod), t.valueAt(i, QStringLiteral("KLASA")), m_view.day);
        if (cell == QLatin1String("_") || cell == QLatin1String("T") || (a == Answer::No && cell == QLatin1String(".")))
            candidates << PickEntry{childCaption(t.valueAt(i, QStringLiteral("NAZWA")).toString(),
                                                 t.valueAt(i, QStringLiteral("ULICA")).toString(),
                                                 t.valueAt(i, QStringLiteral("PESEL")).toString()),
                                    kod};
    }
    if (candidates.isEmpty()) {
        context().prompts.showInfo(QStringLiteral("Brak zadeklarowanych dzieci na ") + column.caption
                                   + (a == Answer::Yes ? QStringLiteral(" wśród obecnych") : QString()));
        return;
    }
    if (!context().prompts.pickChecks(QStringLiteral("Obecni na zajęciach: ") + column.caption, candidates,
                                      int(candidates.size())))
        return;
    Database& db = context().db();
    keepingPosition([&] {
        db.batch([&] {
            int id = column.id;
            if (!column.held())
                id = createHeldClass(db, column.classCode, column.group, m_view.day, timeOf(column.start),
                                     timeOf(column.end));
            if (id <= 0)
                return;
            for (const PickEntry& e : candidates)
                if (classMark(db, column.group, id, e.value.toInt()).isEmpty())
                    writeClassMark(db, column.group, id, e.value.toInt(), QStringLiteral("T"));
        });
    });
}
