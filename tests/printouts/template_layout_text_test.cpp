// The layout text of print templates: what the designer writes reads back
// into the same model and is written again byte for byte; what it cannot
// have written is read leniently or refused with a message.

#include "printouts/print_template.h"
#include "printouts/template_data_fields.h"
#include "printouts/template_layout_text.h"
#include "store/error.h"

#include <gtest/gtest.h>

using namespace printouts;

namespace {

const QString bel(QChar(0x07));

QString lines(const QStringList& l, const QString& eol = QStringLiteral("\r\n"))
{
    return l.join(eol);
}

// A landscape three-column layout as the designer writes it: a shape, a
// bold underlined two-line text, a barcode field in a symbol font.
QStringList designerLines()
{
    return {
        QStringLiteral("POZIOMOKOLUMNY3"),
        QStringLiteral("Kształt"), QStringLiteral("Góra i dół"), QStringLiteral("0"), QStringLiteral("-3"),
        QStringLiteral("300"), QStringLiteral("40"), QStringLiteral("-16777201"), QStringLiteral("0"),
        QStringLiteral("Arial"), QStringLiteral("238"), QStringLiteral("255"), QStringLiteral("-11"),
        QStringLiteral("0"), QStringLiteral("2"), QStringLiteral(" "),
        QStringLiteral("Stały tekst"), QStringLiteral("Pierwszy wiersz") + bel + QStringLiteral("drugi"),
        QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("150"), QStringLiteral("34"),
        QStringLiteral("16777215"), QStringLiteral("2"), QStringLiteral("Times New Roman"), QStringLiteral("238"),
        QStringLiteral("0"), QStringLiteral("-16"), QStringLiteral("1"), QStringLiteral("12"), QStringLiteral(" 02"),
        QStringLiteral("Zmienny tekst"), QStringLiteral("Kod kreskowy"), QStringLiteral("5"), QStringLiteral("60"),
        QStringLiteral("200"), QStringLiteral("30"), QStringLiteral("16777215"), QStringLiteral("1"),
        QStringLiteral("Code 39"), QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("-32"),
        QStringLiteral("2"), QStringLiteral("24"), QStringLiteral(" 13"),
    };
}

TEST(TemplateLayoutText, DesignerTextReadsIntoTheModelAndIsWrittenBack)
{
    const QString text = lines(designerLines());
    const PrintTemplate t = readLayout(text);
    EXPECT_TRUE(t.landscape);
    EXPECT_EQ(t.columns, 3);
    EXPECT_EQ(t.printableSize(), QSize(1047, 718));
    ASSERT_EQ(t.elements.size(), 3);

    const TemplateElement& shape = t.elements[0];
    EXPECT_EQ(shape.kind, ElementKind::Shape);
    EXPECT_EQ(shapeVariantOf(shape.content), ShapeVariant::TopAndBottom);
    EXPECT_EQ(shape.box, QRect(0, -3, 300, 40));
    EXPECT_EQ(shape.background, -16777201);
    EXPECT_EQ(shape.font.colour, 255);
    EXPECT_EQ(shape.font.size, 2);

    const TemplateElement& fixed = t.elements[1];
    EXPECT_EQ(fixed.kind, ElementKind::FixedText);
    EXPECT_EQ(fixed.content, QStringLiteral("Pierwszy wiersz\r\ndrugi"));
    EXPECT_EQ(fixed.alignment, TextAlignment::Centre);
    EXPECT_EQ(fixed.font.name, QStringLiteral("Times New Roman"));
    EXPECT_EQ(fixed.font.height, -16);
    EXPECT_EQ(fixed.font.pitch, 1);
    EXPECT_TRUE(fixed.font.bold && fixed.font.underline);
    EXPECT_FALSE(fixed.font.italic || fixed.font.strikeOut);

    const TemplateElement& barcode = t.elements[2];
    EXPECT_EQ(barcode.kind, ElementKind::DataField);
    EXPECT_EQ(barcode.font.charset, 2);
    EXPECT_TRUE(barcode.font.italic && barcode.font.strikeOut);
    EXPECT_FALSE(barcode.font.bold || barcode.font.underline);

    EXPECT_EQ(writeLayout(t), text);
    EXPECT_EQ(t.layoutText(), text);
}

TEST(TemplateLayoutText, OnlyTheBarcodeFieldKeepsItsCharset)
{
    PrintTemplate t;
    TemplateElement name = TemplateElement::created(ElementKind::DataField, {0, 0});
    name.content = QStringLiteral("Nazwa");
    name.font.charset = 2;
    TemplateElement barcode = name;
    barcode.content = field::barcode();
    TemplateElement fixed = TemplateElement::created(ElementKind::FixedText, {0, 20});
    fixed.content = field::barcode();  // a fixed text, not the field
    fixed.font.charset = 0;
    t.elements = {name, barcode, fixed};

    const PrintTemplate back = readLayout(writeLayout(t));
    EXPECT_EQ(back.elements[0].font.charset, 238);
    EXPECT_EQ(back.elements[1].font.charset, 2);
    EXPECT_EQ(back.elements[2].font.charset, 238);
    // Plain style is a single space, so the line is never empty.
    EXPECT_TRUE(writeLayout(t).endsWith(QStringLiteral("\r\n10\r\n ")));
}

TEST(TemplateLayoutText, HeaderLine)
{
    const PrintTemplate empty = readLayout(QString());
    EXPECT_FALSE(empty.landscape);
    EXPECT_EQ(empty.columns, 1);
    EXPECT_TRUE(empty.elements.isEmpty());
    EXPECT_EQ(writeLayout(empty), QString());

    // The header line counts even when it is the only line.
    const PrintTemplate alone = readLayout(QStringLiteral("POZIOMO"));
    EXPECT_TRUE(alone.landscape);
    EXPECT_EQ(writeLayout(alone), QStringLiteral("POZIOMO"));

    EXPECT_EQ(readLayout(QStringLiteral("KOLUMNYx")).columns, 1);
    EXPECT_EQ(readLayout(QStringLiteral("KOLUMNY0")).columns, 1);
    EXPECT_EQ(readLayout(QStringLiteral("KOLUMNY")).columns, 1);
    EXPECT_EQ(readLayout(QStringLiteral("KOLUMNY9")).columns, 9);

    // A portrait page with elements begins with an empty header line.
    PrintTemplate one;
    one.add(TemplateElement::created(ElementKind::FixedText, {5, 6}));
    EXPECT_TRUE(writeLayout(one).startsWith(QStringLiteral("\r\nStały tekst\r\nStały tekst\r\n5\r\n6\r\n150\r\n17\r\n")));
}

TEST(TemplateLayoutText, LfLineEndsAndATrailingIncompleteGroup)
{
    const QStringList l = designerLines();
    const QString text = lines(l);
    EXPECT_EQ(writeLayout(readLayout(lines(l, QStringLiteral("\n")))), text);

    // A final line end and a group cut short add nothing.
    EXPECT_EQ(writeLayout(readLayout(text + QStringLiteral("\r\n"))), text);
    QStringList cut = l;
    cut << l.mid(1, 14);
    const PrintTemplate t = readLayout(lines(cut));
    EXPECT_EQ(t.elements.size(), 3);
    EXPECT_EQ(writeLayout(t), text);
}

TEST(TemplateLayoutText, LineBreaksInsideTexts)
{
    PrintTemplate t;
    TemplateElement e = TemplateElement::created(ElementKind::FixedText, {0, 0});
    e.content = QStringLiteral("a\r\nb\nc\rd");
    t.add(e);
    const QString text = writeLayout(t);
    EXPECT_TRUE(text.contains(QStringLiteral("\r\na") + bel + QStringLiteral("b") + bel + QStringLiteral("c") + bel
                              + QStringLiteral("d\r\n")));
    EXPECT_EQ(readLayout(text).elements[0].content, QStringLiteral("a\r\nb\r\nc\r\nd"));
}

TEST(TemplateLayoutText, MalformedTextIsRefusedAndChangesNothing)
{
    QStringList bad = designerLines();
    bad[19] = QStringLiteral("12a");  // the fixed text's top
    try {
        readLayout(lines(bad));
        FAIL() << "a malformed number was read";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), notANumberMessage(20, QStringLiteral("12a")));
        EXPECT_EQ(e.message(), QStringLiteral("Błędny układ szablonu: w wierszu 20 „12a” nie jest liczbą całkowitą"));
    }
    QStringList unknown = designerLines();
    unknown[16] = QStringLiteral("Tekst");
    try {
        readLayout(lines(unknown));
        FAIL() << "an unknown kind was read";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), unknownKindMessage(17, QStringLiteral("Tekst")));
    }
    // A colour beyond 32 bits is not a colour value.
    QStringList wide = designerLines();
    wide[7] = QStringLiteral("4294967295");
    EXPECT_THROW(readLayout(lines(wide)), Error);

    PrintTemplate kept = readLayout(lines(designerLines()));
    const PrintTemplate before = kept;
    EXPECT_THROW(kept.load(lines(bad)), Error);
    EXPECT_EQ(kept, before);
    kept.load(QStringLiteral("POZIOMO"));
    EXPECT_TRUE(kept.elements.isEmpty());
}

