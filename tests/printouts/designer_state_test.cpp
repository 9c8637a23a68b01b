// The template being drawn: selection rules, boxes, duplicates, deletion,
// paste and undo, each change told as the new layout text.

#include "printouts/template_design.h"
#include "printouts/template_layout_text.h"
#include "store/error.h"

#include <gtest/gtest.h>

using namespace printouts;

namespace {

// Four texts in a grid and a frame under them:
//   0 frame (0,0 400x200)   1 A (10,10)   2 B (200,10)   3 C (10,100)   4 D (200,100)
struct Drawn {
    TemplateDesign design{TemplateType::Invoices};
    QStringList told;

    Drawn()
    {
        design.changed = [this](const QString& text) { told << text; };
        design.create(ElementKind::FixedText, {10, 10});
        design.create(ElementKind::FixedText, {200, 10});
        design.create(ElementKind::FixedText, {10, 100});
        design.create(ElementKind::FixedText, {200, 100});
        design.create(ElementKind::Shape, {0, 0});
        design.setBoxField(TemplateDesign::BoxField::Width, 400);
        design.setBoxField(TemplateDesign::BoxField::Height, 200);
        told.clear();
    }
    QRect box(int i) const { return design.element(i).box; }
};

TEST(TemplateDesign, NewShapesLieBeneathTextsAndEveryChangeIsWritten)
{
    Drawn d;
    ASSERT_EQ(d.design.count(), 5);
    EXPECT_EQ(d.design.element(0).kind, ElementKind::Shape);
    EXPECT_EQ(d.design.element(0).content, QStringLiteral("Ramka"));
    EXPECT_EQ(d.design.current(), 0);
    EXPECT_EQ(d.box(1), QRect(10, 10, 150, 17));
    // A point inside a text on the frame finds the text, beside it the frame.
    EXPECT_EQ(d.design.elementAt({20, 15}), 1);
    EXPECT_EQ(d.design.elementAt({380, 180}), 0);
    EXPECT_EQ(d.design.elementAt({500, 500}), -1);

    d.design.setBoxField(TemplateDesign::BoxField::Left, 5);
    ASSERT_EQ(d.told.size(), 1);
    EXPECT_EQ(d.told.last(), d.design.layoutText());
    EXPECT_EQ(readLayout(d.told.last()).elements.at(0).box.left(), 5);
    // A value already so writes nothing.
    d.design.setBoxField(TemplateDesign::BoxField::Left, 5);
    EXPECT_EQ(d.told.size(), 1);
}

TEST(TemplateDesign, PlainCtrlAndShiftClicks)
{
    Drawn d;
    using M = TemplateDesign::ClickMode;
    d.design.click(1, M::Plain);
    EXPECT_EQ(d.design.current(), 1);
    d.design.click(2, M::Ctrl);
    d.design.click(4, M::Ctrl);
    EXPECT_EQ(d.design.current(), 4);
    EXPECT_EQ(d.design.selection(), (QList<int>{1, 2}));
    EXPECT_EQ(d.design.targets(), (QList<int>{1, 2, 4}));
    d.design.click(3, M::Plain);
    EXPECT_TRUE(d.design.selection().isEmpty());

    // From A to D: corners at or right of and below A's, left of D's right
    // edge (350) and above its bottom (117): B, C and D; not the frame at 0,0.
    d.design.click(1, M::Plain);
    d.design.click(4, M::Shift);
    EXPECT_EQ(d.design.current(), 1);
    EXPECT_EQ(d.design.selection(), (QList<int>{2, 3, 4}));
    // To C: B's corner (200) is right of C's right edge (160): not taken.
    d.design.click(3, M::Shift);
    EXPECT_EQ(d.design.selection(), (QList<int>{3}));
    // The bottom edge is exclusive: C moved to start exactly on A's bottom.
    d.design.setCurrent(3);
    d.design.setBoxField(TemplateDesign::BoxField::Top, 27);
    d.design.click(1, M::Plain);
    d.design.click(1, M::Shift);
    EXPECT_TRUE(d.design.selection().isEmpty());
    // A click beside everything clears both.
    d.design.click(-1, M::Plain);
    EXPECT_EQ(d.design.current(), -1);
    EXPECT_TRUE(d.design.targets().isEmpty());
}

TEST(TemplateDesign, BoxesAreKeptInRangeAndTargetsMoveTogether)
{
    Drawn d;
    d.design.setCurrent(1);
    d.design.setBoxField(TemplateDesign::BoxField::Left, -100);
    d.design.setBoxField(TemplateDesign::BoxField::Width, 20000);
    d.design.setBoxField(TemplateDesign::BoxField::Height, -5);
    EXPECT_EQ(d.box(1), QRect(-30, 10, 10000, 0));

    d.design.setCurrent(2);
    d.design.click(3, TemplateDesign::ClickMode::Ctrl);
    d.design.moveTargets(5, -3);
    EXPECT_EQ(d.box(2).topLeft(), QPoint(205, 7));
    EXPECT_EQ(d.box(3).topLeft(), QPoint(15, 97));
    EXPECT_EQ(d.box(4).topLeft(), QPoint(200, 100));
}

TEST(TemplateDesign, DuplicatesAtAnOffsetBecomeTheSelection)
{
    Drawn d;
    d.design.setCurrent(0);                               // the frame
    d.design.click(1, TemplateDesign::ClickMode::Ctrl);   // frame selected, A current
    d.design.setFont([&] {
        TemplateFont f = d.design.element(1).font;
        f.bold = true;
        return f;
    }());
    d.design.duplicateTargets(0, 250);
    ASSERT_EQ(d.design.count(), 7);
    // The frame's copy goes beneath everything, A's on top.
    EXPECT_EQ(d.design.element(0).kind, ElementKind::Shape);
    EXPECT_EQ(d.box(0), QRect(0, 250, 400, 200));
    EXPECT_EQ(d.design.current(), 6);
    EXPECT_EQ(d.box(6), QRect(10, 260, 150, 17));
    EXPECT_TRUE(d.design.element(6).font.bold);
    EXPECT_EQ(d.design.element(6).content, d.design.element(2).content);
    EXPECT_EQ(d.design.selection(), QList<int>{0});
    // The originals stay where they were.
    EXPECT_EQ(d.box(1), QRect(0, 0, 400, 200));
    EXPECT_EQ(d.box(2), QRect(10, 10, 150, 17));
}

TEST(TemplateDesign, DeletingTakesTheSelectionAndTheCurrentOne)
{
    Drawn d;
    d.design.setCurrent(1);
    d.design.click(4, TemplateDesign::ClickMode::Ctrl);
    d.design.deleteTargets();
    ASSERT_EQ(d.design.count(), 3);
    EXPECT_EQ(d.box(1).topLeft(), QPoint(200, 10));
    EXPECT_EQ(d.box(2).topLeft(), QPoint(10, 100));
    EXPECT_EQ(d.design.current(), -1);

    // Deleting only the current one keeps the others selected, renumbered.
    d.design.setCurrent(0);
    d.design.click(2, TemplateDesign::ClickMode::Ctrl);  // frame selected, C current
    d.design.click(1, TemplateDesign::ClickMode::Ctrl);  // C selected too, B current
    d.design.deleteCurrent();
    EXPECT_EQ(d.design.count(), 2);
    EXPECT_EQ(d.design.selection(), (QList<int>{0, 1}));
    EXPECT_EQ(d.box(1).topLeft(), QPoint(10, 100));
}

TEST(TemplateDesign, PageSettingsAndColumnsAnswer)
{
    TemplateDesign letters(TemplateType::Letters);
    QString told;
    letters.changed = [&](const QString& t) { told = t; };
    EXPECT_TRUE(letters.setColumnsAnswer(QStringLiteral("12")));
    EXPECT_EQ(letters.layout().columns, 2);
    EXPECT_EQ(told, QStringLiteral("KOLUMNY2"));
    letters.setLandscape(true);
    EXPECT_EQ(told, QStringLiteral("POZIOMOKOLUMNY2"));
    EXPECT_FALSE(letters.setColumnsAnswer(QStringLiteral("dwie")));
    EXPECT_EQ(letters.layout().columns, 2);
    EXPECT_TRUE(letters.setColumnsAnswer(QStringLiteral("10")));
    EXPECT_EQ(told, QStringLiteral("POZIOMO"));

    // Only letters print in columns: other types never write the count.
    TemplateDesign invoice(TemplateType::Invoices);
    invoice.read(QStringLiteral("KOLUMNY3\r\nStały tekst\r\nx\r\n1\r\n2\r\n3\r\n4\r\n0\r\n0\r\nArial\r\n238\r\n0"
                                "\r\n-13\r\n0\r\n10\r\n "));
    EXPECT_TRUE(invoice.layoutText().startsWith(QStringLiteral("\r\nStały tekst")));
}

TEST(TemplateDesign, MalformedPasteChangesNothingAndUndoRestores)
{
    Drawn d;
    const QString before = d.design.layoutText();
    d.design.setCurrent(2);
    EXPECT_THROW(d.design.paste(QStringLiteral("\r\nKółko\r\nx\r\n1\r\n2\r\n3\r\n4\r\n0\r\n0\r\nArial\r\n238\r\n0"
                                               "\r\n-13\r\n0\r\n10\r\n ")),
                 Error);
    EXPECT_EQ(d.design.layoutText(), before);
    EXPECT_EQ(d.design.current(), 2);
    EXPECT_TRUE(d.told.isEmpty());

    // A good paste replaces everything; undo brings the old layout back.
    TemplateDesign other(TemplateType::Invoices);
    other.create(ElementKind::DataField, {40, 40});
    d.design.paste(other.layoutText());
    EXPECT_EQ(d.design.count(), 1);
    EXPECT_EQ(d.told.last(), other.layoutText());
    d.design.undo();
    EXPECT_EQ(d.design.layoutText(), before);
    EXPECT_EQ(d.told.last(), before);
    EXPECT_EQ(d.design.current(), 2);

    // A drag is one gesture: undone at once.
    d.design.beginGesture();
    for (int x = 12; x <= 40; x += 4)
        d.design.setBox(2, QRect(QPoint(x, 10), QSize(150, 17)));
    d.design.endGesture();
    EXPECT_EQ(d.box(2).left(), 40);
    d.design.undo();
    EXPECT_EQ(d.box(2).left(), 200);
    d.design.undo();  // the last box field of the set-up
    EXPECT_EQ(d.box(0).height(), 17);
}

TEST(TemplateDesign, OnlyABarcodeFieldKeepsItsFontCharset)
{
    TemplateDesign d(TemplateType::Letters);
    d.create(ElementKind::DataField, {0, 0});
    TemplateFont symbol;
    symbol.name = QStringLiteral("Code 39");
    symbol.charset = 2;
    d.setFont(symbol);
    EXPECT_EQ(d.element(0).font.charset, eastEuropeanCharset);
    d.setContent(QStringLiteral("Kod kreskowy"));
    d.setFont(symbol);
    EXPECT_EQ(d.element(0).font.charset, 2);
}

}  // namespace
