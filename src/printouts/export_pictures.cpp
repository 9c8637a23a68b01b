#include "export_writers.h"

#include "export_files.h"
#include "page_painter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

namespace report {

namespace {

// Sharp enough to read and print a page, small enough to mail.
constexpr double pngDpi = 150;

bool wantsPng(const QString& fileName)
{
    return QFileInfo(fileName).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0;
}

QByteArray svgOf(const Page& page, const QString& title)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(int(unitsPerInch));
    generator.setSize(page.size.toSize());
    generator.setViewBox(QRectF(QPointF(0, 0), page.size));
    generator.setTitle(title);
    QPainter painter(&generator);
    paintPage(painter, page, unitsPerInch);
    painter.end();
    return buffer.data();
}

QByteArray pngOf(const Page& page)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    renderPage(page, pngDpi).save(&buffer, "PNG");
    return buffer.data();
}

}  // namespace

QStringList pictureFileNames(const QString& fileName, int pageCount)
{
    if (pageCount == 1)
        return {fileName};
    const QFileInfo info(fileName);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString stem = fileName.left(fileName.size() - suffix.size());
    QStringList names;
    for (int page = 1; page <= pageCount; ++page)
        names.append(stem + QLatin1Char('-') + QString::number(page) + suffix);
    return names;
}

QString writePictures(const PreparedPages& pages, const QString& fileName)
{
    if (pages.pages.isEmpty())
        return QStringLiteral("Raport nie ma stron do zapisania");
    const bool png = wantsPng(fileName);
    const QStringList names = pictureFileNames(fileName, int(pages.pages.size()));
    StagedFiles files;
    for (int i = 0; i < pages.pages.size(); ++i) {
        const Page& page = pages.pages.at(i);
        const QString error = files.add(names.at(i), png ? pngOf(page) : svgOf(page, pages.title));
        if (!error.isEmpty())
            return error;
    }
    return files.commit();
}

}  // namespace report
