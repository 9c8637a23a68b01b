#include "printouts/ui/print_pages.h"

#include "printouts/page_painter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace report {

namespace {

QPageLayout layoutOf(const Page& page)
{
    // Pages are laid out on the paper's full area: no printer margins.
    const bool landscape = page.size.width() > page.size.height();
    const QSizeF portrait = landscape ? page.size.transposed() : page.size;
    const QPageSize size(QSizeF(portrait.width() / unitsPerMm, portrait.height() / unitsPerMm),
                         QPageSize::Millimeter, QString(), QPageSize::FuzzyOrientationMatch);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

}  // namespace

QString printPages(QPrinter& printer, const PreparedPages& pages)
{
    if (pages.pages.isEmpty())
        return QString();
    printer.setFullPage(true);
    printer.setDocName(pages.title);
    printer.setPageLayout(layoutOf(pages.pages.constFirst()));
    QPainter painter;
    if (printer.outputFormat() == QPrinter::NativeFormat && printer.printerName().isEmpty())
        return QStringLiteral("Nie ma drukarki, na której można drukować.");
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty())
        return QStringLiteral("Nie ma drukarki, na której można drukować.");
    if (!painter.begin(&printer))
        return QStringLiteral("Nie można rozpocząć drukowania na drukarce \"%1\".").arg(printer.printerName());
    const double dpi = printer.resolution();
    for (qsizetype i = 0; i < pages.pages.size(); ++i) {
        const Page& page = pages.pages.at(i);
        if (i > 0) {
            printer.setPageLayout(layoutOf(page));
            if (!printer.newPage()) {
                painter.end();
                return QStringLiteral("Drukowanie przerwane na stronie %1.").arg(i + 1);
            }
        }
        painter.save();
        painter.scale(dpi / unitsPerInch, dpi / unitsPerInch);
        paintPage(painter, page, dpi);
        painter.restore();
    }
    if (!painter.end())
        return QStringLiteral("Drukowanie nie powiodło się.");
    return QString();
}

}  // namespace report
