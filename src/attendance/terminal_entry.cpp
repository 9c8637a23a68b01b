#include "terminal_entry.h"

#include "terminal_store.h"

#include "store/error.h"

namespace terminal {

TerminalEntry::TerminalEntry(const EntryEnvironment& env, int child, Mode mode, QDate day, bool freeDay)
    : m_env(env), m_child(child), m_mode(mode), m_day(day), m_freeDay(freeDay)
{
}

QTime& TerminalEntry::target()
{
    return m_mode == Mode::Arrival ? m_row.arrival : m_row.departure;
}

EntryStep TerminalEntry::guarded(const std::function<EntryStep()>& step)
{
    try {
        return step();
    } catch (const Error& e) {
        // The code stays in the box, so the same card can be tried again.
        return stop(e.message());
    }
}

EntryStep TerminalEntry::ask(Stage stage, Question question)
{
    m_stage = stage;
    EntryStep s;
    s.question = std::move(question);
    return s;
}

EntryStep TerminalEntry::stop(const QString& message)
{
    return ask(Stage::Message, Question::message(message));
}

EntryStep TerminalEntry::start()
{
    if (m_freeDay)
        return ask(Stage::FreeDay, {texts::freeDayQuestion()});
    return guarded([this] { return readRow(); });
}

EntryStep TerminalEntry::resume(Reply reply, const QString& password)
{
    const Stage stage = m_stage;
    m_stage = Stage::None;
    if (stage == Stage::None || stage == Stage::Message || reply == Reply::Cancel)
        return {};
    return guarded([&]() -> EntryStep {
        switch (stage) {
        case Stage::FreeDay:
            return readRow();
        case Stage::Change:
        case Stage::Absence:
            if (!m_env.passwordMatches || !m_env.passwordMatches(password))
                return stop(texts::wrongPassword());
            if (stage == Stage::Change && reply == Reply::Delete)
                return removeTime();
            return setTime();
        case Stage::NoArrival:
            return checkLimits();
        case Stage::Limits:
            return save();
        default:
            return {};
        }
    });
}

EntryStep TerminalEntry::readRow()
{
    m_row = obecn::readDay(m_env.db, m_child, m_day);
    if (target().isValid()) {
        Question q{texts::alreadySet(m_mode)};
        q.remove = true;
        q.password = true;
        return ask(Stage::Change, q);
    }
    if (m_row.code == QLatin1String("N") || m_row.code == QLatin1String("Z")) {
        Question q{texts::absenceSet()};
        q.password = true;
        return ask(Stage::Absence, q);
    }
    return setTime();
}

EntryStep TerminalEntry::removeTime()
{
    target() = QTime();
    obecn::writeDay(m_env.db, m_child, m_day, m_row);
    EntryStep s;
    s.result = texts::cleared(m_mode);
    s.clearCode = true;
    s.written = true;
    return s;
}

EntryStep TerminalEntry::setTime()
{
    const QDateTime now = m_env.clock ? m_env.clock() : QDateTime::currentDateTime();
    target() = roundedTime(now.time(), m_env.minuteStep);
    m_row.code = QStringLiteral("T");
    if (m_mode == Mode::Departure && !m_row.arrival.isValid())
        return ask(Stage::NoArrival, {texts::noArrival()});
    return checkLimits();
}

EntryStep TerminalEntry::checkLimits()
{
    const stay_limits::Limits limits = stay_limits::inForce(m_env.db, fieldName(m_mode), m_day);
    const QString warning = stay_limits::warning(fieldLabel(m_mode), target(), limits);
    if (!warning.isEmpty())
        return ask(Stage::Limits, {warning});
    return save();
}

EntryStep TerminalEntry::save()
{
    if (m_row.arrival.isValid() && m_row.departure.isValid() && m_row.departure < m_row.arrival)
        return stop(texts::order());
    obecn::writeDay(m_env.db, m_child, m_day, m_row);
    const DeclaredTime declared = declaredOn(m_env.db, m_child, m_day);
    const QTime declaredSide = m_mode == Mode::Arrival ? declared.arrival : declared.departure;
    EntryStep s;
    s.result = texts::stored(m_mode, target(), declaredLine(m_mode, target(), declaredSide));
    s.clearCode = true;
    s.written = true;
    return s;
}

}  // namespace terminal
