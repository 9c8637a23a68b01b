// The paged outputs: PDF read back with poppler's tools, one picture per
// page, and files that cannot be written.

#include "export_test_pages.h"

#include "printouts/export_writers.h"
#include "printouts/exports.h"
#include "printouts/page_painter.h"

#include <QDir>
#include <QImage>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace report;
using namespace exporttest;

namespace {

bool hasPoppler()
{
    bool ok = false;
    runTool(QStringLiteral("pdftotext"), {QStringLiteral("-v")}, &ok);
    return ok;
}

// Rows of the image with any dark pixel between columns x0 and x1.
bool hasInk(const QImage& image, const QRect& area)
{
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                return true;
        }
    }
    return false;
}

}  // namespace

TEST(ExportPagedTest, PdfTextReadsBackWithPolishLettersInOrderAndFontsEmbedded)
{
    if (!hasPoppler())
        GTEST_SKIP() << "poppler-utils are not installed";
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("lista.pdf"));
    const PreparedPages pages = listPages(sampleRows(), 2);
    ASSERT_EQ(exportReport(pages, nullptr, *formatOfFile(name), name), QString());

    bool ok = false;
    const QString text = QString::fromUtf8(runTool(QStringLiteral("pdftotext"), {name, QStringLiteral("-")}, &ok));
    ASSERT_TRUE(ok);
    const QStringList expected = {QStringLiteral("Zażółć gęślą jaźń"), QStringLiteral("Łódź"), QStringLiteral("1 234,50"),
                                  QStringLiteral("Kraków; \"stare\""), QStringLiteral("Strona: 1"),
                                  QStringLiteral("Zażółć gęślą jaźń"), QStringLiteral("Gdańsk"), QStringLiteral("Oliwa"),
                                  QStringLiteral("Zielona Góra"), QStringLiteral("Strona: 2")};
    qsizetype at = 0;
    for (const QString& piece : expected) {
        const qsizetype found = text.indexOf(piece, at);
        ASSERT_GE(found, 0) << piece.toStdString() << " missing after " << at << " in:\n" << text.toStdString();
        at = found + piece.size();
    }
    EXPECT_EQ(text.count(QLatin1Char('\f')), 2);

    const QString info = QString::fromUtf8(runTool(QStringLiteral("pdfinfo"), {name}));
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title: +Zażółć gęślą jaźń")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages: +2"))));

    const QStringList fonts = QString::fromUtf8(runTool(QStringLiteral("pdffonts"), {name})).split(QLatin1Char('\n')).mid(2);
    ASSERT_FALSE(fonts.filter(QStringLiteral("Liberation")).isEmpty());
    for (const QString& font : fonts.filter(QStringLiteral("Liberation")))
        EXPECT_TRUE(font.contains(QRegularExpression(QStringLiteral(" yes +(yes|no) +yes ")))) << font.toStdString();
}

TEST(ExportPagedTest, PicturesAreOnePerPageAndShowTheText)
{
    QTemporaryDir dir;
    const PreparedPages pages = listPages(sampleRows(), 2);
    const QString svg = dir.filePath(QStringLiteral("lista.svg"));
    ASSERT_EQ(exportReport(pages, nullptr, *formatOfFile(svg), svg), QString());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("lista-1.svg"), QStringLiteral("lista-2.svg")}));
    for (const QString& page : {QStringLiteral("lista-1.svg"), QStringLiteral("lista-2.svg")}) {
        QSvgRenderer renderer(dir.filePath(page));
        EXPECT_TRUE(renderer.isValid()) << page.toStdString();
    }
    EXPECT_TRUE(QString::fromUtf8(readAll(dir.filePath(QStringLiteral("lista-1.svg")))).contains(QStringLiteral("Łódź")));

    // One page: the name itself, as PNG when asked, with ink where the texts are.
    const QString png = dir.filePath(QStringLiteral("strona.PNG"));
    const PreparedPages onePage = listPages(sampleRows().mid(0, 1), 2);
    ASSERT_EQ(exportReport(onePage, nullptr, *formatOfFile(png), png), QString());
    QImage image(png);
    ASSERT_FALSE(image.isNull());
    const double scale = image.width() / onePage.pages.first().size.width();
    EXPECT_NEAR(image.height() / scale, onePage.pages.first().size.height(), 1);
    const auto onImage = [scale](const QRectF& r) { return QRectF(r.topLeft() * scale, r.size() * scale).toRect(); };
    const TextBox& city = std::get<TextBox>(onePage.pages.first().items.at(onePage.pages.first().bands.at(2).first));
    EXPECT_EQ(city.text(), QStringLiteral("Łódź"));
    EXPECT_TRUE(hasInk(image, onImage(city.rect)));
    EXPECT_FALSE(hasInk(image, onImage(QRectF(city.rect.left(), city.rect.bottom() + 1, 300, 100))));
}

