#include "nalicz_pricing.h"

#include "fee_catalogue.h"

#include "store/money.h"
#include "store/table.h"

namespace fees {

namespace {
const QString ilosc = QStringLiteral("ILOSC");
const QString cena = QStringLiteral("CENA");
const QString jm = QStringLiteral("JM");
const QString stawka = QStringLiteral("STAWKA");
const QString medium = QStringLiteral("MEDIUM");
}  // namespace

void LinePricing::fieldChanged(Table& line, const QString& field) const
{
    if (!line.isEditing())
        return;
    if (field == medium) {
        if (!line.isNull(ilosc))
            fillPrice(line);
    } else if (field == ilosc) {
        if (line.isNull(cena))
            fillPrice(line);
        computeValue(line);
    } else if (field == cena || (field == stawka && withVat)) {
        computeValue(line);
    }
}

void LinePricing::fillPrice(Table& line) const
{
    if (line.isNull(medium))
        return;
    const QDate day = priceDay.isValid() ? priceDay : QDate::currentDate();
    const auto price = catalogue::priceInForce(*db, line.asInt(medium), day);
    if (!price)
        return;
    if (line.isNull(jm) && !price->unit.isEmpty())
        line.setValue(jm, price->unit);
    if (line.isNull(cena))
        line.setValue(cena, price->price);
}

void LinePricing::computeValue(Table& line) const
{
    if (line.isNull(ilosc) || line.isNull(cena))
        return;
    const double value = money::round(line.asDouble(ilosc) * line.asDouble(cena));
    line.setValue(QStringLiteral("WARTOSC"), value);
    if (!withVat || line.isNull(stawka))
        return;
    const auto rate = catalogue::vatPercent(*db, line.value(stawka));
    if (!rate)
        return;
    if (*rate > 0)
        line.setValue(QStringLiteral("VAT"), money::round(value * *rate / (*rate + 100)));
    else
        line.clear(QStringLiteral("VAT"));
}

}  // namespace fees
