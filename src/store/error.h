#pragma once
// The one error type of the program: a refusal or failure that carries the
// exact text the user is shown.

#include <QString>
#include <stdexcept>

class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// Raised by the store when the connection's credentials grant too little.
class AccessDenied : public Error {
public:
    AccessDenied() : Error(text()) {}
    static QString text() { return QStringLiteral("Brak dostępu"); }
};
