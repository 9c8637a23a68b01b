// The designer's preview of a template with one child's data: the child's
// and the institution's fields filled in, the document's own fields by
// name, markers invisible, shapes beneath texts, elements at their places.

#include "printouts/template_design.h"
#include "printouts/template_sample.h"

#include <gtest/gtest.h>

using namespace printouts;

namespace {

TEST(TemplateSample, FillsTheChildAndInstitutionFieldsInPlace)
{
    TemplateDesign d(TemplateType::Invoices);
    d.create(ElementKind::DataField, {100, 40});
    d.setContent(QStringLiteral("Nazwa"));
    d.create(ElementKind::DataField, {100, 80});
    d.setContent(QStringLiteral("Nazwa przedszkola"));
    d.create(ElementKind::DataField, {100, 120});
    d.setContent(QStringLiteral("Numer dokumentu"));
    d.create(ElementKind::DataField, {100, 160});
    d.setContent(QStringLiteral("Separator końcowy"));
    d.create(ElementKind::Shape, {90, 30});
    d.setLandscape(true);

    ChildAddress child;
    child.kod = 5;
    child.nazwa = QStringLiteral("Kos Jan");
    Institution institution;
    institution.name = QStringLiteral("Przedszkole Tęcza");
    const auto job = makeTemplateSampleJob(d.layout(), d.type(), child, institution, {}, QDate(2024, 3, 5));
    const report::PreparedPages pages = job->run(report::Purpose::Pages);
    ASSERT_EQ(pages.pages.size(), 1);
    const report::Page& page = pages.pages.first();
    EXPECT_EQ(page.size, report::a4Landscape());

    QStringList texts;
    QList<QPointF> corners;
    int firstText = -1, shape = -1;
    for (int i = 0; i < page.items.size(); ++i) {
        if (const auto* t = std::get_if<report::TextBox>(&page.items[i])) {
            texts << t->text();
            corners << t->rect.topLeft();
            if (firstText < 0)
                firstText = i;
        } else if (shape < 0) {
            shape = i;
        }
    }
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Kos Jan"), QStringLiteral("Przedszkole Tęcza"),
                                  QStringLiteral("Numer dokumentu")}));
    ASSERT_GE(shape, 0);
    EXPECT_LT(shape, firstText);
    // Design pixels from the printable area's corner, 10 mm in.
    EXPECT_NEAR(corners[0].x(), report::defaultMargin + 100, 0.5);
    EXPECT_NEAR(corners[1].y() - corners[0].y(), 40, 0.5);
}

}  // namespace
