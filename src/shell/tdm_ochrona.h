#pragma once
// The security module: the login check against the users table, logout,
// and the change of a password. The store connection's credential list is
// what a login leaves behind; the rights of the store follow from it.

#include "current_login.h"

#include <QString>

class Database;

class TDMOchrona {
public:
    explicit TDMOchrona(Database& db) : m_db(db) {}

    static QString serviceLogin() { return QStringLiteral("kqvzat"); }
    // The administrator account every new store is delivered with.
    static QString deliveredLogin() { return QStringLiteral("admin"); }
    static QString deliveredPassword() { return QStringLiteral("tebov"); }
    // The delivered administrator still opens with the delivered password
    // (read whatever the current user's rights on the users table).
    bool deliveredPasswordKept();

    // On success the current login is replaced and the connection holds the
    // user's and his groups' credentials (the service account keeps the
    // master one); on failure the connection holds none.
    bool login(const QString& name, const QString& password);
    // Empties the credential list; the login values stay.
    void logout();

    enum class PasswordChange { Changed, NoSuchUser, WrongOldPassword };
    // "Błędne stare hasło" is the caller's to show for WrongOldPassword.
    PasswordChange changePassword(const QString& name, const QString& oldPassword, const QString& newPassword,
                                  bool checkOld);

    const CurrentLogin& current() const { return m_current; }
    Database& database() { return m_db; }

private:
    Database& m_db;
    CurrentLogin m_current;
};
