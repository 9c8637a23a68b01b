#include "password_sheet.h"

#include "printouts/report.h"
#include "printouts/report_engine.h"
#include "printouts/text_layout.h"

namespace fees {

namespace {

const QString kBlockEnd = QStringLiteral("\r\n\r\n");
const QString kText = QStringLiteral("TEKST");

report::TextStyle styleOf(double pointSize, Qt::Alignment alignment)
{
    report::TextStyle style;
    style.font.pointSize = pointSize;
    style.alignment = alignment | Qt::AlignTop;
    return style;
}

// Printed line breaks are "\n".
QString printed(const QString& text)
{
    return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

QString passwordBlock(const QString& caption, int clientNumber, int child, const QString& password)
{
    return caption + QStringLiteral("\r\nIdentyfikator: ") + QString::number(clientNumber) + QLatin1Char('-')
        + QString::number(child) + QStringLiteral("\r\nHasło: ") + password + kBlockEnd;
}

QStringList passwordBlocks(const QString& buffer)
{
    QStringList blocks;
    qsizetype at = 0;
    while (at < buffer.size()) {
        qsizetype end = buffer.indexOf(kBlockEnd, at);
        if (end < 0)
            end = buffer.size();
        blocks << buffer.mid(at, end - at);
        at = end + kBlockEnd.size();
    }
    return blocks;
}

std::unique_ptr<report::Job> makePasswordSheet(const PasswordSheet& sheet)
{
    using namespace report;
    Report r;
    r.title = sheet.title;
    const double width = r.bodyWidth();

    const TextStyle titleStyle = styleOf(10, Qt::AlignHCenter);
    const double titleHeight = MeasuredFont(titleStyle.font).lineHeight();
    Band header;
    header.kind = BandKind::PageHeader;
    header.items << Item::label(QRectF(0, 0, width, titleHeight), sheet.title, titleStyle);
    header.height = titleHeight + 6;
    r.pageHeader = header;

    Band detail;
    detail.kind = BandKind::Detail;
    detail.height = 71;
    detail.stretch = true;
    detail.newPageBefore = sheet.pagePerChild;
    detail.items << Item::line(QPointF(0, 0), QPointF(width, 0));
    TextStyle text = styleOf(10, Qt::AlignLeft);
    text.wordWrap = true;
    text.autoStretch = true;
    detail.items << Item::ofField(QRectF(4, 10, width - 8, 51), kText, text);
    r.detail = detail;

    const TextStyle small = styleOf(8, Qt::AlignLeft);
    const double smallHeight = MeasuredFont(small.font).lineHeight();
    Band footer;
    footer.kind = BandKind::PageFooter;
    // The footer line names the institution and may be long: it gets all
    // but the page number's room, or its start would be cut off.
    const double numberWidth = width / 8;
    footer.items << Item::pageNumber(QRectF(0, 1, numberWidth, smallHeight), QStringLiteral("Strona: {page}"), small);
    footer.items << Item::label(QRectF(numberWidth, 1, width - numberWidth, smallHeight), sheet.footerLine,
                                styleOf(8, Qt::AlignRight));
    footer.height = smallHeight + 2;
    r.pageFooter = footer;

    Rows rows;
    rows.fields = {kText};
    for (const QString& block : sheet.blocks)
        rows.rows.append({printed(sheet.introduction + block)});
    return std::make_unique<ReportJob>(std::move(r), std::move(rows));
}

}  // namespace fees
