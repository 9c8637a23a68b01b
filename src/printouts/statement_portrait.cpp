// The portrait statement: per child the month's charges by section with
// their totals, the payments and the balances; with history the operations
// month by month from the start month between the opening and the closing
// balance.

#include "statement_layouts.h"

#include "browser/cell_text.h"
#include "store/money.h"
#include "store/polish_dates.h"

#include <cmath>

namespace printouts {

namespace {

using report::Primitive;

constexpr double lineGap = 2;

// The charge line: service, quantity, " * ", unit, price, " = ", value.
constexpr double serviceX = 0, serviceW = 300;
constexpr double quantityX = 300, quantityW = 70;
constexpr double timesX = 372, timesW = 14;
constexpr double unitX = 388, unitW = 50;
constexpr double priceX = 438, priceW = 100;
constexpr double equalsX = 540, equalsW = 16;
constexpr double valueX = 558, valueW = 150;
// History columns.
constexpr double dateX = 0, dateW = 90;
constexpr double operationX = 92, operationW = 320;
constexpr double chargeX = 414, chargeW = 140;
constexpr double paymentX = 568, paymentW = 140;

bool isZeroOrLess(double value)
{
    return money::round(value) <= 0;
}

class PortraitBuilder {
public:
    PortraitBuilder(const StatementData& data, StatementLines& out, report::Rows& rows)
        : m_data(data), m_out(out), m_rows(rows)
    {
        m_bold = m_plain;
        m_bold.bold = true;
        m_large = m_plain;
        m_large.pointSize = 12;
        m_large.bold = true;
        m_quantityFormat = QStringLiteral("#0.") + QString(data.quantityDecimals, QLatin1Char('#'));
    }

    void child(int first, int end)
    {
        const int kod = m_data.rows[first].child;
        m_childIndex = int(m_out.children.size());
        m_out.children.append({kod, 0, std::nullopt});
        if (m_data.options.historyFrom)
            history(first, end);
        else
            month(first, end);
    }

private:
    const StatementRow& row(int i) const { return m_data.rows[i]; }
    bool chosenMonth(const StatementRow& r) const { return r.kodmies == m_data.monthKod; }

    QString sectionKey(const StatementRow& r) const
    {
        QString key = QString::number(r.year) + QString::number(r.month) + r.rozlicz;
        if (m_data.groupFees)
            key += QString::number(r.feeGroup);
        return key;
    }

    QString sectionName(const StatementRow& r) const
    {
        const bool settled = r.rozlicz == QLatin1Char('T');
        if (m_data.groupFees)
            return m_data.feeGroups.value(r.feeGroup)
                   + (settled ? QLatin1Char(' ') + m_data.settledText.toLower() : QString());
        return settled ? m_data.settledText : m_data.advanceText;
    }

    void addLine(QList<Primitive> items)
    {
        m_rows.rows.append(QVariantList{m_childIndex, int(m_out.lines.size())});
        m_out.lines.append(std::move(items));
    }

    Primitive text(double x, double w, const QString& s, const report::TextFont& font,
                   Qt::Alignment a = Qt::AlignLeft, double top = 0)
    {
        return statementText(m_fonts, QRectF(x, top, w, m_fonts[font].lineHeight() + lineGap), s, font, a);
    }

    // One caption and value pair, the caption right-aligned before the value.
    QList<Primitive> captioned(const QString& caption, const QString& value, bool bold)
    {
        const report::TextFont& f = bold ? m_bold : m_plain;
        return {text(priceX - 140, equalsX + equalsW - priceX + 140, caption, f, Qt::AlignRight),
                text(valueX, valueW, value, f, Qt::AlignRight)};
    }

