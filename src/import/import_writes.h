#pragma once
// What an import writes, gathered while its questions are asked and then
// written in one short transaction: charge lines, payments, days of
// attendance (a day without mark deletes the child's row) and monthly
// attendance counts (a kind without count deletes its row).

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <QVariant>

class Database;

namespace import {

struct PendingWrite {
    enum class Kind { ChargeLine, Payment, Day, Count };
    Kind kind = Kind::Payment;
    int child = 0;
    // Charge lines and payments: KOD; charge lines: TYP, MEDIUM, ROZLICZ.
    int monthKod = 0;
    QString type;
    int component = 0;
    bool settlement = false;
    QVariant quantity;  // empty when not read
    QString unit;
    QVariant price;
    QVariant value;
    QString description;
    // Payments and days.
    QDate date;
    // Days: the mark ("" deletes); counts: the kind and ILE (empty deletes).
    QString mark;
    QTime arrival;
    QTime departure;
    int year = 0;
    int month = 0;
    QVariant count;
};

// Writes every row in order, in one transaction: all of them or, when the
// store refuses one, none (the error is thrown).
void writePending(Database& db, const QList<PendingWrite>& writes);

}  // namespace import