TEST(ExportPagedTest, FailedWritesSayWhyAndLeaveNoFileBehind)
{
    QTemporaryDir dir;
    FakeJob job(sampleRows());
    const PreparedPages pages = job.run(Purpose::Pages);
    const QString missing = dir.filePath(QStringLiteral("brak"));
    for (const ExportFormat& format : exportFormats()) {
        const QString name = missing + QStringLiteral("/raport.") + format.extension;
        const QString error = exportReport(pages, &job, format, name);
        // Two pages make two pictures, named by page.
        const QString shownName = format.extension == QLatin1String("svg") ? QStringLiteral("raport-1.svg")
                                                                           : QStringLiteral("raport.") + format.extension;
        EXPECT_TRUE(error.startsWith(QStringLiteral("Nie można zapisać pliku ") + shownName + QStringLiteral(": folder ")))
            << error.toStdString();
        EXPECT_TRUE(error.endsWith(QStringLiteral("nie istnieje"))) << error.toStdString();
        EXPECT_FALSE(QFileInfo::exists(missing));
    }

    // A folder in the way of the name: the message says so, nothing stays.
    for (const ExportFormat& format : exportFormats()) {
        const QString name = dir.filePath(QStringLiteral("zajete.") + format.extension);
        ASSERT_TRUE(QDir().mkpath(name));
        const QString error = exportReport(pages, &job, format, name);
        // Pictures of two pages go under other names, which are free.
        if (format.extension == QLatin1String("svg")) {
            EXPECT_EQ(error, QString());
            continue;
        }
        EXPECT_TRUE(error.startsWith(QStringLiteral("Nie można zapisać pliku zajete."))) << error.toStdString();
    }
    QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, (QStringList{QStringLiteral("zajete-1.svg"), QStringLiteral("zajete-2.svg")}));

    // Every format written over an existing file replaces it and leaves no
    // temporary file beside it.
    QTemporaryDir clean;
    for (const ExportFormat& format : exportFormats()) {
        const QString name = clean.filePath(QStringLiteral("raport.") + format.extension);
        for (int round = 0; round < 2; ++round)
            ASSERT_EQ(exportReport(pages, &job, format, name), QString()) << format.extension.toStdString();
    }
    EXPECT_EQ(QDir(clean.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{"raport-1.svg", "raport-2.svg", "raport.csv", "raport.htm", "raport.pdf", "raport.qrp",
                           "raport.rtf", "raport.txt", "raport.xlsx"}));
}

TEST(ExportPagedTest, RegistryListsTheDialogsFormatsInOrderAndKnowsExtensions)
{
    QStringList filters;
    for (const ExportFormat& format : exportFormats())
        filters.append(format.filter);
    EXPECT_EQ(filters, (QStringList{"Pliki raportu (*.QRP)", "Pliki PDF (*.PDF)", "Pliki tekstowe (*.TXT)",
                                    "Pliki RTF (*.RTF)", "Pliki Excela (*.XLSX)", "Pliki HTML (*.HTM)",
                                    "Pliki tekstowe separowane (*.CSV)", "Pliki graficzne (*.SVG)"}));
    EXPECT_EQ(formatOfFile(QStringLiteral("/a/b.Html"))->extension, QStringLiteral("htm"));
    EXPECT_EQ(formatOfFile(QStringLiteral("b.png"))->extension, QStringLiteral("svg"));
    EXPECT_TRUE(formatOfFile(QStringLiteral("B.CSV"))->tableExport);
    EXPECT_FALSE(formatOfFile(QStringLiteral("b.txt"))->tableExport);
    EXPECT_EQ(formatOfFile(QStringLiteral("b.doc")), nullptr);
    EXPECT_EQ(formatOfFile(QStringLiteral("csv")), nullptr);
}
