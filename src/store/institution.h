#pragma once
// The institution record (FIRMA), read once after login.

#include <QString>

class Database;

struct Institution {
    QString name;
    QString address;
    QString nip;
    int clientNumber = 0;

    static Institution read(Database& db);
    // The administrator's internet identifier: client number and "-0".
    QString administratorIdentifier() const { return QString::number(clientNumber) + QStringLiteral("-0"); }
};
