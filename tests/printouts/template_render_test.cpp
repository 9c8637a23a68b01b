// Templates turned into report bands: the cut by the markers, the items of
// the elements, the data fields shared by the documents, the child code and
// its Code 39 bars read back by a scanner program.

#include "export_test_pages.h"

#include "printouts/child_code.h"
#include "printouts/code39.h"
#include "printouts/page_painter.h"
#include "printouts/report_engine.h"
#include "printouts/template_cache.h"
#include "printouts/template_field_values.h"
#include "printouts/template_layout_text.h"
#include "printouts/template_render.h"
#include "store/error.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace printouts;

namespace {

TemplateElement element(ElementKind kind, const QString& content, int top, int left = 10, int height = 17)
{
    TemplateElement e = TemplateElement::created(kind, QPoint(left, top));
    e.content = content;
    e.box.setHeight(height);
    return e;
}

TemplateElement field(const QString& name, int top) { return element(ElementKind::DataField, name, top); }
TemplateElement text(const QString& content, int top) { return element(ElementKind::FixedText, content, top); }

PrintTemplate layoutOf(QList<TemplateElement> elements)
{
    PrintTemplate t;
    t.elements = std::move(elements);
    return t;
}

// The element indexes of a band as "i,j,...".
QString members(const BandSplit& split, int band)
{
    QStringList out;
    for (int i : split.elements[band])
        out << QString::number(i);
    return out.join(QLatin1Char(','));
}

DataFieldValues echoFields(QStringList known)
{
    DataFieldValues f;
    f.knows = [known](const QString& name) { return known.contains(name); };
    f.value = [](const QString& name, const report::RunState&) { return QStringLiteral("<%1>").arg(name); };
    return f;
}

ChildAddress sampleChild()
{
    ChildAddress c;
    c.kod = 5;
    c.nazwa = QStringLiteral("Kowalska Zofia");
    c.przedul = QStringLiteral("ul.");
    c.ulica = QStringLiteral("Polna 3");
    c.kodpocz = QStringLiteral("00-950");
    c.miasto = QStringLiteral("Warszawa");
    c.pesel = QStringLiteral("19210112345");
    c.dane1 = QStringLiteral("d1");
    c.dane2 = QStringLiteral("d2");
    return c;
}

}  // namespace

TEST(TemplateBandSplitTest, LettersCutBySeparatorEndAndFooterWithEdgeElementsInBothBands)
{
    // No marker: S = 0, the title band is off and everything is detail.
    BandSplit split = splitBands(layoutOf({text(QStringLiteral("a"), 0), text(QStringLiteral("b"), 500)}),
                                 TemplateDocument::Letters);
    EXPECT_FALSE(split.isEnabled(1));
    EXPECT_TRUE(split.isEnabled(2));
    EXPECT_FALSE(split.isEnabled(3));
    EXPECT_FALSE(split.isEnabled(4));
    EXPECT_EQ(members(split, 2), QStringLiteral("0,1"));

    // Only "Stopka" at 900: detail takes y < 900, the page footer y >= 899 shifted up by 900.
    split = splitBands(layoutOf({text(QStringLiteral("a"), 10), text(QStringLiteral("edge"), 899),
                                 field(QStringLiteral("Stopka"), 900), text(QStringLiteral("foot"), 910)}),
                       TemplateDocument::Letters);
    EXPECT_EQ(members(split, 2), QStringLiteral("0,1"));
    EXPECT_TRUE(split.isEnabled(4));
    EXPECT_EQ(split.offset[4], 900);
    EXPECT_EQ(members(split, 4), QStringLiteral("1,2,3"));

    // All three markers; the element one pixel above each marker prints in both bands.
    split = splitBands(layoutOf({text(QStringLiteral("title"), 0), field(QStringLiteral("Separator"), 100),
                                 text(QStringLiteral("s-1"), 99), field(QStringLiteral("Separator końcowy"), 300),
                                 text(QStringLiteral("e-1"), 299), field(QStringLiteral("Stopka"), 800)}),
                       TemplateDocument::Letters);
    EXPECT_EQ(members(split, 1), QStringLiteral("0,2"));
    EXPECT_EQ(members(split, 2), QStringLiteral("1,2,4"));
    EXPECT_EQ(members(split, 3), QStringLiteral("3,4"));
    EXPECT_EQ(members(split, 4), QStringLiteral("5"));
    EXPECT_EQ(split.offset[2], 100);
    EXPECT_EQ(split.offset[3], 300);

    // An end marker above the separator is moved down to it; a footer above the end marker likewise.
    split = splitBands(layoutOf({field(QStringLiteral("Separator"), 200), field(QStringLiteral("Separator końcowy"), 50),
                                 field(QStringLiteral("Stopka"), 20)}),
                       TemplateDocument::Letters);
    EXPECT_EQ(split.endSeparator, 200);
    EXPECT_EQ(split.footer, 200);
    EXPECT_FALSE(split.isEnabled(2));
    EXPECT_FALSE(split.isEnabled(3));
    EXPECT_TRUE(split.isEnabled(4));
}

