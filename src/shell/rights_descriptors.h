#pragma once
// The rights one credential (a user's or a user group's) has on the store's
// tables, as the rights editor reads and writes them: a table level and one
// level per field, read from the table's descriptors, and a chosen level
// merged back into the credential's descriptor.

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

class Database;

namespace rights_editing {

// Whose rights: a user ('U') or a user group ('G') with its code.
struct Subject {
    QChar letter = QLatin1Char('U');
    int code = 0;

    static Subject user(int code) { return {QLatin1Char('U'), code}; }
    static Subject group(int code) { return {QLatin1Char('G'), code}; }
    // The store credential: the master one, the letter and the code.
    QString credential() const;
};

struct FieldLevel {
    QString name;
    int level = 0;  // -1 for a mask without a level
};

struct TableLevels {
    QString table;
    bool described = false;  // the credential has a descriptor on the table
    int level = 0;           // 0 without a descriptor; -1 for a mask without a level
    QList<FieldLevel> fields;  // every field of the table, in field order
};

// The levels of `credential` on `table`. Throws Error when the table is not
// one of the store's or its descriptors cannot be read.
TableLevels readLevels(Database& db, const QString& table, const QString& credential);

// Sets the credential's table level (0..5): its descriptor takes the level's
// mask, a new descriptor opens every field, and "Nic" removes the
// descriptor (on a table without one it changes nothing).
void grantTable(Database& db, const QString& table, const QString& credential, int level);

// Sets one field's level (0, 1 or 5). On a table where the credential has
// no descriptor the level is granted on the whole table, every field open.
void grantField(Database& db, const QString& table, const QString& credential, const QString& field, int level);

// What a new user or group may read from the start, so that granting
// functions is enough to let a user work: the institution and the options.
QStringList loginTables();
// Grants read rights on loginTables() where the credential has none yet.
void grantLoginTables(Database& db, const QString& credential);

}  // namespace rights_editing
