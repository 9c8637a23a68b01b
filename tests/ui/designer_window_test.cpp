// The template designer as the user works it: a tool and a click make an
// element, the box fields and the popup change it, every change is in DANE
// at once, "Zapisz" posts it, a malformed paste changes nothing.

#include "printouts/template_layout_text.h"
#include "printouts/ui/template_sheet.h"
#include "printouts/ui/tfm_ust_szabl.h"
#include "store/query.h"
#include "store/table.h"
#include "support/browser_run.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace printouts;

namespace {

QString storedLayout(Database& db, const QString& name)
{
    Query q(db, QStringLiteral("SELECT DANE FROM SZABLONY WHERE NAZWA = :N"));
    q.bind(QStringLiteral("N"), name).exec();
    return q.next() ? q.value(0).toString() : QString();
}

QAction* menuAction(QMenu* menu, const QString& text)
{
    for (QAction* a : menu->actions()) {
        if (a->text() == text)
            return a;
        if (a->menu())
            if (QAction* inner = menuAction(a->menu(), text))
                return inner;
    }
    return nullptr;
}

}  // namespace

TEST(DesignerWindowTest, DrawsAnElementIntoDaneAndSavesIt)
{
    BrowserRun run;
    Database& db = run.baza->database();
    Query(db, QStringLiteral("INSERT INTO SZABLONY (TYP, NAZWA, DANE) VALUES ('4', 'Faktura próbna', NULL)")).exec();
    Table templates(db, QStringLiteral("SZABLONY"));
    templates.open();
    ASSERT_EQ(templates.rowCount(), 1);

    TFmUstSzabl designer(*run.context, templates);
    EXPECT_EQ(designer.windowTitle(), QStringLiteral("Projektowanie szablonu: Faktura próbna"));
    designer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&designer));
    // No element is current: the box fields are hidden.
    EXPECT_TRUE(designer.boxField(TemplateDesign::BoxField::Left)->isHidden());

    // The data-field tool and a click on the sheet: a 150 x 17 field on the grid.
    designer.action(QStringLiteral("Zmienny tekst"))->trigger();
    QTest::mouseClick(designer.sheet(), Qt::LeftButton, Qt::NoModifier,
                      TemplateSheet::toWidget({101, 41}));
    ASSERT_EQ(designer.design().count(), 1);
    EXPECT_EQ(designer.design().element(0).box, QRect(100, 40, 150, 17));
    EXPECT_TRUE(templates.isEditing());
    QSpinBox* width = designer.boxField(TemplateDesign::BoxField::Width);
    EXPECT_FALSE(width->isHidden());
    EXPECT_EQ(width->value(), 150);
    width->setValue(320);

    // The popup offers the invoice's data fields; one is chosen.
    QMenu* popup = designer.elementMenu();
    ASSERT_NE(menuAction(popup, QStringLiteral("Numer dokumentu")), nullptr);
    EXPECT_EQ(menuAction(popup, QStringLiteral("Kod kreskowy")), nullptr);  // letters only
    menuAction(popup, QStringLiteral("Numer dokumentu"))->trigger();
    menuAction(designer.elementMenu(), QStringLiteral("Do &prawej"))->trigger();

    // Not yet posted: the store still has nothing; the record has it all.
    EXPECT_TRUE(storedLayout(db, QStringLiteral("Faktura próbna")).isEmpty());
    designer.action(QStringLiteral("Zapisz"))->trigger();
    EXPECT_FALSE(templates.isEditing());
    const PrintTemplate stored = readLayout(storedLayout(db, QStringLiteral("Faktura próbna")));
    ASSERT_EQ(stored.elements.size(), 1);
    const TemplateElement& e = stored.elements.first();
    EXPECT_EQ(e.kind, ElementKind::DataField);
    EXPECT_EQ(e.content, QStringLiteral("Numer dokumentu"));
    EXPECT_EQ(e.box, QRect(100, 40, 320, 17));
    EXPECT_EQ(e.alignment, TextAlignment::Right);

    // A malformed paste says why and leaves the layout and the record alone.
    const QString before = designer.design().layoutText();
    QApplication::clipboard()->setText(QStringLiteral("\r\nZmienny tekst\r\nNazwa\r\nlewo\r\n1\r\n2\r\n3\r\n0\r\n0"
                                                      "\r\nArial\r\n238\r\n0\r\n-13\r\n0\r\n10\r\n "));
    designer.action(QStringLiteral("Wklej"))->trigger();
    EXPECT_EQ(run.prompts.shown().size(), 1);
    EXPECT_EQ(designer.design().layoutText(), before);
    EXPECT_FALSE(templates.isEditing());
    designer.action(QStringLiteral("Cofnij"))->trigger();
    EXPECT_EQ(templates.text(QStringLiteral("DANE")), designer.design().layoutText());
    EXPECT_EQ(designer.design().element(0).alignment, TextAlignment::Left);
}

