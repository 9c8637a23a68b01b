#include "invoice_number.h"

namespace fees {

namespace {

// Replaces the date letters of one part of the format, right to left, so
// that "rr" gives the last two digits of the year.
QString fillDateLetters(const QString& part, const QString& monthDigits, const QString& yearDigits)
{
    qsizetype nextMonth = monthDigits.size() - 1;
    qsizetype nextYear = yearDigits.size() - 1;
    QString out;
    for (qsizetype i = part.size() - 1; i >= 0; --i) {
        const QChar c = part.at(i);
        if (c == QLatin1Char('m')) {
            if (nextMonth >= 0)
                out.prepend(monthDigits.at(nextMonth--));
        } else if (c == QLatin1Char('r')) {
            if (nextYear >= 0)
                out.prepend(yearDigits.at(nextYear--));
        } else {
            out.prepend(c);
        }
    }
    return out;
}

}  // namespace

QString invoiceNumberText(int number, int year, int month, const QString& format)
{
    const qsizetype at = format.indexOf(QLatin1Char('@'));
    QString prefix;
    QString suffix = format;
    int width = 0;
    if (at >= 0) {
        prefix = format.left(at);
        qsizetype end = at;
        while (end < format.size() && format.at(end) == QLatin1Char('@'))
            ++end;
        width = int(end - at);
        suffix = format.mid(end);
    }
    const QString monthDigits = QStringLiteral("%1").arg(month, 2, 10, QLatin1Char('0'));
    const QString yearDigits = QString::number(year);
    return fillDateLetters(prefix, monthDigits, yearDigits)
        + QStringLiteral("%1").arg(number, width, 10, QLatin1Char('0'))
        + fillDateLetters(suffix, monthDigits, yearDigits);
}

}  // namespace fees
