#pragma once
// What a store credential grants: rights descriptors per table (sequence,
// credential, table mask, family mask, one mask per field), kept in the
// system table LW_PRAWA, and the union of them for a credential list.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class Database;

namespace rights {

enum Mask : int {
    None = 0,
    Read = 1,
    Modify = 2,
    Insert = 4,
    Delete = 8,
    Restructure = 16,
    All = 31,
};

// The system table; never listed among the store's tables.
inline QString systemTable() { return QStringLiteral("LW_PRAWA"); }

// The master credential opens everything.
inline QString masterCredential() { return QStringLiteral("wolpemix"); }
inline QString userCredential(int userCode) { return masterCredential() + QLatin1Char('U') + QString::number(userCode); }
inline QString groupCredential(int groupCode) { return masterCredential() + QLatin1Char('G') + QString::number(groupCode); }

// Rights levels 0..5 of the editor and their masks.
int tableMaskOfLevel(int level);  // 0,1,3,7,15,31; 255 outside 0..5
int fieldMaskOfLevel(int level);  // 0 -> 0, 1 -> 1, 5 -> 31; 255 otherwise
int levelOfTableMask(int mask);   // -1 when the mask has no level
int levelOfFieldMask(int mask);

}  // namespace rights

struct RightsDescriptor {
    int sequence = 0;
    QString credential;
    int tableRights = 0;
    int familyRights = 0;
    QList<int> fieldRights;  // in the table's field order
};

// The effective rights of a connection on one table.
struct TableRights {
    bool everything = false;  // the master credential is listed
    int table = 0;
    QHash<QString, int> fields;  // upper-case field name -> mask; missing = All

    bool can(int mask) const { return everything || (table & mask) == mask; }
    int field(const QString& name) const;
    bool canRead(const QString& fieldName) const { return can(rights::Read) && (field(fieldName) & rights::Read); }
    bool canWrite(const QString& fieldName) const { return can(rights::Modify) && (field(fieldName) & rights::Modify); }
};

namespace rights {

// Descriptors of one table, in sequence order. Needs no rights.
QList<RightsDescriptor> readDescriptors(Database& db, const QString& table);

// Merges `given` into the table's descriptors: a given descriptor replaces
// the one carrying the same credential, or removes it when its table
// rights are 0; unmatched ones with rights are added after the last
// sequence number. Refused with "Brak dostępu" unless the master credential
// is given as `master`.
void writeDescriptors(Database& db, const QString& table, const QString& master,
                      const QList<RightsDescriptor>& given);

// The rights of a credential list over every table. The rule: several
// credentials on one table (a user's own and each of his groups') combine
// into the union of what each grants. A credential grants on a field what
// its descriptor grants on both the table and the field, so the field masks
// are the union of those intersections, and the table mask the union of the
// table masks. A table none of them describes is closed. The master
// credential opens everything (Database::tableRights).
QHash<QString, TableRights> effectiveRights(Database& db, const QStringList& credentials);

}  // namespace rights