    void month(int first, int end)
    {
        double monthCharges = 0, monthPayments = 0, earlier = 0, total = 0;
        QString section;
        double sectionSum = 0;
        const StatementRow* sectionRow = nullptr;
        auto closeSection = [&] {
            if (!sectionRow)
                return;
            addLine({text(serviceX, priceX + priceW, QStringLiteral("Razem ") + sectionName(*sectionRow).toLower(), m_bold),
                  text(valueX, valueW, statementMoney(sectionSum) + QStringLiteral(" zł"), m_bold, Qt::AlignRight)});
            sectionRow = nullptr;
        };
        for (int i = first; i < end; ++i) {
            const StatementRow& r = row(i);
            total += r.value;
            if (!chosenMonth(r)) {
                earlier += r.value;
                continue;
            }
            if (r.rozlicz == QLatin1Char('W')) {
                monthPayments += r.value;
                continue;
            }
            monthCharges -= r.value;
            if (r.rozlicz == QLatin1Char('V'))
                continue;
            const QString key = sectionKey(r);
            if (!sectionRow || key != section) {
                closeSection();
                section = key;
                sectionRow = &r;
                sectionSum = 0;
                addLine({text(serviceX, valueX + valueW, sectionName(r), m_bold, Qt::AlignLeft, 4)});
            }
            sectionSum -= r.value;
            chargeLine(r);
        }
        closeSection();

        addLine({text(serviceX, 340, m_data.children.value(m_data.rows[first].child).nazwa, m_large),
              text(priceX - 140, equalsX + equalsW - priceX + 140, QStringLiteral("Naliczenie:"), m_bold, Qt::AlignRight),
              text(valueX, valueW, statementMoney(monthCharges) + QStringLiteral(" zł"), m_bold, Qt::AlignRight)});
        m_out.children.last().chargeTotal = money::round(monthCharges);
        if (!m_data.options.payments)
            return;
        addLine(captioned(m_data.paymentsText + QLatin1Char(':'), statementMoney(monthPayments) + QStringLiteral(" zł"), false));
        addLine(captioned(isZeroOrLess(earlier) ? QStringLiteral("Zaległość początkowa:") : QStringLiteral("Nadpłata początkowa:"),
                       statementMoney(std::abs(money::round(earlier))) + QStringLiteral(" zł"), false));
        addLine(captioned(isZeroOrLess(total) ? m_data.arrearsText + QLatin1Char(':') : QStringLiteral("Nadpłata:"),
                       statementMoney(std::abs(money::round(total))) + QStringLiteral(" zł"), true));
        m_out.children.last().balance = money::round(total);
    }

    void chargeLine(const StatementRow& r)
    {
        QString service = m_data.services.value(r.medium);
        if (r.helpCentre)
            service += QStringLiteral(" (ośrodek pomocy)");
        QList<Primitive> items{text(serviceX, serviceW, service, m_plain)};
        if (r.quantity) {
            items << text(quantityX, quantityW, cell::text(*r.quantity, FieldType::Float, m_quantityFormat), m_plain,
                          Qt::AlignRight)
                  << text(timesX, timesW, QStringLiteral(" * "), m_plain, Qt::AlignHCenter);
            if (r.price)
                items << text(priceX, priceW,
                              cell::text(*r.price, FieldType::Float, QStringLiteral("#0.00##")) + QStringLiteral(" zł"),
                              m_plain, Qt::AlignRight);
        }
        items << text(unitX, unitW, r.unit, m_plain)
              << text(equalsX, equalsW, QStringLiteral(" = "), m_plain, Qt::AlignHCenter)
              << text(valueX, valueW, statementMoney(-r.value) + QStringLiteral(" zł"), m_plain, Qt::AlignRight);
        addLine(items);
    }

    // A history line: date, operation, and an amount under "Naliczenie" or "Wpłata".
    void historyLine(const QString& date, const QString& operation, const QString& amount, bool underPayment,
                     bool bold = false)
    {
        const report::TextFont& f = bold ? m_bold : m_plain;
        addLine({text(dateX, dateW, date, f), text(operationX, operationW, operation, f),
              underPayment ? text(paymentX, paymentW, amount, f, Qt::AlignRight)
                           : text(chargeX, chargeW, amount, f, Qt::AlignRight)});
    }

