#pragma once
// Matching an import row to a child: by PESEL, by the whole name or
// correspondence name, then by a scan comparing name prefixes (also with
// the collecting persons' names, and without diacritics for files written
// without them). An empty text never matches.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class Database;

namespace import {

struct ImportChild {
    int kod = 0;
    QString name;                // NAZWA
    QString correspondenceName;  // NAZWAKOR
    QString pesel;
    QString caption;             // as the children list shows it
    QStringList collectors;      // ODBIERA valid on the system date
    QString reference;           // digits of the "REFERENCJA" field
};

// The children list: the active children of the groups the login sees, in
// Polish order of their names.
class ChildDirectory {
public:
    // `withCollectors` reads the collecting persons valid on `today`;
    // `referenceField` (DANE1…DANE4, or empty) the children's references.
    void load(Database& db, const QStringList& visibleGroups, const QDate& today, bool withCollectors,
              const QString& referenceField = {});

    const QList<ImportChild>& children() const { return m_children; }
    const ImportChild* byKod(int kod) const;
    const ImportChild* byPesel(const QString& pesel) const;
    // For tests and callers that have the list already.
    void setChildren(QList<ImportChild> children);

private:
    void index();

    QList<ImportChild> m_children;
    QHash<int, int> m_byKod;
    QHash<QString, int> m_byPesel;  // the first child with the PESEL
};

struct ChildMatch {
    int child = 0;  // 0: none found
    bool confirm = true;
    bool inTitle = false;  // found in the transfer's title
};

struct MatchOptions {
    bool okForPesel = false;
    bool okForName = false;
    bool withoutDiacritics = false;  // code page 1
    bool withCollectors = false;
};

// The scan's comparison: upper-cased, the first L characters where L is the
// shorter length when `fileName` holds a blank, else the whole texts (up to
// 100 characters).
bool namesAgree(const QString& fileName, const QString& childText);

// By PESEL, then by `reference` (digits: the child whose reference equals
// them or is their tail, the longest such one; taken like a PESEL match),
// then by names.
ChildMatch matchChild(const ChildDirectory& children, const QString& name, const QString& pesel,
                      const MatchOptions& options, const QString& reference = {});

}  // namespace import