TEST(TemplateBandSplitTest, InvoicesKeepTheirPageFooterWithoutAnEndMarker)
{
    // Neither marker: everything is the document header.
    BandSplit split = splitBands(layoutOf({text(QStringLiteral("a"), 0), text(QStringLiteral("b"), 1000)}),
                                 TemplateDocument::Invoices);
    EXPECT_EQ(members(split, 2), QStringLiteral("0,1"));
    EXPECT_FALSE(split.isEnabled(1));
    EXPECT_FALSE(split.isEnabled(3));
    EXPECT_FALSE(split.isEnabled(4));

    // "Stopka" alone: it ends the header and the page footer still prints.
    split = splitBands(layoutOf({text(QStringLiteral("head"), 0), field(QStringLiteral("Stopka"), 700),
                                 text(QStringLiteral("foot"), 720)}),
                       TemplateDocument::Invoices);
    EXPECT_EQ(members(split, 2), QStringLiteral("0"));
    EXPECT_FALSE(split.isEnabled(3));
    EXPECT_TRUE(split.isEnabled(4));
    EXPECT_EQ(members(split, 4), QStringLiteral("1,2"));

    // An end marker at the very top: the header band stays on but empty;
    // the separator ignores "Separator" (letters only).
    split = splitBands(layoutOf({field(QStringLiteral("Separator końcowy"), 0), text(QStringLiteral("x"), 5),
                                 field(QStringLiteral("Separator"), 3)}),
                       TemplateDocument::Invoices);
    EXPECT_TRUE(split.isEnabled(2));
    EXPECT_TRUE(split.elements[2].isEmpty());
    EXPECT_EQ(members(split, 3), QStringLiteral("0,1,2"));
    EXPECT_EQ(split.offset[3], 0);

    // Confirmations: one band, every element at its own place.
    split = splitBands(layoutOf({field(QStringLiteral("Stopka"), 10), text(QStringLiteral("x"), 900)}),
                       TemplateDocument::Confirmations);
    EXPECT_EQ(members(split, 2), QStringLiteral("0,1"));
    EXPECT_EQ(split.offset[2], 0);
    EXPECT_FALSE(split.isEnabled(4));
}

TEST(TemplateBandsTest, ItemsOfElementsShiftedLayeredAndSized)
{
    TemplateElement frame = element(ElementKind::Shape, QStringLiteral("Ramka"), 320, 0, 40);
    frame.font.size = 3;
    frame.font.colour = 0x0000FF;  // red in the stored BGR order
    TemplateElement sides = element(ElementKind::Shape, QStringLiteral("Lewa i prawa"), 330, 0, 20);
    TemplateElement picture = element(ElementKind::Picture, QStringLiteral("7 logo"), 340);
    TemplateElement badPicture = element(ElementKind::Picture, QStringLiteral("7; drop table OBRAZY"), 340);
    const PrintTemplate layout = layoutOf({
        text(QStringLiteral("Linia 1\r\nLinia 2"), 310),
        frame,
        field(QStringLiteral("Nazwa"), 315),
        field(QStringLiteral("Nieznane"), 400),
        sides,
        picture,
        badPicture,
        field(QStringLiteral("Separator końcowy"), 300),
    });
    QImage logo(4, 4, QImage::Format_RGB32);
    logo.fill(Qt::blue);
    const TemplateBands bands =
        buildTemplateBands(layout, TemplateDocument::Invoices, echoFields({QStringLiteral("Nazwa")}), {{7, logo}});
    ASSERT_TRUE(bands.band(2).has_value());
    EXPECT_TRUE(bands.band(2)->items.isEmpty());
    ASSERT_TRUE(bands.band(3).has_value());
    const QList<report::Item>& items = bands.band(3)->items;
    // Shapes and pictures beneath: rectangle, two lines, two pictures; then the texts; no item
    // for the unknown field or the marker.
    ASSERT_EQ(items.size(), 7);
    EXPECT_EQ(items[0].kind, report::Item::Kind::Rectangle);
    EXPECT_EQ(items[0].rect, QRectF(0, 20, 150, 40));
    EXPECT_EQ(items[0].lineWidth, 3);
    EXPECT_EQ(items[0].lineColour, QColor(Qt::red));
    EXPECT_EQ(items[1].kind, report::Item::Kind::Line);
    EXPECT_EQ(items[1].rect.left(), items[1].rect.right());  // vertical
    EXPECT_EQ(items[3].kind, report::Item::Kind::Picture);
    EXPECT_EQ(items[3].image, logo);
    EXPECT_TRUE(items[4].image.isNull());
    EXPECT_EQ(items[5].kind, report::Item::Kind::Text);
    EXPECT_EQ(items[5].text, QStringLiteral("Linia 1\r\nLinia 2"));
    EXPECT_TRUE(items[5].style.wordWrap);
    EXPECT_EQ(items[6].kind, report::Item::Kind::Computed);
    EXPECT_EQ(items[6].compute(report::RunState{}), QStringLiteral("<Nazwa>"));
    EXPECT_EQ(items[6].rect, QRectF(10, 15, 150, 17));
    // As high as the lowest item that was placed (the unknown field at 400 adds nothing).
    EXPECT_EQ(bands.band(3)->height, 60);

    // A landscape header line is honoured.
    PrintTemplate landscape = layout;
    landscape.landscape = true;
    EXPECT_TRUE(buildTemplateBands(landscape, TemplateDocument::Invoices, echoFields({})).landscape);
}

