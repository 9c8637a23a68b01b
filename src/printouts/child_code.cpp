#include "child_code.h"

namespace printouts {

int childCodeCheckDigit(const QString& digits)
{
    static constexpr int weights[] = {1, 3, 7, 9};
    int sum = 0;
    for (qsizetype i = 0; i < digits.size(); ++i)
        sum += digits[i].digitValue() * weights[i % 4];
    return (10 - sum % 10) % 10;
}

QString childCode(int clientNumber, int childKod)
{
    const QString digits = QString::number(clientNumber) + QStringLiteral("%1").arg(childKod, 3, 10, QLatin1Char('0'));
    return digits + QString::number(childCodeCheckDigit(digits));
}

}  // namespace printouts
