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

QStringList lineColumns(bool invoicing)
{
    QStringList columns{QStringLiteral("KOD"),   QStringLiteral("TYP"),  QStringLiteral("OSOBA"),
                        QStringLiteral("MEDIUM"), QStringLiteral("ILOSC"), QStringLiteral("JM"),
                        QStringLiteral("CENA"),  QStringLiteral("WARTOSC"), QStringLiteral("ROZLICZ"),
                        QStringLiteral("DOT")};
    if (invoicing)
        columns << QStringLiteral("STAWKA") << QStringLiteral("VAT") << QStringLiteral("IDOPIE");
    return columns;
}

}  // namespace

ChargeLineWriter::ChargeLineWriter(Database& db, bool invoicing)
    : m_insert(db, QStringLiteral("NALICZ"), lineColumns(invoicing)), m_invoicing(invoicing)
{
}

void ChargeLineWriter::write(const ChargeLine& line)
{
    checkAmounts(line);
    static const QString settles = QStringLiteral("T");
    static const QString advance = QStringLiteral("N");
    m_insert.set(0, line.month);
    m_insert.set(1, line.type);
    m_insert.set(2, line.child);
    m_insert.set(3, line.component);
    m_insert.set(4, line.quantity);
    m_insert.set(5, line.unit);
    m_insert.set(6, line.price);
    m_insert.set(7, line.value);
    m_insert.set(8, line.settlement ? settles : advance);
    m_insert.set(9, line.dot);
    if (m_invoicing) {
        m_insert.set(10, line.rate);
        m_insert.set(11, line.vat);
        m_insert.set(12, line.helpCentre);
    }
    m_insert.add();
}

void ChargeLineWriter::flush()
{
    m_insert.flush();
}

}  // namespace fees
