#pragma once
// Computed charge lines: the arithmetic of one line (the half-unit
// adjustment, the value, the VAT it contains) and their writing to NALICZ.

#include "store/query.h"

#include <QString>
#include <QVariant>

#include <optional>

class Database;

namespace fees {

// A NALICZ row as the run writes it; an invalid QVariant is an empty field.
struct ChargeLine {
    int month = 0;      // KOD, the charge month's record
    QString type = QStringLiteral("0");
    int child = 0;      // OSOBA
    int component = 0;  // MEDIUM
    double quantity = 0;
    QString unit;
    double price = 0;
    double value = 0;   // gross
    bool settlement = false;  // ROZLICZ T
    QVariant dot;       // + / - the settled month's record; empty on advances
    // Invoicing columns, written only while invoices are in use.
    QVariant rate;      // STAWKA
    QVariant vat;       // VAT contained in the value
    QVariant helpCentre;  // IDOPIE
};

// "PO PRZECINKU DO GÓRY": a quantity with a fractional part is moved away
// from zero to the next half (fraction up to .49999999) or whole unit.
double roundUpToHalf(double quantity);

// The value of `quantity` units at `price`, and with a VAT percentage the
// VAT contained in it; both to the grosz.
double lineValue(double price, double quantity);
double containedVat(double value, double percent);

// Writes computed lines with one prepared statement.
class ChargeLineWriter {
public:
    ChargeLineWriter(Database& db, bool invoicing);
    void write(const ChargeLine& line);
    int written() const { return m_written; }

private:
    Query m_insert;
    bool m_invoicing;
    int m_written = 0;
};

}  // namespace fees