    void history(int first, int end)
    {
        const StatementOptions& o = m_data.options;
        const int start = (m_data.historyStart / 100) * 12 + m_data.historyStart % 100;
        addLine({text(dateX, dateW, QStringLiteral("Data"), m_bold), text(operationX, operationW, QStringLiteral("Operacja"), m_bold),
              text(chargeX, chargeW, QStringLiteral("Naliczenie"), m_bold, Qt::AlignRight),
              text(paymentX, paymentW, o.payments ? QStringLiteral("Wpłata") : QString(), m_bold, Qt::AlignRight)});
        double before = 0, total = 0;
        bool anyBefore = false, openingDone = false;
        for (int i = first; i < end; ++i) {
            const StatementRow& r = row(i);
            total += r.value;
            if (r.ym() < start) {
                before += r.value;
                anyBefore = true;
                continue;
            }
            if (!openingDone) {
                openingDone = true;
                if (anyBefore) {
                    historyLine(QString(), QStringLiteral("Saldo początkowe"),
                                statementMoney(std::abs(money::round(before))) + QStringLiteral(" zł"),
                                !isZeroOrLess(before));
                    if (o.payments)
                        m_out.children.last().balance = money::round(before);
                }
            }
            if (r.isPayment()) {
                const bool confirmation = r.rozlicz == QLatin1Char('V');
                historyLine(polish::shortDate(r.date),
                            confirmation ? QStringLiteral("Potwierdzenie wpłaty") : QStringLiteral("Wpłata"),
                            confirmation ? QString() : statementMoney(r.value) + QStringLiteral(" zł"), true);
                continue;
            }
            // A section: its rows summed on one line.
            const QString key = sectionKey(r);
            double sum = 0;
            int j = i;
            for (; j < end && !row(j).isPayment() && sectionKey(row(j)) == key && row(j).ym() == r.ym(); ++j)
                sum -= row(j).value;
            for (int k = i + 1; k < j; ++k)
                total += row(k).value;
            i = j - 1;
            historyLine(polish::shortDate(QDate(r.year, r.month, 1)), sectionName(r),
                        statementMoney(sum) + QStringLiteral(" zł"), false);
            m_out.children.last().chargeTotal = money::round(sum);
        }
        if (!openingDone && anyBefore)
            historyLine(QString(), QStringLiteral("Saldo początkowe"),
                        statementMoney(std::abs(money::round(before))) + QStringLiteral(" zł"), !isZeroOrLess(before));
        const QString label = !o.payments ? QString()
                              : isZeroOrLess(total) ? m_data.arrearsText + QLatin1Char(':')
                                                    : QStringLiteral("Nadpłata:");
        historyLine(m_data.children.value(m_data.rows[first].child).nazwa, label,
                    statementMoney(std::abs(money::round(total))) + QStringLiteral(" zł"), !isZeroOrLess(total), true);
        if (o.payments)
            m_out.children.last().balance = money::round(total);
    }

    const StatementData& m_data;
    StatementLines& m_out;
    report::Rows& m_rows;
    report::FontCache m_fonts;
    report::TextFont m_plain;
    report::TextFont m_bold;
    report::TextFont m_large;
    QString m_quantityFormat;
    int m_childIndex = 0;
};

}  // namespace

report::TextBox statementText(report::FontCache& fonts, const QRectF& rect, const QString& text,
                              const report::TextFont& font, Qt::Alignment alignment)
{
    const report::MeasuredFont& measured = fonts[font];
    report::TextBox box;
    box.rect = rect;
    box.lines = measured.lines(text, rect.width(), false);
    if (box.lines.isEmpty())
        box.lines = QStringList{QString()};
    box.font = font;
    box.alignment = alignment | Qt::AlignTop;
    box.lineHeight = measured.lineHeight();
    box.ascent = measured.ascent();
    return box;
}

QString statementMoney(double value)
{
    // Adding +0.0 turns a rounded -0.0 into 0.0, which prints without a sign.
    return cell::text(money::round(value) + 0.0, FieldType::Float, QStringLiteral("#0.00"));
}

void layOutPortrait(const StatementData& data, StatementLines& lines, report::Rows& rows)
{
    rows.fields = QStringList{childField(), lineField()};
    PortraitBuilder builder(data, lines, rows);
    for (int first = 0; first < data.rows.size();) {
        int end = first + 1;
        while (end < data.rows.size() && data.rows[end].child == data.rows[first].child)
            ++end;
        builder.child(first, end);
        first = end;
    }
}

}  // namespace printouts
