#pragma once
// Bank statements in the SWIFT MT940 / MT942 layout: fields ":NN:" on
// lines of their own, continuation lines below them; a transaction is a
// ":61:" line with the ":86:" description that follows it. Polish banks
// split the description into "~NN" subfields (~20–~25 title, ~27–~29 and
// ~32–~33 the counterparty); others write "OD:" and "TYT.:" labels.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace import {

struct Mt940Transaction {
    QDate valueDate;
    double amount = 0;       // credits positive, debits ("D", "RC") negative
    QString counterparty;
    QString title;
    QString reference;       // "ID IPH:" of the description, else the bank's "//" reference
};

// Every transaction of the text, in file order; SOH and ETX are dropped.
// A transaction ends at the next ":61:", ":62", ":64:", a line "-" or the end.
QList<Mt940Transaction> mt940Transactions(const QString& text);

// The cells a transaction gives the import, in this order.
QStringList mt940Headings();  // "Data waluty", "Kwota", "Kontrahent", "Tytuł", "Referencja"

}  // namespace import
