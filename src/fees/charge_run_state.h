#pragma once
// What one run of the charge driver holds from its first question to its
// end: the months, the chosen components and children, the run's settings
// and the store it writes to. Operations read it and keep their own data.

#include "fees/charge_run.h"
#include "fees/fee_catalogue.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class Database;
class MessageLog;
class Prompts;
struct Parameters;
struct RunContext;

namespace fees {

// A calendar month and, when it has one, its month record.
struct ChargeMonth {
    int year = 0;
    int month = 0;
    QDate first;
    QDate last;
    int code = 0;      // MIESIACE.KOD; 0 without a record
    QString freeDays;  // DNIWOLNE as stored

    static ChargeMonth of(int year, int month);
    ChargeMonth previous() const;
};

// A child the run covers, as it is named in messages.
struct RunChild {
    int code = 0;
    QString caption;
};

struct ChargeRunState {
    ChargeRunState(Database& db, Prompts& prompts, MessageLog& log, const Parameters& params)
        : db(db), prompts(prompts), log(log), params(params) {}

    Database& db;
    RunContext* context = nullptr;  // the run's, for operations that open areas
    Prompts& prompts;
    MessageLog& log;
    const Parameters& params;
    QStringList visibleGroups;  // of the login; empty = not limited
    ChargeOperation operation = ChargeOperation::Compute;

    ChargeMonth chargeMonth;
    ChargeMonth settledMonth;
    QList<catalogue::Component> components;  // chosen, in KOLEJ order
    QList<RunChild> children;                // in the order they are processed

    // Invoices are in use: a title is configured and the store has the columns.
    bool invoicing = false;

    QList<int> childCodes() const;
};

// Reads the month record of `month` (code and free days); code 0 when none.
void readMonthRecord(Database& db, ChargeMonth& month);
// The month record of `month`, made when missing (no free days).
void ensureMonthRecord(Database& db, ChargeMonth& month);

}  // namespace fees