TEST(TemplateBandsTest, CacheRebuildsOnlyForAnotherIdOrLayoutAndKeepsTheLastGoodBuild)
{
    TemplateCache cache;
    int pictureReads = 0;
    const auto reader = [&](const PrintTemplate&) {
        ++pictureReads;
        return TemplatePictures{};
    };
    const QString first = writeLayout(layoutOf({text(QStringLiteral("A"), 0)}));
    const QString second = writeLayout(layoutOf({text(QStringLiteral("B"), 0)}));
    const auto built = cache.get(1, first, reader);
    EXPECT_EQ(cache.get(1, first, reader), built);
    EXPECT_EQ(pictureReads, 1);
    EXPECT_NE(cache.get(2, first, reader), built);
    const auto edited = cache.get(2, second, reader);
    EXPECT_EQ(edited->layout.elements.first().content, QStringLiteral("B"));
    EXPECT_EQ(pictureReads, 3);

    const QString malformed = QStringLiteral("\r\nStały tekst\r\nX\r\nlewo\r\n0\r\n1\r\n1\r\n0\r\n0\r\nArial\r\n238\r\n0\r\n"
                                             "-13\r\n0\r\n10\r\n ");
    EXPECT_THROW(cache.get(3, malformed, reader), Error);
    EXPECT_TRUE(cache.holds(2, second));
}

