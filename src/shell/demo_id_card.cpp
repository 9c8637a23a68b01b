#include "demo_id_card.h"

#include "demo_rows.h"

#include "printouts/print_template.h"
#include "printouts/template_data_fields.h"
#include "printouts/template_layout_text.h"

namespace demo {

namespace {

using namespace printouts;

TemplateElement element(ElementKind kind, const QString& content, QRect box, int size, bool bold = false,
                        TextAlignment alignment = TextAlignment::Left)
{
    TemplateElement e;
    e.kind = kind;
    e.content = content;
    e.box = box;
    e.alignment = alignment;
    e.font.size = size;
    e.font.height = fontHeightForSize(size);
    e.font.bold = bold;
    return e;
}

TemplateElement text(const QString& content, QRect box, int size, bool bold = false,
                     TextAlignment alignment = TextAlignment::Left)
{
    return element(ElementKind::FixedText, content, box, size, bold, alignment);
}

TemplateElement data(const QString& name, QRect box, int size, bool bold = false,
                      TextAlignment alignment = TextAlignment::Left)
{
    return element(ElementKind::DataField, name, box, size, bold, alignment);
}

TemplateElement shape(ShapeVariant variant, QRect box)
{
    TemplateElement e = element(ElementKind::Shape, shapeVariantName(variant), box, 1);
    return e;
}

}  // namespace

void addIdCardTemplate(Database& db)
{
    // A card of the bank-card size (85.6 x 54 mm), two across the page.
    const int w = 323;
    PrintTemplate t;
    t.columns = 2;
    t.add(shape(ShapeVariant::Frame, QRect(0, 0, w, 204)));
    t.add(shape(ShapeVariant::TopAndBottom, QRect(8, 54, w - 16, 0)));
    t.add(data(QStringLiteral("Nazwa przedszkola"), QRect(8, 6, w - 16, 30), 8, true, TextAlignment::Centre));
    t.add(data(QStringLiteral("Adres przedszkola"), QRect(8, 36, w - 16, 14), 7, false, TextAlignment::Centre));
    t.add(text(QStringLiteral("LEGITYMACJA PRZEDSZKOLAKA"), QRect(8, 60, w - 16, 18), 10, true,
               TextAlignment::Centre));
    t.add(data(QStringLiteral("Nazwa"), QRect(8, 82, w - 16, 20), 11, true, TextAlignment::Centre));
    t.add(text(QStringLiteral("PESEL:"), QRect(8, 108, 56, 14), 8));
    t.add(data(QStringLiteral("PESEL"), QRect(64, 108, w - 72, 14), 8));
    t.add(text(QStringLiteral("Adres:"), QRect(8, 124, 56, 14), 8));
    t.add(data(QStringLiteral("Adres"), QRect(64, 124, w - 72, 28), 8));
    t.add(data(printouts::field::barcode(), QRect(48, 154, w - 96, 46), 8, false, TextAlignment::Centre));
    t.add(text(QStringLiteral(" "), QRect(0, 204, w, 18), 8));  // space between the rows of cards
    insert(db, QStringLiteral("SZABLONY"),
           {{QStringLiteral("TYP"), templateTypeCode(TemplateType::Letters)},
            {QStringLiteral("NAZWA"), QStringLiteral("Legitymacja przedszkolaka")},
            {QStringLiteral("DANE"), writeLayout(t)}});
}

}  // namespace demo
