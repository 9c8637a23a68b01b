// The painter draws what was laid out: at every resolution the ink lands
// where the layout measured it.

#include "export_test_pages.h"

#include "printouts/page_painter.h"

#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace report;
using namespace exporttest;

namespace {

// The horizontal extent of dark ink in report units; empty when none.
QPair<double, double> inkSpan(const QImage& image, double dpi, const QColor& ink = Qt::black)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QColor pixel = image.pixelColor(x, y);
            const bool inked = ink == QColor(Qt::black) ? qGray(pixel.rgb()) < 128
                                                         : qAbs(pixel.red() - ink.red()) + qAbs(pixel.green() - ink.green()) + qAbs(pixel.blue() - ink.blue()) < 60;
            if (inked) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    const double scale = unitsPerInch / dpi;
    return first < 0 ? QPair<double, double>(-1, -1) : QPair<double, double>(first * scale, (last + 1) * scale);
}

Page pageWith(const QList<Primitive>& items)
{
    Page page;
    page.size = QSizeF(400, 60);
    page.items = items;
    return page;
}

}  // namespace

TEST(PainterTest, TextLandsWhereItWasMeasuredAtEveryResolution)
{
    const QRectF box(20, 10, 300, 20);
    for (double dpi : {96.0, 300.0, 600.0}) {
        const QImage left = renderPage(pageWith({text(box, QStringLiteral("Zażółć gęślą jaźń"))}), dpi);
        const QImage right = renderPage(pageWith({text(box, QStringLiteral("Zażółć gęślą jaźń"), Qt::AlignRight)}), dpi);
        const QImage centre = renderPage(pageWith({text(box, QStringLiteral("Zażółć gęślą jaźń"), Qt::AlignHCenter)}), dpi);
        const auto [leftStart, leftEnd] = inkSpan(left, dpi);
        const auto [rightStart, rightEnd] = inkSpan(right, dpi);
        const auto [centreStart, centreEnd] = inkSpan(centre, dpi);
        EXPECT_NEAR(leftStart, box.left(), 2) << dpi;
        EXPECT_NEAR(rightEnd, box.right(), 2) << dpi;
        EXPECT_NEAR((centreStart + centreEnd) / 2, box.center().x(), 2) << dpi;
        // The same word, as wide on every device (a font sized by the
        // device's dpi alone would grow with it).
        EXPECT_NEAR(leftEnd - leftStart, rightEnd - rightStart, 1.5) << dpi;
        EXPECT_GT(leftEnd - leftStart, 80) << dpi;
        EXPECT_LT(leftEnd - leftStart, 130) << dpi;
    }
}

TEST(PainterTest, ClippingColoursBoxesAndPictures)
{
    const QString longText = QStringLiteral("Łódź Łódź Łódź Łódź Łódź Łódź");
    TextBox clipped = text(QRectF(20, 10, 60, 20), longText);
    TextBox unclipped = clipped;
    unclipped.clip = false;
    EXPECT_NEAR(inkSpan(renderPage(pageWith({clipped}), 96), 96).second, 80, 1.5);
    EXPECT_GT(inkSpan(renderPage(pageWith({unclipped}), 96), 96).second, 150);

    // Lines of a clipped box below its bottom are not drawn.
    TextBox tall = text(QRectF(20, 5, 200, 10), QStringLiteral("Jeden\nDwa\nTrzy"));
    tall.rect.setHeight(tall.lineHeight);
    const QImage oneLine = renderPage(pageWith({tall}), 96);
    for (int y = qCeil(5 + tall.lineHeight + 1); y < oneLine.height(); ++y)
        for (int x = 0; x < oneLine.width(); ++x)
            ASSERT_GE(qGray(oneLine.pixel(x, y)), 128) << x << "," << y;

    TextBox red = text(QRectF(20, 10, 200, 20), QStringLiteral("Czerwony"));
    red.colour = Qt::red;
    EXPECT_GT(inkSpan(renderPage(pageWith({red}), 96), 96, Qt::red).first, 0);

    Box filled{QRectF(100, 10, 50, 40), Qt::black, 0, QColor(Qt::blue)};
    const QImage boxImage = renderPage(pageWith({filled}), 96);
    EXPECT_EQ(boxImage.pixelColor(125, 30), QColor(Qt::blue));
    EXPECT_EQ(boxImage.pixelColor(160, 30), QColor(Qt::white));

    // A tall picture kept in shape stands centred in a square place.
    QImage picture(10, 20, QImage::Format_RGB32);
    picture.fill(Qt::black);
    const QImage kept = renderPage(pageWith({Picture{QRectF(100, 10, 40, 40), picture, true}}), 96);
    const auto [keptStart, keptEnd] = inkSpan(kept, 96);
    EXPECT_NEAR(keptStart, 110, 1);
    EXPECT_NEAR(keptEnd, 130, 1);
    const QImage stretched = renderPage(pageWith({Picture{QRectF(100, 10, 40, 40), picture, false}}), 96);
    EXPECT_NEAR(inkSpan(stretched, 96).first, 100, 1);
}