TEST(DesignerWindowTest, DraggingMovesAndResizesOnTheGrid)
{
    BrowserRun run;
    Database& db = run.baza->database();
    TemplateDesign seed(TemplateType::Letters);
    seed.create(ElementKind::FixedText, {40, 40});
    Query(db, QStringLiteral("INSERT INTO SZABLONY (TYP, NAZWA, DANE) VALUES ('1', 'Etykiety', :D)"))
        .bind(QStringLiteral("D"), seed.layoutText())
        .exec();
    Table templates(db, QStringLiteral("SZABLONY"));
    templates.open();
    TFmUstSzabl designer(*run.context, templates);
    designer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&designer));
    TemplateSheet* sheet = designer.sheet();

    // A press inside, a drag, a release: moved by the snapped distance.
    QTest::mousePress(sheet, Qt::LeftButton, Qt::NoModifier, TemplateSheet::toWidget({80, 48}));
    QTest::mouseMove(sheet, TemplateSheet::toWidget({90, 60}));
    QTest::mouseMove(sheet, TemplateSheet::toWidget({101, 69}));
    QTest::mouseRelease(sheet, Qt::LeftButton, Qt::NoModifier, TemplateSheet::toWidget({101, 69}));
    EXPECT_EQ(designer.design().current(), 0);
    EXPECT_EQ(designer.design().element(0).box, QRect(60, 60, 150, 17));

    // The right edge of the current element drags its width.
    QTest::mousePress(sheet, Qt::LeftButton, Qt::NoModifier, TemplateSheet::toWidget({210, 68}));
    QTest::mouseMove(sheet, TemplateSheet::toWidget({250, 68}));
    QTest::mouseRelease(sheet, Qt::LeftButton, Qt::NoModifier, TemplateSheet::toWidget({250, 68}));
    EXPECT_EQ(designer.design().element(0).box, QRect(60, 60, 192, 17));
    // One drag is one undo step.
    designer.undo();
    EXPECT_EQ(designer.design().element(0).box.width(), 150);

    // Arrows move the chosen element by one pixel.
    QTest::keyClick(sheet, Qt::Key_Right);
    EXPECT_EQ(designer.design().element(0).box.left(), 61);
    EXPECT_EQ(readLayout(templates.text(QStringLiteral("DANE"))).elements.at(0).box.left(), 61);

    // Columns: 12 asked gives 2, shown in the menu caption.
    run.prompts.expectText(QStringLiteral("Liczba kolumn wydruku"), QStringLiteral("Podaj liczbę"),
                           QStringLiteral("12"));
    designer.action(QStringLiteral("Kolumny: 1"))->trigger();
    EXPECT_NE(designer.action(QStringLiteral("Kolumny: 2")), nullptr);
    EXPECT_TRUE(templates.text(QStringLiteral("DANE")).startsWith(QStringLiteral("KOLUMNY2\r\n")));
    EXPECT_TRUE(run.prompts.done());
}
