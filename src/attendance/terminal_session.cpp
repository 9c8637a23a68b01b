#include "terminal_session.h"

#include "terminal_log.h"

#include "store/error.h"

namespace terminal {

AttendanceTerminal::AttendanceTerminal(TerminalSetup setup) : m_setup(std::move(setup))
{
    prepareLogFolder(m_setup.logFolder);
}

AttendanceTerminal::~AttendanceTerminal() = default;

QDateTime AttendanceTerminal::clock() const
{
    return m_setup.clock ? m_setup.clock() : QDateTime::currentDateTime();
}

EntryEnvironment AttendanceTerminal::entryEnvironment() const
{
    return {*m_setup.db, m_setup.minuteStep, [this] { return clock(); }, m_setup.passwordMatches};
}

void AttendanceTerminal::loadDay(QDate day)
{
    try {
        m_day = readDayInfo(*m_setup.db, day);
    } catch (const Error& e) {
        m_day = DayInfo{day, false, {}};
        showError(e.message());
    }
}

void AttendanceTerminal::tick()
{
    m_now = clock();
    if (m_idle < maxIdle)
        ++m_idle;
    if (m_question.isOpen()) {
        if (m_idle > questionTimeout)
            answer(Reply::Cancel);
    } else if (m_idle > clearAfter) {
        if (!m_code.isEmpty()) {
            clearCode();
        } else if (!m_result.isEmpty()) {
            m_result.clear();
            evaluateCode();
        }
    }
    // A new day first, so that the switch below goes by today's limits.
    if (m_now.date() != m_day.day)
        loadDay(m_now.date());
    if (m_idle > switchAfter) {
        if (const std::optional<Mode> next = idleSwitch(m_mode, m_now.time(), m_day.limits)) {
            m_mode = *next;
            m_idle = 0;
        }
    }
}

void AttendanceTerminal::setCode(const QString& text)
{
    if (m_question.isOpen())
        return;
    m_idle = 0;
    m_result.clear();
    m_code = text;
    evaluateCode();
}

void AttendanceTerminal::evaluateCode()
{
    m_child.reset();
    m_matches.clear();
    if (m_code.isEmpty()) {
        m_searchAllowed = false;
        return;
    }
    try {
        if (isNumber(m_code)) {
            if (const int kod = childKod(m_code, m_setup.clientNumber))
                m_child = findChild(*m_setup.db, kod);
            return;
        }
        if (!m_searchAllowed) {
            Question q{texts::nameSearchPassword()};
            q.password = true;
            ask(Asking::NameSearch, q);
            return;
        }
        m_matches = childrenNamed(*m_setup.db, m_code);
        if (!m_matches.isEmpty())
            m_child = m_matches.first();
    } catch (const Error& e) {
        showError(e.message());
    }
}

void AttendanceTerminal::chooseChild(int kod)
{
    if (m_question.isOpen())
        return;
    m_idle = 0;
    for (const ChildInfo& c : m_matches)
        if (c.kod == kod)
            m_child = c;
}

void AttendanceTerminal::clearCode()
{
    m_code.clear();
    evaluateCode();
}

void AttendanceTerminal::ask(Asking asking, const Question& question)
{
    m_asking = asking;
    m_question = question;
    m_idle = 0;  // the question's own ten seconds
}

void AttendanceTerminal::closeQuestion()
{
    m_asking = Asking::None;
    m_question = {};
}

void AttendanceTerminal::showError(const QString& message)
{
    m_entry.reset();
    ask(Asking::Message, Question::message(message));
}

void AttendanceTerminal::pressOk()
{
    if (m_question.isOpen())
        return;
    m_idle = 0;
    m_lastWritten = false;
    if (!m_child || m_child->kod < 1) {
        ask(Asking::Message, Question::message(texts::noChild()));
        return;
    }
    const QDateTime moment = clock();
    appendLog(m_setup.logFolder, moment, m_code);
    // The entry belongs to the day of the press, even if it is answered
    // after midnight.
    const QDate day = moment.date();
    if (day != m_day.day)
        loadDay(day);
    m_entry = std::make_unique<TerminalEntry>(entryEnvironment(), m_child->kod, m_mode, day, m_day.freeDay);
    apply(m_entry->start());
}

void AttendanceTerminal::apply(const EntryStep& step)
{
    if (!step.finished()) {
        ask(Asking::Entry, step.question);
        return;
    }
    closeQuestion();
    m_entry.reset();
    m_lastWritten = step.written;
    if (!step.result.isEmpty())
        m_result = step.result;
    if (step.clearCode)
        clearCode();
}

void AttendanceTerminal::answer(Reply reply, const QString& password)
{
    if (!m_question.isOpen())
        return;
    m_idle = 0;
    switch (m_asking) {
    case Asking::Entry:
        if (m_entry) {
            apply(m_entry->resume(reply, password));
            return;
        }
        break;
    case Asking::NameSearch:
        closeQuestion();
        if (reply != Reply::Cancel) {
            try {
                m_searchAllowed = m_setup.passwordMatches && m_setup.passwordMatches(password);
            } catch (const Error& e) {
                showError(e.message());
                return;
            }
            if (m_searchAllowed)
                evaluateCode();
        }
        return;
    default:
        break;
    }
    closeQuestion();
    m_entry.reset();
}

void AttendanceTerminal::pressCancel()
{
    if (m_question.isOpen()) {
        answer(Reply::Cancel);
        return;
    }
    m_idle = 0;
    if (!m_code.isEmpty()) {
        clearCode();
    } else {
        m_result.clear();
        evaluateCode();
    }
}

void AttendanceTerminal::toggleMode()
{
    setMode(other(m_mode));
}

void AttendanceTerminal::setMode(Mode mode)
{
    m_idle = 0;
    m_mode = mode;
}

}  // namespace terminal
