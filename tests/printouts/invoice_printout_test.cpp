// The invoices printout on a small store: an invoice with two VAT rates and
// a sibling's line, a correction lowering a price, the selection filters,
// the quantity decimals, an empty month, and the text read back from PDF.

#include "export_test_pages.h"
#include "support/store_fixture.h"

#include "printouts/amount_in_words.h"
#include "printouts/invoice_printout.h"
#include "printouts/page_painter.h"
#include "printouts/template_layout_text.h"
#include "printouts/template_picker.h"
#include "store/query.h"

#include <QBuffer>
#include <QTemporaryDir>

using namespace printouts;

namespace {

class InvoicePrintoutTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        if (!db->hasColumn(QStringLiteral("NALICZ"), QStringLiteral("IDF")) || !db->hasTable(QStringLiteral("FAKT")))
            GTEST_SKIP() << "store without invoicing columns";
        exec(QStringLiteral("UPDATE FIRMA SET NAZWA='Przedszkole Słoneczko', ADRES='ul. Leśna 2, 00-001 Warszawa', "
                            "NIP='123-456-32-18'"));
        misie = insert(QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Misie', 1)"), QStringLiteral("KLASY"));
        zajace = insert(QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Zające', 2)"), QStringLiteral("KLASY"));
        february = insert(QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (2024, 2)"), QStringLiteral("MIESIACE"));
        march = insert(QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (2024, 3)"), QStringLiteral("MIESIACE"));
        april = insert(QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (2024, 4)"), QStringLiteral("MIESIACE"));
        zofia = child(QStringLiteral("Kowalska Zofia"), misie, true);
        adam = child(QStringLiteral("Kowalski Adam"), misie, true);
        ola = child(QStringLiteral("Nowak Ola"), zajace, false);
        czesne = insert(QStringLiteral("INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES ('Czesne', 1)"), QStringLiteral("MEDIA"));
        obiady = insert(QStringLiteral("INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES ('Wyżywienie', 2)"), QStringLiteral("MEDIA"));
        zw = insert(QStringLiteral("INSERT INTO STAVAT (NAZWA, VAT) VALUES ('zw', 0)"), QStringLiteral("STAVAT"));
        vat8 = insert(QStringLiteral("INSERT INTO STAVAT (NAZWA, VAT) VALUES ('8%', 8)"), QStringLiteral("STAVAT"));

        // An invoice with two rates and a sibling's February meals.
        const int invoice = fakt(march, 1, zofia, {});
        charge(march, invoice, 1, zofia, czesne, 1, 300, 300, vat8, 22.22, {});
        charge(march, invoice, 2, zofia, obiady, 10.5, 8.5, 89.25, zw, 0, {});
        charge(march, invoice, 3, adam, obiady, 5, 8.5, 42.5, zw, 0, -february);
        // A February invoice corrected in March: the price goes from 300 to 250.
        const int original = fakt(february, 7, zofia, {});
        charge(february, original, 1, zofia, czesne, 1, 300, 300, vat8, 22.22, {});
        const int correction = fakt(march, 2, zofia, original);
        charge(march, correction, 1, zofia, czesne, 1, 250, 250, vat8, 18.52, february);
        charge(march, correction, 0, zofia, czesne, -1, 300, -300, vat8, -22.22, february);
        // An inactive child's invoice.
        const int inactive = fakt(march, 3, ola, {});
        charge(march, inactive, 1, ola, czesne, 1, 100, 100, zw, 0, {});

        layout = std::make_shared<BuiltTemplate>();
        layout->id = 1;
        layout->layout = readLayout(writeLayout(invoiceTemplate()));
    }

    void exec(const QString& sql) { Query(*db, sql).exec(); }

    int insert(const QString& sql, const QString& table, const QString& key = QStringLiteral("KOD"))
    {
        exec(sql);
        return Query(*db, QStringLiteral("SELECT MAX(%1) FROM %2").arg(key, table)).scalar().toInt();
    }

    int child(const QString& name, int group, bool active)
    {
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY) VALUES (:N, 'Polna 1', :K, :A)"))
            .bind(QStringLiteral("N"), name)
            .bind(QStringLiteral("K"), group)
            .bind(QStringLiteral("A"), active ? QStringLiteral("T") : QStringLiteral("N"))
            .exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM DZIECI")).scalar().toInt();
    }

    int fakt(int month, int number, int child, const QVariant& pierw)
    {
        Query(*db, QStringLiteral("INSERT INTO FAKT (KOD, NUMER, OSOBA, WYST, TERMIN, TYTUL, PIERW) "
                                  "VALUES (:K, :N, :O, :W, :T, 'Opłaty', :P)"))
            .bind(QStringLiteral("K"), month)
            .bind(QStringLiteral("N"), number)
            .bind(QStringLiteral("O"), child)
            .bind(QStringLiteral("W"), QDate(2024, 3, 1))
            .bind(QStringLiteral("T"), QDate(2024, 3, 15))
            .bind(QStringLiteral("P"), pierw)
            .exec();
        return Query(*db, QStringLiteral("SELECT MAX(ID) FROM FAKT")).scalar().toInt();
    }

    void charge(int month, int idf, int lpf, int child, int medium, double quantity, double price, double value,
                int rate, double vat, const QVariant& dot)
    {
        Query(*db, QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, ROZLICZ, "
                                  "IDF, LPF, STAWKA, VAT, DOT) VALUES (:K, '1', :O, :M, :I, 'mies.', :C, :W, 'N', "
                                  ":F, :L, :S, :V, :D)"))
            .bind(QStringLiteral("K"), month)
            .bind(QStringLiteral("O"), child)
            .bind(QStringLiteral("M"), medium)
            .bind(QStringLiteral("I"), quantity)
            .bind(QStringLiteral("C"), price)
            .bind(QStringLiteral("W"), value)
            .bind(QStringLiteral("F"), idf)
            .bind(QStringLiteral("L"), lpf)
            .bind(QStringLiteral("S"), rate)
            .bind(QStringLiteral("V"), vat)
            .bind(QStringLiteral("D"), dot)
            .exec();
    }

    static TemplateElement element(ElementKind kind, const QString& content, int top, int width = 400)
    {
        TemplateElement e = TemplateElement::created(kind, QPoint(0, top));
        e.content = content;
        e.box.setWidth(width);
        return e;
    }

    // Header: number, corrected number, copy label and the total (known before the table);
    // footer: the sign, the amount and its words; page footer: the institution.
    static PrintTemplate invoiceTemplate()
    {
        PrintTemplate t;
        const auto f = [](const char* name, int top) {
            return element(ElementKind::DataField, QString::fromUtf8(name), top);
        };
        t.elements = {f("Numer dokumentu", 0),    f("Numer dokumentu pierwotnego", 20), f("Oryginał/kopia", 40),
                      f("Wartość naliczenia", 80), f("Separator końcowy", 110),           f("Znak naliczenia", 120),
                      f("Wartość naliczenia", 140), f("Wartość naliczenia słownie", 160), f("Stopka", 900),
                      f("Nazwa przedszkola", 905), f("Numer dokumentu", 925)};
        t.elements[2].box.setHeight(34);
        t.elements[9].font.bold = true;
        return t;
    }

    // Every text of the pages in order, the lines of a wrapped text joined by spaces.
    static QStringList texts(const report::PreparedPages& pages)
    {
        QStringList out;
        for (const report::Page& page : pages.pages)
            for (const report::Primitive& p : page.items)
                if (const auto* t = std::get_if<report::TextBox>(&p))
                    out << t->lines.join(QLatin1Char(' '));
        return out;
    }

    // The first index of `text` at or after `from`; -1 when absent.
    static int find(const QStringList& list, const QString& text, int from = 0)
    {
        return int(list.indexOf(text, from));
    }

    InvoiceSelection selection(int month) const
    {
        InvoiceSelection s;
        s.month = month;
        s.today = QDate(2024, 4, 2);
        return s;
    }

    int misie = 0, zajace = 0, february = 0, march = 0, april = 0;
    int zofia = 0, adam = 0, ola = 0, czesne = 0, obiady = 0, zw = 0, vat8 = 0;
    std::shared_ptr<BuiltTemplate> layout;
};

}  // namespace

TEST_P(InvoicePrintoutTest, InvoiceWithTwoRatesASiblingAndACorrectionLoweringAPrice)
{
    const auto job = makeInvoicesJob(*db, selection(march), layout.get());
    EXPECT_EQ(job->title(), QStringLiteral("Zestawienie faktur i rachunków"));
    const report::PreparedPages pages = job->run(report::Purpose::Pages);
    const QStringList t = texts(pages);

    // The invoice: its header with the real total, the table, the VAT lines, "Razem", the footer.
    int at = find(t, QStringLiteral("Faktura VAT nr: 1/03/2024"));
    ASSERT_GE(at, 0) << t.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(t[at + 1], QStringLiteral(" "));
    EXPECT_EQ(t[at + 2], QStringLiteral("Oryginał"));
    EXPECT_EQ(t[at + 3], QStringLiteral("431,75 zł"));
    at = find(t, QStringLiteral("Opłaty - Kowalska Zofia"), at);
    ASSERT_GE(at, 0);
    const QStringList expected = {
        QStringLiteral("Lp"), QStringLiteral("Nazwa usługi"), QStringLiteral("Ilość"), QStringLiteral("Jm"),
        QStringLiteral("Cena"), QStringLiteral("Netto"), QStringLiteral("Staw."), QStringLiteral("VAT"),
        QStringLiteral("Brutto"),
        QStringLiteral("1"), QStringLiteral("Czesne III 2024"), QStringLiteral("1"), QStringLiteral("mies."),
        QStringLiteral("300,00"), QStringLiteral("277,78"), QStringLiteral("8%"), QStringLiteral("22,22"),
        QStringLiteral("300,00"),
        QStringLiteral("2"), QStringLiteral("Wyżywienie III 2024"), QStringLiteral("10,5"), QStringLiteral("mies."),
        QStringLiteral("8,50"), QStringLiteral("89,25"), QStringLiteral("zw"), QStringLiteral("0,00"),
        QStringLiteral("89,25"),
        QStringLiteral("3"), QStringLiteral("Wyżywienie II 2024 (Kowalski Adam)"),
    };
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(t.value(at + 1 + i), expected[i]) << i;
    at = find(t, QStringLiteral("Razem wg stawek VAT"), at);
    ASSERT_GE(at, 0);
    EXPECT_EQ(t.mid(at + 1, 4), (QStringList{"131,75", "zw", "0,00", "131,75"}));
    EXPECT_EQ(t.mid(at + 5, 4), (QStringList{"277,78", "8%", "22,22", "300,00"}));
    EXPECT_EQ(t.mid(at + 9, 5), (QStringList{"Razem", "409,53", "", "22,22", "431,75"}));
    EXPECT_EQ(t.mid(at + 14, 3),
              (QStringList{"Do zapłaty:", "431,75 zł", amountInWords(431.75)}));

    // The correction: the corrected invoice, the new state without the reversing line, the difference.
    at = find(t, QStringLiteral("Faktura korygująca VAT nr: 2/03/2024"));
    ASSERT_GE(at, 0);
    EXPECT_EQ(t[at + 1], QStringLiteral("do faktury VAT nr: 7/02/2024"));
    EXPECT_EQ(t[at + 3], QStringLiteral("50,00 zł"));
    const int before = find(t, QStringLiteral("Faktura VAT nr: 7/02/2024 (Opłaty)"), at);
    const int after = find(t, QStringLiteral("Faktura korygująca VAT nr: 2/03/2024 (Opłaty)"), before);
    const int difference = find(t, QStringLiteral("Różnica - Kowalska Zofia"), after);
    ASSERT_GT(before, at);
    ASSERT_GT(after, before);
    ASSERT_GT(difference, after);
    EXPECT_EQ(find(t, QStringLiteral("Czesne II 2024"), before), before + 11);
    EXPECT_EQ(find(t, QStringLiteral("250,00"), after), after + 14);
    EXPECT_EQ(find(t, QStringLiteral("-300,00"), after), -1);
    EXPECT_EQ(t[difference + 1], QStringLiteral("Razem wg stawek VAT"));  // totals only
    EXPECT_EQ(t.mid(difference + 2, 4), (QStringList{"-46,30", "8%", "-3,70", "-50,00"}));
    EXPECT_EQ(find(t, QStringLiteral("Do zwrotu:"), difference), difference + 11);
    EXPECT_EQ(t.value(difference + 12), QStringLiteral("50,00 zł"));
    EXPECT_EQ(t.value(difference + 13), amountInWords(50));

    // Inactive children are left out; each document starts a page whose footer speaks of it,
    // followed by the footer line.
    EXPECT_EQ(find(t, QStringLiteral("Faktura VAT nr: 3/03/2024")), -1);
    ASSERT_EQ(pages.pages.size(), 2);
    for (const report::Page& page : pages.pages) {
        const QStringList pageTexts = texts({{}, {}, {page}});
        EXPECT_EQ(pageTexts.value(pageTexts.size() - 3), QStringLiteral("Przedszkole Słoneczko"));
        EXPECT_EQ(pageTexts.value(pageTexts.size() - 2), pageTexts.first());
        EXPECT_EQ(pageTexts.last(),
                  QStringLiteral("Vendrix \"Lunawa\" dla Przedszkole Słoneczko, ul. Leśna 2, 00-001 Warszawa "));
    }
}

TEST_P(InvoicePrintoutTest, SelectionFiltersCopyLabelsQuantityDecimalsAndAnEmptyMonth)
{
    auto documentNumbers = [&](const InvoiceSelection& s) {
        QStringList numbers;
        for (const QString& text : texts(makeInvoicesJob(*db, s, layout.get())->run(report::Purpose::Pages)))
            if (text.startsWith(QLatin1String("Faktura")) && !text.endsWith(QLatin1Char(')')))
                numbers << text.section(QStringLiteral("nr: "), 1).section(QLatin1Char('/'), 0, 0);
        numbers.removeDuplicates();  // the page footer repeats the number
        return numbers.join(QLatin1Char(','));
    };
    InvoiceSelection s = selection(march);
    EXPECT_EQ(documentNumbers(s), QStringLiteral("1,2"));
    s.inactive = true;
    EXPECT_EQ(documentNumbers(s), QStringLiteral("1,2,3"));
    s.groups = QList<int>{zajace};
    EXPECT_EQ(documentNumbers(s), QStringLiteral("3"));
    s.groups = QList<int>{};
    EXPECT_EQ(documentNumbers(s), QString());
    s.groups.reset();
    EXPECT_EQ(invoiceAddressees(*db, s), (QList<int>{zofia, ola}));
    s.chosen = QList<int>{ola};
    EXPECT_EQ(documentNumbers(s), QStringLiteral("3"));
    InvoiceSelection one = selection(march);
    one.child = ola;  // one child's record: the other filters do not apply
    EXPECT_EQ(documentNumbers(one), QStringLiteral("3"));

    s = selection(march);
    s.copyLabel = QStringLiteral("Kopia - duplikat");
    QStringList t = texts(makeInvoicesJob(*db, s, layout.get())->run(report::Purpose::Pages));
    EXPECT_GE(find(t, QStringLiteral("Kopia - duplikat z dnia 02.04.2024")), 0);
    EXPECT_EQ(copyLabelText(QStringLiteral("Kopia"), QDate(2024, 4, 2)), QStringLiteral("Kopia"));

    // No decimals for quantities: 10.5 prints rounded, whole numbers without a point.
    exec(QStringLiteral("UPDATE OPCJE SET PARAMS='[PARAMETRY]\r\nILOŚĆ PO PRZECINKU=0'"));
    t = texts(makeInvoicesJob(*db, selection(march), layout.get())->run(report::Purpose::Pages));
    const int meals = find(t, QStringLiteral("Wyżywienie III 2024"));
    ASSERT_GE(meals, 0);
    EXPECT_EQ(t[meals + 1], QStringLiteral("11"));
    EXPECT_EQ(t[meals - 1], QStringLiteral("2"));

    // A month without documents still prints one page with its footers.
    const report::PreparedPages empty = makeInvoicesJob(*db, selection(april), layout.get())->run(report::Purpose::Pages);
    ASSERT_EQ(empty.pages.size(), 1);
    // The page footer's institution and (empty) document number, then the footer line.
    EXPECT_EQ(texts(empty), (QStringList{QStringLiteral("Przedszkole Słoneczko"), QString(),
                                         QStringLiteral("Vendrix \"Lunawa\" dla Przedszkole Słoneczko, ul. Leśna 2, "
                                                        "00-001 Warszawa ")}));
    // Without a template only the fixed parts print.
    t = texts(makeInvoicesJob(*db, selection(march), nullptr)->run(report::Purpose::Pages));
    EXPECT_EQ(find(t, QStringLiteral("Faktura VAT nr: 1/03/2024")), -1);
    EXPECT_GE(find(t, QStringLiteral("Opłaty - Kowalska Zofia")), 0);
}

TEST_P(InvoicePrintoutTest, PdfReadsBackAndTemplatesComeFromTheStoreByName)
{
    bool ok = false;
    exporttest::runTool(QStringLiteral("pdftotext"), {QStringLiteral("-v")}, &ok);
    if (!ok)
        GTEST_SKIP() << "poppler-utils are not installed";
    Query(*db, QStringLiteral("INSERT INTO SZABLONY (TYP, NAZWA, DANE) VALUES ('4', 'Zwykła', :D)"))
        .bind(QStringLiteral("D"), writeLayout(invoiceTemplate()))
        .exec();
    Query(*db, QStringLiteral("INSERT INTO SZABLONY (TYP, NAZWA, DANE) VALUES ('4', 'Awaryjna', '')")).exec();
    const QList<StoredTemplate> records = templatesOfType(*db, TemplateType::Invoices);
    ASSERT_GE(records.size(), 2);
    EXPECT_EQ(records.first().name, QStringLiteral("Awaryjna"));
    const QList<StoredTemplate> named = templatesNamed(*db, QStringLiteral("Zwykła"), TemplateType::Invoices);
    ASSERT_EQ(named.size(), 1);
    const StoredTemplate* chosen = &named.first();
    // Pictures are looked up by their number only.
    QImage logo(8, 6, QImage::Format_RGB32);
    logo.fill(Qt::darkGreen);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    logo.save(&buffer, "PNG");
    Query(*db, QStringLiteral("INSERT INTO OBRAZY (NAZWA, OBRAZ) VALUES ('logo', :O)")).bind(QStringLiteral("O"), png).exec();
    const int logoCode = Query(*db, QStringLiteral("SELECT MAX(KOD) FROM OBRAZY")).scalar().toInt();
    PrintTemplate withPictures;
    withPictures.elements = {element(ElementKind::Picture, QString::number(logoCode) + QStringLiteral(" logo"), 0),
                             element(ElementKind::Picture, QStringLiteral("0 or 1=1"), 0),
                             element(ElementKind::Picture, QStringLiteral("9999 brak"), 0)};
    const TemplatePictures pictures = readTemplatePictures(*db, withPictures);
    ASSERT_EQ(pictures.size(), 1);
    EXPECT_EQ(pictures.value(logoCode).size(), QSize(8, 6));

    TemplateCache cache;
    const auto built = cache.get(chosen->id, chosen->layoutText,
                                 [&](const PrintTemplate& l) { return readTemplatePictures(*db, l); });

    const auto job = makeInvoicesJob(*db, selection(march), built.get());
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("faktury.pdf"));
    ASSERT_EQ(report::writePdf(job->run(report::Purpose::Pages), pdf), QString());
    const QString text = QString::fromUtf8(
        exporttest::runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}, &ok));
    ASSERT_TRUE(ok);
    qsizetype at = 0;
    for (const char* piece : {"Faktura VAT nr: 1/03/2024", "Wyżywienie II 2024 (Kowalski", "Razem wg stawek VAT",
                              "Do zapłaty:", "431,75 zł", "Faktura korygująca VAT nr: 2/03/2024",
                              "do faktury VAT nr: 7/02/2024", "Różnica - Kowalska Zofia", "Do zwrotu:", "50,00 zł",
                              "Przedszkole Słoneczko", "Vendrix \"Lunawa\" dla Przedszkole Słoneczko"}) {
        const qsizetype found = text.indexOf(QString::fromUtf8(piece), at);
        EXPECT_GE(found, 0) << piece << "\n" << text.toStdString();
        if (found >= 0)
            at = found;
    }
}

INSTANTIATE_ENGINES(InvoicePrintoutTest);