TEST(PrintTemplate, ElementsColoursAndFonts)
{
    // New shapes and pictures go beneath texts.
    PrintTemplate t;
    t.add(TemplateElement::created(ElementKind::FixedText, {0, 0}));
    EXPECT_EQ(t.add(TemplateElement::created(ElementKind::Shape, {1, 1})), 0);
    EXPECT_EQ(t.add(TemplateElement::created(ElementKind::DataField, {2, 2})), 2);
    EXPECT_EQ(t.elements[0].content, QStringLiteral("Ramka"));
    EXPECT_EQ(t.elements[0].font.size, 1);
    EXPECT_EQ(t.elements[2].content, QStringLiteral("Zmienny tekst"));
    EXPECT_EQ(t.elements[2].box, QRect(2, 2, 150, 17));

    TemplateElement picture = TemplateElement::created(ElementKind::Picture, {0, 0});
    EXPECT_EQ(picture.pictureCode(), std::nullopt);
    picture.content = QStringLiteral("12 Logo przedszkola");
    EXPECT_EQ(picture.pictureCode(), 12);
    picture.content = QStringLiteral("1; drop table OBRAZY");
    EXPECT_EQ(picture.pictureCode(), std::nullopt);

    EXPECT_EQ(colourOf(16777215), QColor(Qt::white));
    EXPECT_EQ(colourOf(255), QColor(255, 0, 0));
    EXPECT_EQ(colourOf(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(colourOf(-16777211), QColor(Qt::white));  // window background
    EXPECT_EQ(colourOf(-16777208), QColor(Qt::black));  // window text
    EXPECT_FALSE(colourOf(0x1FFFFFFF).isValid());
    EXPECT_EQ(colourValue(QColor(1, 2, 3)), 0x030201);
    EXPECT_EQ(colourOf(colourValue(QColor(10, 200, 30))), QColor(10, 200, 30));

    TemplateFont f;
    f.name = QStringLiteral("Verdana");
    f.size = 12;
    f.height = -50;  // the size wins
    f.bold = f.strikeOut = true;
    const report::TextFont tf = textFont(f);
    EXPECT_EQ(tf.family, QStringLiteral("Verdana"));
    EXPECT_DOUBLE_EQ(tf.pointSize, 12);
    EXPECT_TRUE(tf.bold && tf.strikeOut && !tf.italic && !tf.underline);
    f.size = 0;
    f.height = -16;
    EXPECT_DOUBLE_EQ(textFont(f).pointSize, 12);
    EXPECT_EQ(fontHeightForSize(10), -13);
    EXPECT_EQ(fontHeightForSize(8), -11);
}

TEST(TemplateDataFields, OfferedByTypeInMenuOrder)
{
    EXPECT_EQ(dataFieldNames().size(), 34);
    EXPECT_EQ(dataFieldNames().first(), QStringLiteral("Nazwa"));
    EXPECT_EQ(dataFieldNames().last(), QStringLiteral("Stopka"));
    EXPECT_EQ(dataFieldsOffered(TemplateType::Confirmations),
              (QStringList{QStringLiteral("Nazwa"), QStringLiteral("Adres"), QStringLiteral("PESEL"),
                           QStringLiteral("Nazwa kores."), QStringLiteral("Adres kores."),
                           QStringLiteral("Nazwa i adres kores."), QStringLiteral("Tytuł raportu"),
                           QStringLiteral("Wartość naliczenia"), QStringLiteral("Wartość naliczenia słownie"),
                           QStringLiteral("Data operacji")}));
    const QStringList invoices = dataFieldsOffered(TemplateType::Invoices);
    EXPECT_EQ(invoices.size(), 22);
    EXPECT_TRUE(invoices.contains(QStringLiteral("Numer dokumentu pierwotnego")));
    EXPECT_FALSE(invoices.contains(field::separator()));
    EXPECT_TRUE(invoices.contains(field::endSeparator()) && invoices.contains(field::footer()));
    EXPECT_EQ(dataFieldsOffered(TemplateType::Letters).size(), 19);
    EXPECT_EQ(dataFieldsOffered(TemplateType::Statements).size(), 20);
    EXPECT_TRUE(isBandMarker(QStringLiteral("Separator końcowy")));
    EXPECT_FALSE(isBandMarker(QStringLiteral("Nazwa")));
}

}  // namespace
