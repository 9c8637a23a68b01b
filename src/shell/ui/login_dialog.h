#pragma once
// "Autoryzacja": login name and password, five attempts per showing.

#include <QDialog>

class LoginFlow;
class QLineEdit;

class TDlLogin : public QDialog {
    Q_OBJECT
public:
    TDlLogin(LoginFlow& flow, QWidget* parent = nullptr);

    // Shows the dialog modally; true when a login succeeded. `endProgram`
    // is set after the fifth failure.
    bool run(bool* endProgram);
    QString userName() const;

private:
    void submit();

    LoginFlow& m_flow;
    QLineEdit* m_name;
    QLineEdit* m_password;
    bool m_end = false;
};

class PasswordChangeFlow;

// "Autoryzacja - Zmiana hasła".
class TDlPassword : public QDialog {
    Q_OBJECT
public:
    TDlPassword(PasswordChangeFlow& flow, QWidget* parent = nullptr);
    // True when the password was changed.
    bool run(const QString& userName, bool checkOld);

private:
    void submit();

    PasswordChangeFlow& m_flow;
    class QLabel* m_user;
    QLineEdit* m_old;
    QLineEdit* m_new;
    QLineEdit* m_repeat;
};
