#pragma once
// The extra-charges grid (TDMNalDod): one read-only row per active child of
// the visible groups, the column "Nadpłaty" and one column per extra charge
// from the starting date on, of the chosen groups. Each cell is what the
// child paid (empty: absent; 0: not recorded yet), coloured against the
// charge's amount; the commands and typed keys record it.
//
// Typed keys in a charge column: T the exact amount, N absent, a digit
// starts the amount box with that digit, Backspace deletes the child's row.

#include "fees/extra_charges.h"

#include "browser/module.h"

#include <QDate>
#include <QStringList>

#include <optional>

class TDMNalKla;

class TDMNalDod : public TDMDane {
    Q_OBJECT
public:
    // Every active child of the visible groups.
    explicit TDMNalDod(RunContext& context, QObject* parent = nullptr);
    // The current child of `master` (the children list) only.
    TDMNalDod(RunContext& context, DataSet& master, QObject* parent = nullptr);
    ~TDMNalDod() override;

    DataSet& children() const { return *dataSet(QStringLiteral("Dzieci")); }
    TDMNalKla& chargesModule();

    // The charges shown, in column order, and the field of each.
    const QList<extra::Charge>& charges() const { return m_charges; }
    static QString overpaymentField() { return QStringLiteral("NADPLATY"); }
    static QString chargeField(int index);  // "NAL1" …
    QDate startingDate() const { return m_from; }
    const std::optional<QStringList>& chosenGroups() const { return m_chosen; }

    // Re-reads the charges and the rows; the columns follow.
    void rebuild();

    // --- commands, on the current child and column ---------------------------
    void openCharges();     // "&Naliczenia"
    void chooseRange();     // "&Zakres naliczeń"
    void recordExact();     // "Wpłata dokładna"
    void editPayment(const QString& preset = QString());  // "Edytuj wpłatę"; a preset replaces the amount
    void recordAbsent();    // "Nieobecny"
    void deletePayment();   // "Usuń wpłatę"

    void currentFieldChanged(DataSet& ds, const QString& field) override;
    bool typedKey(DataSet& ds, const QString& field, QChar key) override;
    bool canInsert(const DataSet&) const override { return false; }
    bool canDelete(const DataSet&) const override { return false; }

    static QString editQuestion() { return QStringLiteral("Chcesz edytować listę naliczeń dodatkowych?"); }
    static QString otherGroupRefusal() { return QStringLiteral("Naliczenie dodatkowe pochodzi z innej grupy"); }
    static QString title() { return QStringLiteral("Naliczenia dodatkowe"); }

private:
    void build(DataSet* master);
    void buildCommands();
    void ensureColumns(int count);
    void applyColumns();
    bool groupShown(const QString& group) const;
    QStringList allGroups() const;  // "" ("Brak") and the visible groups, in KOLEJ order
    // The charge of the current column, null when it is not a charge column.
    const extra::Charge* currentCharge() const;
    int currentChild() const;
    QVariant currentGroup() const;
    bool askPermission();
    enum class Entry { Exact, Absent, Edit };
    void record(Entry entry, const QString& preset = QString());
    void refreshRows();

    DataSet* m_master = nullptr;
    QDate m_from;
    std::optional<QStringList> m_chosen;
    QList<extra::Charge> m_charges;
    extra::Payments m_payments;
    extra::Charge m_overpayment = extra::overpayment();
    int m_columnPool = 0;
    QString m_selectedField;
    bool m_editAllowed = false;
    QHash<int, QString> m_groupNames;
    TDMNalKla* m_chargesModule = nullptr;
};
