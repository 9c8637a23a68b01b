#pragma once
// Who is logged in, held for the whole run and read by every area.

#include <QString>
#include <QStringList>

struct CurrentLogin {
    QString userName;       // empty for the service account
    int userCode = 0;       // -1 service account, 0 before the first login
    QStringList functions;  // granted function names
    QStringList visibleGroups;  // group codes as text; "-1" = all groups

    bool everLoggedIn() const { return userCode != 0; }
};