TEST(TemplateFieldsTest, ChildCodesAndEveryChildFieldWithAndWithoutCorrespondenceAddress)
{
    EXPECT_EQ(childCode(12, 5), QStringLiteral("120058"));
    EXPECT_EQ(childCode(1, 1234), QStringLiteral("112341"));
    EXPECT_EQ(childCode(100, 7), QStringLiteral("1000078"));
    EXPECT_EQ(childCode(57, 12), QStringLiteral("570123"));

    ChildAddress c = sampleChild();
    auto value = [&](const char* name) { return childFieldValue(QString::fromUtf8(name), c, 12).value_or("<none>"); };
    EXPECT_EQ(value("Nazwa"), QStringLiteral("Kowalska Zofia"));
    EXPECT_EQ(value("Adres"), QStringLiteral("ul. Polna 3\r\n00-950 Warszawa"));
    EXPECT_EQ(value("PESEL"), QStringLiteral("19210112345"));
    EXPECT_EQ(value("Nazwa kores."), QStringLiteral("Kowalska Zofia"));
    EXPECT_EQ(value("Adres kores."), QStringLiteral("ul. Polna 3\r\n00-950 Warszawa"));
    EXPECT_EQ(value("Nazwa i adres kores."), QStringLiteral("Kowalska Zofia\r\nul. Polna 3\r\n00-950 Warszawa"));
    EXPECT_EQ(value("Dane 1"), QStringLiteral("d1"));
    EXPECT_EQ(value("Dane 2"), QStringLiteral("d2"));
    EXPECT_EQ(value("Nazwa dzielona"), QStringLiteral("Kowalska\r\nZofia"));
    EXPECT_EQ(value("Kod"), QStringLiteral("120058"));
    EXPECT_EQ(value("Kod kreskowy"), QStringLiteral("*120058*"));
    EXPECT_EQ(value("Wartość salda"), QStringLiteral("<none>"));

    // Each correspondence line falls back on its own.
    c.nazwakor = QStringLiteral("Kowalski Jan");
    c.przedulkor = QStringLiteral("al.");
    c.ulicakor = QStringLiteral("Długa 1");
    EXPECT_EQ(value("Nazwa kores."), QStringLiteral("Kowalski Jan"));
    EXPECT_EQ(value("Adres kores."), QStringLiteral("al. Długa 1\r\n00-950 Warszawa"));
    c.kodpoczkor = QStringLiteral("80-001");
    c.miastokor = QStringLiteral("Gdańsk");
    EXPECT_EQ(value("Nazwa i adres kores."), QStringLiteral("Kowalski Jan\r\nal. Długa 1\r\n80-001 Gdańsk"));

    Institution firm;
    firm.name = QStringLiteral("Przedszkole nr 1");
    firm.address = QStringLiteral("ul. Leśna 2, 00-001 Warszawa, Polska");
    firm.nip = QStringLiteral("123-456-32-18");
    EXPECT_EQ(institutionFieldValue(QStringLiteral("Adres przedszkola"), firm, TemplateDocument::Invoices),
              QStringLiteral("ul. Leśna 2\r\n00-001 Warszawa, Polska"));
    EXPECT_EQ(institutionFieldValue(QStringLiteral("Adres przedszkola"), firm, TemplateDocument::Letters), firm.address);
    EXPECT_EQ(institutionFieldValue(QStringLiteral("NIP przedszkola"), firm, TemplateDocument::Invoices), firm.nip);
    EXPECT_EQ(reportMonth(2024, 3), QStringLiteral("marzec 2024"));
    EXPECT_EQ(operationDate(QDate(2024, 3, 5)), QStringLiteral("05.03.2024"));
}

TEST(TemplateBarcodeTest, Code39BarsOfTheChildCodeScanFromARenderedPage)
{
    bool ok = false;
    exporttest::runTool(QStringLiteral("zbarimg"), {QStringLiteral("--version")}, &ok);
    if (!ok)
        GTEST_SKIP() << "zbarimg is not installed";

    // The table's start/stop character and an unknown one.
    ASSERT_NE(code39Pattern(QLatin1Char('*')), nullptr);
    EXPECT_EQ(code39Pattern(QChar(0x0105)), nullptr);
    const QList<report::Box> bars = code39Bars(QStringLiteral("*1*"), QRectF(0, 0, 300, 50));
    ASSERT_EQ(bars.size(), 15);
    EXPECT_GT(bars.first().rect.left(), 0);  // quiet zone
    EXPECT_LT(bars.last().rect.right(), 300);

    // A letters template with the barcode field, run for a child, painted by the one painter.
    TemplateElement code = field(QStringLiteral("Kod kreskowy"), 20);
    code.box = QRect(20, 20, 260, 70);
    const ChildAddress child = sampleChild();
    DataFieldValues fields;
    fields.knows = [](const QString& name) { return isChildField(name); };
    fields.value = [child](const QString& name, const report::RunState&) {
        return childFieldValue(name, child, 12).value_or(QString());
    };
    const TemplateBands bands = buildTemplateBands(layoutOf({code}), TemplateDocument::Letters, fields);
    report::Report definition;
    definition.detail = *bands.band(2);
    report::Rows rows;
    rows.fields = QStringList{QStringLiteral("KOD")};
    rows.rows.append(QVariantList{5});
    const report::PreparedPages pages = report::prepare(definition, rows);
    ASSERT_EQ(pages.pages.size(), 1);
    // The readable text is kept under the bars.
    bool readable = false;
    for (const report::Primitive& p : pages.pages.first().items)
        if (const auto* t = std::get_if<report::TextBox>(&p))
            readable = readable || t->text() == QStringLiteral("*120058*");
    EXPECT_TRUE(readable);

    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("kod.png"));
    ASSERT_TRUE(report::renderPage(pages.pages.first(), 200).save(png));
    const QString scanned = QString::fromUtf8(
        exporttest::runTool(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), png}, &ok));
    EXPECT_TRUE(ok);
    EXPECT_EQ(scanned.trimmed(), QStringLiteral("120058"));
}
