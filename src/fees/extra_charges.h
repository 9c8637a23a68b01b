#pragma once
// Extra charges: one-off amounts announced for a group (NALKLA) and each
// child's part in them (NALDOD: paid, absent or not yet recorded). They
// stand apart from the monthly settlement. A charge without a group
// ("Brak") applies to every child; the row with no group and number 0 is a
// child's overpayment, tied to no charge.

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

class Database;

namespace extra {

struct Charge {
    QVariant group;  // KLASA; null for "Brak"
    int code = 0;    // KOD within the group
    QDate date;
    QString shortName;
    double amount = 0;

    QString groupText() const { return group.isNull() ? QString() : group.toString(); }
    // SKROT + " (" + KWOTA as #0.00 + ")"
    QString label() const;
    bool appliesTo(const QVariant& childGroup) const;
};

// The overpayment column's row: no group, number 0.
Charge overpayment();

// A child's row of one charge.
struct Payment {
    QVariant amount;  // WPLATA; null: absent
    QString description;
};

// Every recorded row, by child and then by groupText() + ":" + code.
class Payments {
public:
    void load(Database& db);
    const Payment* find(int child, const Charge& charge) const;
    // The cell: the row's amount (null for absent), else nothing when the
    // charge is another group's, else 0.
    QVariant cell(int child, const QVariant& childGroup, const Charge& charge) const;

private:
    QHash<int, QHash<QString, Payment>> m_rows;
};

// Charges dated `from` or later that `shown` lets through (by groupText()),
// in the order DATA, KLASA, KOD.
QList<Charge> chargesFrom(Database& db, const QDate& from, const std::function<bool(const QString& group)>& shown);

// The next number within the group: its highest KOD + 1.
int nextCode(Database& db, const QVariant& group);
bool hasPayments(Database& db, const QVariant& group, int code);

// Writes the child's row (made when missing); a null amount records absence.
// Without a description the stored one stays.
void savePayment(Database& db, const Charge& charge, int child, const QVariant& amount,
                 const std::optional<QString>& description = std::nullopt);
void deletePayment(Database& db, const Charge& charge, int child);

// An amount as the edit box shows it (#0.##): "12,5", "12".
QString editText(const QVariant& amount);

}  // namespace extra
