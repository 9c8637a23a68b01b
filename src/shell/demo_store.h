#pragma once
// A demonstration store: a new store filled with a believable kindergarten,
// so that a new user sees a working program at once. Three groups of
// children with addresses, parents and declared times of stay; fee
// components for the stay, meals and an extra class with their prices, VAT
// rates and calculation methods (per child); two months of daily
// attendance before the month of `today` and the days of its month before
// it, with the extra class held on its days; both earlier months computed
// by the charge run, the first approved on invoices and mostly paid. Around
// the current month: extra charges, parents' requests, periodic deadlines
// with executions, informations, the menu of every day, internet passwords
// with a log of logins, and an identification-card template.
//
// The same options give the same store, row for row.

#include "store/store_location.h"

#include <QDate>
#include <QStringList>

namespace demo {

struct DemoOptions {
    QDate today = QDate::currentDate();
    quint32 seed = 20240901;
    int childrenPerGroup = 20;
};

struct DemoSummary {
    int groups = 0;
    int children = 0;  // active children, the help centre not counted
    int attendanceRows = 0;
    int chargeLines = 0;
    int invoices = 0;
    int payments = 0;
    int heldClasses = 0;
    int extraCharges = 0;
    int requests = 0;
    int deadlines = 0;
    int meals = 0;       // days with a menu
    int webLogins = 0;   // login records
    QDate firstMonth;   // computed and approved
    QDate secondMonth;  // computed, settling the first
    // What the charge runs listed in "Błędy" and "Uwagi".
    QStringList errors;
    QStringList remarks;
};

inline QString institutionName() { return QStringLiteral("Przedszkole Samorządowe nr 7 „Słoneczko”"); }

// Creates the store (refused where one exists, as lunawactl init is) and
// fills it. On failure an SQLite store is removed again, so that a half-made
// store is never taken for a finished one; the error is thrown.
DemoSummary createDemoStore(const StoreLocation& location, const DemoOptions& options = {});

}  // namespace demo
