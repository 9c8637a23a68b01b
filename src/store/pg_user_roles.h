#pragma once
// PostgreSQL login roles that hold exactly one user's rights: table and
// column privileges mirroring the rights descriptors of the user's
// credentials. Free SQL of a user other than master runs logged in as such a
// role, so the server itself refuses what the user may not do. Roles are
// cluster-wide: each store names its own ("lw_<store hash>_u<user code>").
// All of this runs on the program's own (shared) connection, which needs
// the CREATEROLE attribute and ownership of the store's tables.

#include <QString>
#include <QStringList>

class Database;

namespace pg_roles {

// The role of `userCode` in the store `db` is connected to.
QString roleName(Database& db, int userCode);

// The user code of a non-master credential list (its one U credential), or
// -1 when it has none or several.
int userCodeOf(const QStringList& credentials);

// Serialises role changes of one store across workstations; held from
// the preparing of a role until its connection has logged in, so nobody
// changes the one-time password in between.
class ChangeLock {
public:
    explicit ChangeLock(Database& db);
    ~ChangeLock();
    ChangeLock(const ChangeLock&) = delete;
    ChangeLock& operator=(const ChangeLock&) = delete;

private:
    Database& m_db;
};

// Makes or refreshes the role of the connection's credentials (not master):
// attributes, privileges mirroring the descriptors, no CREATE anywhere,
// and a new random password, which is returned. Throws AccessDenied when
// the role cannot be made to hold exactly those rights.
QString prepareLogin(Database& db);

// Brings every existing role of the store in line with the descriptors
// (after they changed). Needs the master connection.
void refreshRoles(Database& db);

// Drops every role of the store (with what they own in it).
void dropRoles(Database& db);

}  // namespace pg_roles
