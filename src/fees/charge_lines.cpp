#include "charge_lines.h"

#include "store/database.h"
#include "store/money.h"

#include <cmath>

namespace fees {

double roundUpToHalf(double quantity)
{
    const double magnitude = std::fabs(quantity);
    const double whole = std::floor(magnitude);
    const double fraction = money::roundHalfAway(magnitude - whole, 10);
    if (fraction <= 0.00000001)
        return quantity;
    const double up = fraction <= 0.49999999 ? whole + 0.5 : whole + 1;
    return quantity < 0 ? -up : up;
}

double lineValue(double price, double quantity)
{
    return money::round(price * quantity);
}

double containedVat(double value, double percent)
{
    return money::round(value * percent / (percent + 100));
}

bool amountFits(double amount)
{
    return std::isfinite(amount) && std::fabs(amount) < amountLimit;
}

void checkAmount(double amount, const QString& what)
{
    if (!amountFits(amount))
        throw AmountOutOfRange(QStringLiteral("%1 %2 jest poza zakresem kwot (największa co do wartości: "
                                              "999 999 999 999,99); popraw cenę lub sposób naliczania")
                                   .arg(what, std::isfinite(amount) ? QString::number(amount, 'g', 15)
                                                                    : QStringLiteral("nieskończona lub nieokreślona")));
}

QString componentLineMessage(const QString& child, const QString& component, const QString& text)
{
    return QStringLiteral("%1, składnik \"%2\": %3").arg(child, component, text);
}

void checkAmounts(const ChargeLine& line)
{
    checkAmount(line.price, QStringLiteral("cena"));
    checkAmount(line.quantity, QStringLiteral("ilość"));
    checkAmount(line.value, QStringLiteral("wartość"));
    if (line.vat.isValid() && !line.vat.isNull())
        checkAmount(line.vat.toDouble(), QStringLiteral("VAT"));
}

namespace {

QString insertSql(bool invoicing)
{
    return invoicing
        ? QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, ROZLICZ, DOT, "
                         "STAWKA, VAT, IDOPIE) VALUES (:KOD, :TYP, :OSOBA, :MEDIUM, :ILOSC, :JM, :CENA, :WARTOSC, "
                         ":ROZLICZ, :DOT, :STAWKA, :VAT, :IDOPIE)")
        : QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, ROZLICZ, DOT) "
                         "VALUES (:KOD, :TYP, :OSOBA, :MEDIUM, :ILOSC, :JM, :CENA, :WARTOSC, :ROZLICZ, :DOT)");
}

}  // namespace

ChargeLineWriter::ChargeLineWriter(Database& db, bool invoicing)
    : m_insert(db, insertSql(invoicing)), m_invoicing(invoicing)
{
}

void ChargeLineWriter::write(const ChargeLine& line)
{
    checkAmounts(line);
    m_insert.bind(QStringLiteral("KOD"), line.month)
        .bind(QStringLiteral("TYP"), line.type)
        .bind(QStringLiteral("OSOBA"), line.child)
        .bind(QStringLiteral("MEDIUM"), line.component)
        .bind(QStringLiteral("ILOSC"), line.quantity)
        .bind(QStringLiteral("JM"), line.unit)
        .bind(QStringLiteral("CENA"), line.price)
        .bind(QStringLiteral("WARTOSC"), line.value)
        .bind(QStringLiteral("ROZLICZ"), line.settlement ? QStringLiteral("T") : QStringLiteral("N"))
        .bind(QStringLiteral("DOT"), line.dot);
    if (m_invoicing)
        m_insert.bind(QStringLiteral("STAWKA"), line.rate)
            .bind(QStringLiteral("VAT"), line.vat)
            .bind(QStringLiteral("IDOPIE"), line.helpCentre);
    m_insert.exec();
    ++m_written;
}

}  // namespace fees
