#pragma once
// A charge line typed by hand: the price of the component fills the unit
// and the price, and the value with its VAT follows the quantity, the price
// and the rate. Prices are gross: the VAT is the part of the value the rate
// stands for, value × rate / (rate + 100).

#include <QDate>
#include <QString>

class Database;
class Table;

namespace fees {

struct LinePricing {
    Database* db = nullptr;
    QDate priceDay;        // the first day of the list's month
    bool withVat = false;  // invoices in use: STAWKA and VAT are kept

    // The handler of a field change of a line being edited or inserted.
    void fieldChanged(Table& line, const QString& field) const;

    // JM and CENA, each only when empty, from the component's price of
    // tariff 0 in force on priceDay.
    void fillPrice(Table& line) const;
    // WARTOSC = ILOSC × CENA and, with a known rate, its VAT (cleared for 0 %).
    void computeValue(Table& line) const;
};

}  // namespace fees
