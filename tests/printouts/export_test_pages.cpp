#include "export_test_pages.h"

#include "printouts/report_fonts.h"

#include <QFile>
#include <QFontMetricsF>
#include <QProcess>

using namespace report;

namespace exporttest {

namespace {

constexpr double left = defaultMargin;
constexpr double bodyWidth = 210.0 * unitsPerMm - 2 * defaultMargin;

void addHeader(Page& page, const QString& title)
{
    addBand(page, BandKind::PageHeader, left, 24, {text(QRectF(left, left, bodyWidth, 20), title, Qt::AlignHCenter, true)});
    addBand(page, BandKind::ColumnHeader, left + 24, 20,
            {text(QRectF(left, left + 24, 200, 18), QStringLiteral("Miasto"), Qt::AlignLeft, true),
             text(QRectF(left + 210, left + 24, 100, 18), QStringLiteral("Kwota"), Qt::AlignRight, true),
             Line{QPointF(left, left + 43), QPointF(left + 310, left + 43)}});
}

void addDetail(Page& page, double top, const QStringList& row)
{
    addBand(page, BandKind::Detail, top, 20,
            {text(QRectF(left, top, 200, 18), row.value(0)), text(QRectF(left + 210, top, 100, 18), row.value(1), Qt::AlignRight)});
}

}  // namespace

TextBox text(const QRectF& rect, const QString& content, Qt::Alignment alignment, bool bold)
{
    TextBox box;
    box.font.bold = bold;
    const QFontMetricsF metrics(measuringFont(box.font), referenceDevice());
    box.lines = content.split(QLatin1Char('\n'));
    box.lineHeight = metrics.lineSpacing();
    box.ascent = metrics.ascent();
    box.rect = QRectF(rect.topLeft(), QSizeF(rect.width(), qMax(rect.height(), box.lineHeight * box.lines.size())));
    box.alignment = alignment | Qt::AlignTop;
    return box;
}

void addBand(Page& page, BandKind kind, double top, double height, const QList<Primitive>& items)
{
    page.bands.append({kind, QRectF(left, top, bodyWidth, height), int(page.items.size()), int(items.size())});
    page.items.append(items);
}

QList<QStringList> sampleRows()
{
    return {
        {QStringLiteral("Łódź"), QStringLiteral("1 234,50")},
        {QStringLiteral("Kraków; \"stare\""), QStringLiteral("-7,00")},
        {QStringLiteral("Gdańsk\nOliwa"), QStringLiteral("0,5")},
        {QStringLiteral("Zielona Góra"), QStringLiteral("00-950")},
    };
}

PreparedPages listPages(const QList<QStringList>& rows, int rowsPerPage)
{
    PreparedPages pages;
    pages.title = QStringLiteral("Zażółć gęślą jaźń");
    const int pageCount = qMax(1, int((rows.size() + rowsPerPage - 1) / rowsPerPage));
    for (int p = 0; p < pageCount; ++p) {
        Page page;
        addHeader(page, pages.title);
        double top = left + 48;
        for (const QStringList& row : rows.mid(p * rowsPerPage, rowsPerPage)) {
            addDetail(page, top, row);
            top += 40;
        }
        const double footerTop = page.size.height() - left - 16;
        addBand(page, BandKind::PageFooter, footerTop, 16,
                {text(QRectF(left, footerTop, 200, 14), QStringLiteral("Strona: %1").arg(p + 1)),
                 text(QRectF(left + 250, footerTop, 100, 14), QStringLiteral("Stopka"), Qt::AlignRight)});
        pages.pages.append(page);
    }
    return pages;
}

PreparedPages listTable(const QList<QStringList>& rows)
{
    PreparedPages pages = listPages(rows, int(rows.size()));
    pages.description.append(QStringLiteral("ExportFilter"));
    Page& page = pages.pages.first();
    for (BandRecord& band : page.bands) {
        if (band.kind == BandKind::PageHeader)
            band.kind = BandKind::Title;
        else if (band.kind == BandKind::PageFooter)
            band.kind = BandKind::Summary;
    }
    std::get<TextBox>(page.items.first()).alignment = Qt::AlignLeft | Qt::AlignTop;
    return pages;
}

PreparedPages FakeJob::run(Purpose purpose, const PageSink&) const
{
    if (purpose == Purpose::TableExport) {
        ++tableRuns;
        return listTable(m_rows);
    }
    return listPages(m_rows, 2);
}

QByteArray runTool(const QString& program, const QStringList& arguments, bool* ok)
{
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(30000);
    const bool good = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (ok)
        *ok = good;
    return good ? process.readAllStandardOutput() : QByteArray();
}

QByteArray readAll(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace exporttest
