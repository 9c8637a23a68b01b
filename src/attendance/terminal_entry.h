#pragma once
// One press of "OK" at the terminal for a known child: the free-day
// question, a time already set (password, or "Usuń"), an absence already
// recorded, a departure without arrival, the limits, the order of the two
// times, the save and the result text. It stops at every question and goes
// on with the answer; nothing is written before the last step, so every
// refusal leaves the child's day as it was. A store error ends the entry
// with its message and the code kept for another try.

#include "attendance/obecn_store.h"
#include "terminal_rules.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <functional>

class Database;

namespace terminal {

struct EntryEnvironment {
    Database& db;
    int minuteStep = 1;  // "WPROWADZANIE MINUT"
    std::function<QDateTime()> clock;
    std::function<bool(const QString&)> passwordMatches;
};

// Where an entry is after a step: a question to answer, or finished.
struct EntryStep {
    Question question;       // open: resume with the answer
    QString result;          // the result label when finished; empty when nothing changed
    bool clearCode = false;  // the entry is done with the code
    bool written = false;    // the child's day was saved

    bool finished() const { return !question.isOpen(); }
};

class TerminalEntry {
public:
    TerminalEntry(const EntryEnvironment& env, int child, Mode mode, QDate day, bool freeDay);

    EntryStep start();
    EntryStep resume(Reply reply, const QString& password);

private:
    enum class Stage { None, FreeDay, Change, Absence, NoArrival, Limits, Message };

    EntryStep guarded(const std::function<EntryStep()>& step);
    EntryStep ask(Stage stage, Question question);
    EntryStep stop(const QString& message);
    EntryStep readRow();
    EntryStep setTime();
    EntryStep checkLimits();
    EntryStep save();
    EntryStep removeTime();

    QTime& target();

    EntryEnvironment m_env;
    int m_child;
    Mode m_mode;
    QDate m_day;
    bool m_freeDay;
    Stage m_stage = Stage::None;
    obecn::StoredDay m_row;
};

}  // namespace terminal
