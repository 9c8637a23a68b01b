#include "exports.h"

#include "export_files.h"
#include "export_writers.h"
#include "page_painter.h"

#include <QFileInfo>

namespace report {

namespace {

const QList<ExportFormat>& formats()
{
    static const QList<ExportFormat> list = {
        {QStringLiteral("Pliki raportu (*.QRP)"), QStringLiteral("qrp"), false},
        {QStringLiteral("Pliki PDF (*.PDF)"), QStringLiteral("pdf"), false},
        {QStringLiteral("Pliki tekstowe (*.TXT)"), QStringLiteral("txt"), false},
        {QStringLiteral("Pliki RTF (*.RTF)"), QStringLiteral("rtf"), false},
        {QStringLiteral("Pliki Excela (*.XLSX)"), QStringLiteral("xlsx"), true},
        {QStringLiteral("Pliki HTML (*.HTM)"), QStringLiteral("htm"), false},
        {QStringLiteral("Pliki tekstowe separowane (*.CSV)"), QStringLiteral("csv"), true},
        {QStringLiteral("Pliki graficzne (*.SVG)"), QStringLiteral("svg"), false},
    };
    return list;
}

}  // namespace

QList<ExportFormat> exportFormats()
{
    return formats();
}

const ExportFormat* formatOfFile(const QString& fileName)
{
    QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("html"))
        suffix = QStringLiteral("htm");
    else if (suffix == QLatin1String("png"))
        suffix = QStringLiteral("svg");
    for (const ExportFormat& format : formats()) {
        if (format.extension == suffix)
            return &format;
    }
    return nullptr;
}

QString exportReport(const PreparedPages& pages, const Job* job, const ExportFormat& format,
                     const QString& fileName)
{
    const QString& kind = format.extension;
    if (kind == QLatin1String("qrp"))
        return writePagesFile(pages, fileName);
    if (kind == QLatin1String("pdf"))
        return writePdf(pages, fileName);
    if (kind == QLatin1String("svg"))
        return writePictures(pages, fileName);

    if (format.tableExport) {
        // Spreadsheets want the list once: the report laid out again for a
        // table, or, for pages read from a file, its headers of page one.
        const PreparedPages table = job ? job->run(Purpose::TableExport) : pages;
        const QList<TableRow> rows = tableRows(table, PageBands::Once);
        if (kind == QLatin1String("csv"))
            return saveBytes(fileName, csvExport(rows));
        if (kind == QLatin1String("xlsx"))
            return writeXlsx(rows, pages.title, fileName);
    } else {
        const QList<TableRow> rows = tableRows(pages, PageBands::AsPrinted);
        if (kind == QLatin1String("txt"))
            return saveBytes(fileName, textExport(rows));
        if (kind == QLatin1String("rtf"))
            return saveBytes(fileName, rtfExport(rows, pages));
        if (kind == QLatin1String("htm"))
            return saveBytes(fileName, htmlExport(rows, pages.title));
    }
    return QStringLiteral("Nieznany format pliku %1").arg(QFileInfo(fileName).fileName());
}

}  // namespace report
