#pragma once
// The attendance terminal without its window: the clock's tick, the code
// box, the mode, the name search, the questions shown inside the window
// and the presses of "OK" and "Anuluj". The window (and lunawactl) call
// these and then show the state; nothing here blocks or throws: a store
// error is shown as a message inside the window.
//
//   terminal_rules   mode texts, the child code, rounding, idle switch
//   terminal_store   children, today's free day and limits, passwords
//   terminal_entry   one press of "OK" as a sequence of questions
//   terminal_log     the monthly log file

#include "terminal_entry.h"
#include "terminal_rules.h"
#include "terminal_store.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class Database;

namespace terminal {

struct TerminalSetup {
    Database* db = nullptr;
    int clientNumber = 0;
    int minuteStep = 1;  // "WPROWADZANIE MINUT"
    // The computer's clock unless a test or lunawactl gives another.
    std::function<QDateTime()> clock;
    std::function<bool(const QString&)> passwordMatches;
    QString logFolder;  // empty: no log
};

class AttendanceTerminal {
public:
    // The idle counter starts high, so that the first tick already puts
    // the mode right for the time of day.
    static constexpr int initialIdle = 900;
    static constexpr int maxIdle = 3600;
    static constexpr int questionTimeout = 10;
    static constexpr int clearAfter = 10;
    static constexpr int switchAfter = 900;

    explicit AttendanceTerminal(TerminalSetup setup);
    ~AttendanceTerminal();

    // --- events -------------------------------------------------------------
    // Every second: the clock, the idle counter, the question's timeout,
    // clearing an old code or result, the idle mode switch and a new day.
    void tick();
    // The code box as the user left it.
    void setCode(const QString& text);
    // The child picked in the name search's list.
    void chooseChild(int kod);
    void pressOk();
    void pressCancel();
    // The answer to the open question; the password typed in its box.
    void answer(Reply reply, const QString& password = {});
    void toggleMode();
    void setMode(Mode mode);
    // Any key or click in the window.
    void noteActivity() { m_idle = 0; }

    // --- state shown ----------------------------------------------------------
    QDateTime now() const { return m_now; }
    QDate today() const { return m_day.day; }
    bool freeDay() const { return m_day.freeDay; }
    Mode mode() const { return m_mode; }
    int idleSeconds() const { return m_idle; }
    const QString& code() const { return m_code; }
    // The child the code or the list names; nothing when none is shown.
    const std::optional<ChildInfo>& child() const { return m_child; }
    // The name search's list; shown while the search is allowed.
    bool listShown() const { return m_searchAllowed && !m_code.isEmpty() && !isNumber(m_code); }
    const QList<ChildInfo>& matches() const { return m_matches; }
    const QString& result() const { return m_result; }
    const Question& question() const { return m_question; }
    // Whether the last finished press of "OK" wrote the child's day.
    bool lastWritten() const { return m_lastWritten; }

private:
    enum class Asking { None, NameSearch, Entry, Message };

    QDateTime clock() const;
    void evaluateCode();
    void clearCode();
    void loadDay(QDate day);
    void ask(Asking asking, const Question& question);
    void closeQuestion();
    void apply(const EntryStep& step);
    void showError(const QString& message);
    EntryEnvironment entryEnvironment() const;

    TerminalSetup m_setup;
    QDateTime m_now;
    DayInfo m_day;
    Mode m_mode = Mode::Arrival;
    int m_idle = initialIdle;
    QString m_code;
    bool m_searchAllowed = false;
    QList<ChildInfo> m_matches;
    std::optional<ChildInfo> m_child;
    QString m_result;
    Question m_question;
    Asking m_asking = Asking::None;
    std::unique_ptr<TerminalEntry> m_entry;
    bool m_lastWritten = false;
};

}  // namespace terminal
