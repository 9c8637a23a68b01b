#pragma once
// The similar-row check of an import: is there already a row of the target
// with the same key, in the store or among the rows this import is about to
// write? The store's rows are read once per month record (or per month of
// attendance), not once per file row.

#include "import_writes.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QString>

class Database;

namespace import {

enum class ImportTarget { Charges, Payments, DailyAttendance, MonthlyAttendance };

class SimilarRows {
public:
    // `monthKod` and `type` are the import's month record and NALICZ.TYP.
    SimilarRows(Database& db, ImportTarget target, int monthKod, const QString& type);

    // Charges: the child's line of the component. Payments: the child's
    // payment of the date (with `description` set, one with that OPIS).
    // Daily attendance: the child's day, or with `wholeMonth` any day of the
    // date's month. Monthly: the child's counts of the date's month.
    // Payments are counted, so that two equal transfers of one day both
    // land: a payment is similar only when the store held more equal ones
    // (with `amount` set, of that amount too) before the import than the
    // file has earlier equal rows (noted by noteFileRow).
    bool exists(int child, int component, const QDate& date, bool wholeMonth,
                const std::optional<QString>& description, const std::optional<double>& amount = std::nullopt);
    // A payments row of the file that reached the check with this child.
    void noteFileRow(int child, const QDate& date, const std::optional<QString>& description,
                     const std::optional<double>& amount);
    // A row this import will write.
    void add(const PendingWrite& write);
    // Whether the child has any payment of the month record.
    bool hasPayment(int child);

private:
    void loadMonth(int year, int month);

    Database& m_db;
    ImportTarget m_target;
    int m_monthKod;
    QString m_type;
    bool m_loaded = false;
    QSet<qint64> m_monthsLoaded;  // 12 × year + month, attendance
    // Charges: child → components; payments: (child, date) → descriptions.
    QHash<int, QSet<int>> m_components;
    struct StoredPayment {
        QString description;
        qint64 cents = 0;
    };
    QHash<QPair<int, qint64>, QList<StoredPayment>> m_payments;  // the store's, before the import
    QHash<QString, int> m_fileRows;  // equal rows of the file seen so far
    QSet<int> m_payers;
    // Attendance: (child, julian day) and (child, 12 × year + month).
    QSet<QPair<int, qint64>> m_days;
    QSet<QPair<int, qint64>> m_months;
};

}  // namespace import
