#pragma once
// The settlement months window (MIESIACE): the hub of the month's work.
// From the current month it opens the computed and approved charges, the
// payments, the payment notifications and the invoices, marks the free
// days, runs and approves the charges and undoes an approval.
//
// Opened for one child (from the children register) every list shows that
// child's rows only, new rows belong to the child and the charge run covers
// the child alone; the window follows the register's current child.

#include "browser/module.h"
#include "fees/next_child_entry.h"
#include "fees/rozrach_free_days.h"

#include <QDate>

class Table;

class TDMRozrach : public TDMDane {
    Q_OBJECT
public:
    // `child` 0: every child. Without an editor "Zaznacz wolne dni" is not offered.
    explicit TDMRozrach(RunContext& context, FreeDaysEditor editor = {}, int child = 0, QObject* parent = nullptr);

    DataSet& months() const { return *dataSet(QStringLiteral("Miesiace")); }
    DataSet& payments() const { return *dataSet(QStringLiteral("Wplaty")); }
    DataSet& notifications() const { return *dataSet(QStringLiteral("Zglwpl")); }

    int child() const { return m_child; }
    bool oneChild() const { return m_oneChild; }
    // The one-child window follows the children register's current child.
    void setChild(int kod);

    // The current month record: its code (0 when the list is empty) and days.
    int currentMonthKod() const;
    QDate monthFirstDay() const;
    QDate monthLastDay() const;

    // --- the commands -----------------------------------------------------------
    void openChargeLines(bool approved);
    void openPayments();
    void openNotifications();
    void openInvoices();
    void editFreeDays();
    void computeCharges();
    void approveCharges();
    void undoApprovals();

    // The month record the browser's insert asks for.
    static QString newMonthTitle() { return QStringLiteral("Wybór miesiąca"); }
    static QString newMonthPrompt() { return QStringLiteral("Podaj nowy miesiąc rozrachunkowy"); }
    // The children offered for new payments and notifications, in Polish order.
    QList<PickEntry> childrenList() const;
    static QString childListTitle() { return QStringLiteral("Dziecko"); }

private:
    void setUpMonths();
    void setUpPayments();
    void setUpNotifications();
    void setUpCommands();
    void newMonth(Table& t);
    void newPayment(Table& t);
    void newNotification(Table& t);
    QVariantMap listArguments(const QString& commandName) const;
    QString monthCaption() const;
    void runCharges(bool approve);

    FreeDaysEditor m_editor;
    int m_child = 0;
    QString m_childCaption;
    bool m_oneChild = false;
    Table* m_children = nullptr;  // captions of the children lookups
    fees::NextChildEntry m_paymentChild;
};
