#include "delivered_templates.h"

#include "template_data_fields.h"
#include "template_layout_text.h"

#include "store/database.h"
#include "store/query.h"

namespace printouts {

namespace {

constexpr qint32 grey = 8421504;

struct Look {
    int size = 10;
    bool bold = false;
    TextAlignment alignment = TextAlignment::Left;
    qint32 colour = 0;
};

TemplateElement element(ElementKind kind, const QString& content, QRect box, const Look& look)
{
    TemplateElement e;
    e.kind = kind;
    e.content = content;
    e.box = box;
    e.alignment = look.alignment;
    e.font.size = look.size;
    e.font.height = fontHeightForSize(look.size);
    e.font.bold = look.bold;
    e.font.colour = look.colour;
    return e;
}

TemplateElement text(const QString& content, QRect box, const Look& look = {})
{
    return element(ElementKind::FixedText, content, box, look);
}

TemplateElement data(const QString& name, QRect box, const Look& look = {})
{
    return element(ElementKind::DataField, name, box, look);
}

// A band marker: only its top counts.
TemplateElement marker(const QString& name, int top)
{
    return data(name, QRect(0, top, 150, 17), {8});
}

TemplateElement shape(ShapeVariant variant, QRect box, int thickness = 1)
{
    TemplateElement e = element(ElementKind::Shape, shapeVariantName(variant), box, {});
    e.font.size = thickness;
    return e;
}

// A signature line with its caption under it.
void signature(PrintTemplate& t, int left, int top, const QString& caption)
{
    t.add(shape(ShapeVariant::TopAndBottom, QRect(left, top, 260, 0)));
    t.add(text(caption, QRect(left, top + 4, 260, 14), {7, false, TextAlignment::Centre, grey}));
}

const Look small{9};
const Look smallBold{9, true};
const Look rightAligned{10, false, TextAlignment::Right};

PrintTemplate letter()
{
    PrintTemplate t;
    t.add(data(QStringLiteral("Nazwa przedszkola"), QRect(0, 0, 440, 20), {12, true}));
    t.add(data(QStringLiteral("Adres przedszkola"), QRect(0, 22, 440, 34), small));
    t.add(text(QStringLiteral("dnia"), QRect(500, 0, 76, 17), rightAligned));
    t.add(data(QStringLiteral("Data operacji"), QRect(580, 0, 138, 17)));
    t.add(data(QStringLiteral("Nazwa i adres kores."), QRect(380, 120, 338, 66), {11}));
    t.add(data(QStringLiteral("Tekst 1"), QRect(0, 230, 718, 400), {11}));
    t.add(data(QStringLiteral("Tekst 2"), QRect(0, 650, 718, 120), {11}));
    t.add(text(QStringLiteral("Dyrektor przedszkola"), QRect(458, 800, 260, 17), {10, false, TextAlignment::Centre}));
    signature(t, 458, 860, QStringLiteral("podpis"));
    return t;
}

// Three labels across, seven down: each label's box makes the detail band
// 130 pixels high.
PrintTemplate labels()
{
    PrintTemplate t;
    t.columns = 3;
    t.add(data(QStringLiteral("Nazwa i adres kores."), QRect(12, 14, 215, 116), {10}));
    return t;
}

PrintTemplate statement()
{
    PrintTemplate t;
    t.add(data(QStringLiteral("Tytuł raportu"), QRect(0, 0, 718, 22), {13, true, TextAlignment::Centre}));
    t.add(data(QStringLiteral("Miesiąc raportu"), QRect(0, 24, 718, 18), {10, false, TextAlignment::Centre}));
    t.add(data(QStringLiteral("Nazwa i adres kores."), QRect(0, 56, 400, 50)));
    t.add(text(QStringLiteral("Data:"), QRect(468, 56, 100, 17), rightAligned));
    t.add(data(QStringLiteral("Data operacji"), QRect(572, 56, 146, 17), rightAligned));
    t.add(text(QStringLiteral("Dziecko:"), QRect(0, 112, 64, 17)));
    t.add(data(QStringLiteral("Nazwa"), QRect(64, 112, 400, 17), {10, true}));
    // The child's charges and totals print between the markers.
    t.add(marker(field::endSeparator(), 140));
    // The charges and balances print above in figures; here in words.
    t.add(text(QStringLiteral("Naliczenie słownie:"), QRect(0, 150, 130, 16), small));
    t.add(data(QStringLiteral("Wartość naliczenia słownie"), QRect(130, 150, 588, 16), small));
    t.add(data(QStringLiteral("Znak salda"), QRect(368, 172, 196, 18), {10, true, TextAlignment::Right}));
    t.add(data(QStringLiteral("Wartość salda"), QRect(568, 172, 150, 18), {10, true, TextAlignment::Right}));
    t.add(text(QStringLiteral("Saldo słownie:"), QRect(0, 194, 130, 16), small));
    t.add(data(QStringLiteral("Wartość salda słownie"), QRect(130, 194, 588, 16), small));
    t.add(data(QStringLiteral("Tekst 1"), QRect(0, 222, 718, 34), small));
    t.add(data(QStringLiteral("Tekst 2"), QRect(0, 260, 718, 34), small));
    return t;
}

PrintTemplate confirmation()
{
    PrintTemplate t;
    t.add(text(QStringLiteral("POTWIERDZENIE WPŁATY"), QRect(0, 0, 718, 24), {14, true, TextAlignment::Centre}));
    t.add(text(QStringLiteral("Data wpłaty:"), QRect(468, 40, 100, 17), rightAligned));
    t.add(data(QStringLiteral("Data operacji"), QRect(572, 40, 146, 17), rightAligned));
    t.add(text(QStringLiteral("Wpłacający:"), QRect(0, 62, 110, 17), {10, true}));
    t.add(data(QStringLiteral("Nazwa i adres kores."), QRect(110, 62, 340, 50)));
    t.add(text(QStringLiteral("Dziecko:"), QRect(0, 116, 110, 17), {10, true}));
    t.add(data(QStringLiteral("Nazwa"), QRect(110, 116, 340, 17)));
    t.add(text(QStringLiteral("Tytułem:"), QRect(0, 136, 110, 17), {10, true}));
    t.add(data(QStringLiteral("Tytuł raportu"), QRect(110, 136, 608, 17)));
    t.add(shape(ShapeVariant::Frame, QRect(0, 162, 718, 56)));
    t.add(text(QStringLiteral("Kwota:"), QRect(8, 170, 102, 19), {11, true}));
    t.add(data(QStringLiteral("Wartość naliczenia"), QRect(110, 170, 240, 19), {11, true}));
    t.add(text(QStringLiteral("Słownie:"), QRect(8, 194, 102, 16), small));
    t.add(data(QStringLiteral("Wartość naliczenia słownie"), QRect(110, 194, 600, 16), small));
    signature(t, 458, 270, QStringLiteral("podpis przyjmującego wpłatę"));
    return t;
}

PrintTemplate invoice()
{
    PrintTemplate t;
    // Document header: seller, copy label, dates, number, both parties.
    t.add(data(QStringLiteral("Nazwa przedszkola"), QRect(0, 0, 440, 22), {12, true}));
    t.add(data(QStringLiteral("Oryginał/kopia"), QRect(468, 0, 250, 34), {10, true, TextAlignment::Right}));
    const struct {
        const char* caption;
        const char* field;
        int top;
    } dates[] = {
        {"Data wystawienia:", "Data operacji", 40},
        {"Za miesiąc:", "Miesiąc raportu", 58},
        {"Termin płatności:", "Termin płatności", 76},
    };
    for (const auto& d : dates) {
        t.add(text(QString::fromUtf8(d.caption), QRect(438, d.top, 140, 17), {9, false, TextAlignment::Right}));
        t.add(data(QString::fromUtf8(d.field), QRect(582, d.top, 136, 17), {9, true, TextAlignment::Right}));
    }
    t.add(data(QStringLiteral("Numer dokumentu"), QRect(0, 104, 718, 24), {14, true, TextAlignment::Centre}));
    t.add(data(QStringLiteral("Numer dokumentu pierwotnego"), QRect(0, 130, 718, 18),
               {10, false, TextAlignment::Centre}));
    t.add(shape(ShapeVariant::Frame, QRect(0, 158, 350, 92)));
    t.add(text(QStringLiteral("Sprzedawca:"), QRect(8, 164, 334, 16), smallBold));
    t.add(data(QStringLiteral("Nazwa przedszkola"), QRect(8, 181, 334, 16), small));
    t.add(data(QStringLiteral("Adres przedszkola"), QRect(8, 197, 334, 32), small));
    t.add(text(QStringLiteral("NIP:"), QRect(8, 229, 30, 16), small));
    t.add(data(QStringLiteral("NIP przedszkola"), QRect(38, 229, 304, 16), small));
    t.add(shape(ShapeVariant::Frame, QRect(368, 158, 350, 92)));
    t.add(text(QStringLiteral("Nabywca:"), QRect(376, 164, 334, 16), smallBold));
    t.add(data(QStringLiteral("Nazwa i adres kores."), QRect(376, 181, 334, 48), small));
    t.add(text(QStringLiteral("Dziecko:"), QRect(376, 229, 52, 16), small));
    t.add(data(QStringLiteral("Nazwa"), QRect(428, 229, 282, 16), small));
    t.add(text(QStringLiteral(" "), QRect(0, 250, 718, 12), small));  // space above the item table
    // The item table, the VAT breakdown and "Razem" print here; the
    // document footer follows with the amount due and the signatures.
    t.add(marker(field::endSeparator(), 270));
    t.add(data(QStringLiteral("Znak naliczenia"), QRect(368, 280, 196, 20), {11, true, TextAlignment::Right}));
    t.add(data(QStringLiteral("Wartość naliczenia"), QRect(568, 280, 150, 20), {11, true, TextAlignment::Right}));
    t.add(text(QStringLiteral("Słownie:"), QRect(0, 304, 60, 16), small));
    t.add(data(QStringLiteral("Wartość naliczenia słownie"), QRect(60, 304, 658, 32), small));
    signature(t, 40, 400, QStringLiteral("podpis osoby upoważnionej do odbioru"));
    signature(t, 418, 400, QStringLiteral("podpis osoby upoważnionej do wystawienia"));
    t.add(text(QStringLiteral(" "), QRect(0, 418, 718, 24), small));  // space before the next document
    // Page footer.
    t.add(marker(field::footer(), 1000));
    t.add(text(QStringLiteral("Dziękujemy za terminowe regulowanie należności."), QRect(0, 1000, 718, 14),
               {7, false, TextAlignment::Centre, grey}));
    return t;
}

}  // namespace

QList<DeliveredTemplate> deliveredTemplates()
{
    return {
        {TemplateType::Letters, QStringLiteral("List do rodziców"), letter()},
        {TemplateType::Letters, QStringLiteral("Etykiety adresowe (3 kolumny)"), labels()},
        {TemplateType::Statements, QStringLiteral("Zestawienie opłat"), statement()},
        {TemplateType::Confirmations, QStringLiteral("Potwierdzenie wpłaty"), confirmation()},
        {TemplateType::Invoices, QStringLiteral("Faktura"), invoice()},
    };
}

int addDeliveredTemplates(Database& db)
{
    int added = 0;
    db.batch([&] {
        const QString invoiceCode = templateTypeCode(TemplateType::Invoices);
        const int named = Query(db, QStringLiteral("SELECT COUNT(*) FROM KODY WHERE RODZAJ = :R AND TYP = :T"))
                              .bind(QStringLiteral("R"), QStringLiteral("szablo"))
                              .bind(QStringLiteral("T"), invoiceCode)
                              .scalar()
                              .toInt();
        if (named == 0)
            Query(db, QStringLiteral("INSERT INTO KODY (RODZAJ, TYP, NAZWA, NAZWAM) VALUES (:R, :T, :N, :M)"))
                .bind(QStringLiteral("R"), QStringLiteral("szablo"))
                .bind(QStringLiteral("T"), invoiceCode)
                .bind(QStringLiteral("N"), QStringLiteral("Faktura"))
                .bind(QStringLiteral("M"), QStringLiteral("Faktury"))
                .exec();

        QList<QString> present;
        Query types(db, QStringLiteral("SELECT DISTINCT TYP FROM SZABLONY"));
        types.exec();
        while (types.next())
            present << types.value(0).toString().trimmed();
        for (const DeliveredTemplate& d : deliveredTemplates()) {
            const QString code = templateTypeCode(d.type);
            if (present.contains(code))
                continue;
            Query(db, QStringLiteral("INSERT INTO SZABLONY (TYP, NAZWA, DANE) VALUES (:T, :N, :D)"))
                .bind(QStringLiteral("T"), code)
                .bind(QStringLiteral("N"), d.name)
                .bind(QStringLiteral("D"), writeLayout(d.layout))
                .exec();
            ++added;
        }
    });
    return added;
}

}  // namespace printouts
