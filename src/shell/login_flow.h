#pragma once
// What the login and change-of-password dialogs do with what was typed:
// attempt counters and messages, without the widgets.

#include <QString>

#include <functional>

class Prompts;
class TDMOchrona;

class LoginFlow {
public:
    LoginFlow(TDMOchrona& security, Prompts& prompts) : m_security(security), m_prompts(prompts) {}

    enum class Outcome { Accepted, TryAgain, EndProgram };

    void start() { m_attempts = 5; }  // every showing of the dialog
    // What must happen before anything typed reaches the store (opening
    // it: the dialog may be on the screen before the store is). Run once
    // it succeeds; an Error it throws is shown.
    void setPreparation(std::function<void()> prepare) { m_prepare = std::move(prepare); }
    // False when the preparation failed: the error was shown and the
    // program must end.
    bool prepare();
    Outcome submit(const QString& name, const QString& password);
    void abandon();  // "Porzuć": the connection keeps no credentials
    int attemptsLeft() const { return m_attempts; }

private:
    TDMOchrona& m_security;
    Prompts& m_prompts;
    int m_attempts = 5;
    std::function<void()> m_prepare;
};

class PasswordChangeFlow {
public:
    PasswordChangeFlow(TDMOchrona& security, Prompts& prompts) : m_security(security), m_prompts(prompts) {}

    // Closed: changed. ClearNew: only the two new fields are emptied.
    // ClearAll: all three fields are emptied. Aborted: five failures.
    enum class Outcome { Closed, ClearNew, ClearAll, Aborted };

    void start(const QString& userName, bool checkOld);
    Outcome submit(const QString& oldPassword, const QString& password, const QString& repeated);
    const QString& userName() const { return m_user; }
    bool checksOld() const { return m_checkOld; }

private:
    TDMOchrona& m_security;
    Prompts& m_prompts;
    QString m_user;
    bool m_checkOld = true;
    int m_attempts = 5;
};