TEST(PainterTest, PdfTextLandsWhereTheImageHasIt)
{
    // The PDF draws text as prepared glyphs, the image through the painter's
    // own text drawing: both must put the same words in the same place,
    // also letters the report faces lack and another face supplies.
    bool ok = false;
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-v")}, &ok);
    if (!ok)
        GTEST_SKIP() << "pdftoppm is not installed";
    const QRectF box(20, 10, 300, 20);
    TextBox underlined = text(box, QStringLiteral("Żółw łowi ryby"));
    underlined.font.underline = true;
    TextBox clipped = text(QRectF(20, 10, 60, 20), QStringLiteral("Łódź Łódź Łódź Łódź Łódź"));
    // Texts drawn together keep the page's painting order: a white box
    // after them hides their second half.
    const QList<QList<Primitive>> cases = {
        {text(box, QStringLiteral("Zażółć gęślą jaźń"), Qt::AlignRight)},
        {text(box, QStringLiteral("Zażółć gęślą jaźń"), Qt::AlignHCenter)},
        {text(box, QStringLiteral("Zażółć ✓★ jaźń"), Qt::AlignRight)},
        {text(box, QStringLiteral("Zażółć gęślą jaźń"), Qt::AlignLeft, true), underlined},
        {clipped},
        {text(box, QStringLiteral("Zażółć")), text(QRectF(100, 10, 200, 20), QStringLiteral("gęślą jaźń")),
         Box{QRectF(150, 0, 250, 60), Qt::white, 0, QColor(Qt::white)}}};
    QTemporaryDir dir;
    for (int i = 0; i < cases.size(); ++i) {
        PreparedPages pages;
        pages.pages = {pageWith(cases.at(i))};
        const QString pdf = dir.filePath(QStringLiteral("tekst%1.pdf").arg(i));
        ASSERT_TRUE(writePdf(pages, pdf).isEmpty());
        const QString prefix = dir.filePath(QStringLiteral("tekst%1").arg(i));
        runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
                                             QStringLiteral("-singlefile"), pdf, prefix}, &ok);
        ASSERT_TRUE(ok);
        const QImage fromPdf(prefix + QStringLiteral(".png"));
        ASSERT_FALSE(fromPdf.isNull());
        const auto [pdfStart, pdfEnd] = inkSpan(fromPdf, 300);
        const auto [imageStart, imageEnd] = inkSpan(renderPage(pages.pages.first(), 300), 300);
        EXPECT_NEAR(pdfStart, imageStart, 1) << i;
        EXPECT_NEAR(pdfEnd, imageEnd, 1) << i;
        EXPECT_GT(pdfEnd - pdfStart, 40) << i;
    }
    const auto [start, end] = inkSpan(renderPage(pageWith(cases.last()), 300), 300);
    EXPECT_NEAR(end, 150, 1);
}
