#pragma once
// Computed charge lines: the arithmetic of one line (the half-unit
// adjustment, the value, the VAT it contains) and their writing to NALICZ.

#include "store/error.h"
#include "store/batch_insert.h"

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

// The largest amount money holds here: a price, quantity, value or VAT
// must be finite and below a trillion (złotych, units) in magnitude.
constexpr double amountLimit = 1e12;
bool amountFits(double amount);

// A line with an amount out of that range; the run names the child and
// component around this text.
class AmountOutOfRange : public Error {
public:
    using Error::Error;
};
// Throws AmountOutOfRange naming the first amount of the line that does not fit.
void checkAmounts(const ChargeLine& line);
void checkAmount(double amount, const QString& what);
// "<child>, składnik "<component>": <text>"
QString componentLineMessage(const QString& child, const QString& component, const QString& text);

// Writes computed lines in the order given, many to a statement where the
// store allows; a line whose amounts do not fit is refused before anything
// of it is written. flush() sends what is still queued: the run calls it
// before its transaction ends.
class ChargeLineWriter {
public:
    ChargeLineWriter(Database& db, bool invoicing);
    void write(const ChargeLine& line);
    void flush();
    int written() const { return m_insert.rowsAdded(); }

private:
    BatchInsert m_insert;
    bool m_invoicing;
};

}  // namespace fees
