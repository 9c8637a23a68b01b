// Letters and labels on a small store: labels across three columns in
// Polish name order, which children a selection takes and its description,
// the template's four bands with the texts and the running number, and an
// identification card whose barcode a scanner reads as the child code.

#include "export_test_pages.h"
#include "support/store_fixture.h"

#include "printouts/child_code.h"
#include "printouts/letters_printout.h"
#include "printouts/page_painter.h"
#include "store/query.h"

#include <QTemporaryDir>

using namespace printouts;

namespace {

class LettersPrintoutTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        exec(QStringLiteral("UPDATE FIRMA SET NAZWA='Przedszkole Słoneczko', ADRES='ul. Leśna 2', KODKLI=57"));
        misie = group(QStringLiteral("Misie"));
        zajace = group(QStringLiteral("Zające"));
        // Stored out of order; Polish order puts "Łoś" before "Nowak" and
        // "Śliwa" before "Wrona", which byte order would not.
        for (const char* name : {"Żak Tomasz", "Nowak Ewa", "Łoś Piotr", "Adamski Jan", "Zając Ola", "Wrona Maja",
                                 "Śliwa Anna"})
            codes.insert(QString::fromUtf8(name), child(QString::fromUtf8(name), misie, true));
        inactive = child(QStringLiteral("Bielska Iga"), misie, false);
        codes.insert(QStringLiteral("Kot Olek"), child(QStringLiteral("Kot Olek"), zajace, true));
    }

    void exec(const QString& sql) { Query(*db, sql).exec(); }

    int group(const QString& name)
    {
        Query(*db, QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES (:N, 1)")).bind(QStringLiteral("N"), name).exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM KLASY")).scalar().toInt();
    }

    int child(const QString& name, int klasa, bool active)
    {
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY) VALUES (:N, 'Polna 1', :K, :A)"))
            .bind(QStringLiteral("N"), name)
            .bind(QStringLiteral("K"), klasa)
            .bind(QStringLiteral("A"), active ? QStringLiteral("T") : QStringLiteral("N"))
            .exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM DZIECI")).scalar().toInt();
    }

    static TemplateElement field(const QString& name, int left, int top, int width = 150, int height = 17)
    {
        TemplateElement e = TemplateElement::created(ElementKind::DataField, QPoint(left, top));
        e.content = name;
        e.box.setSize(QSize(width, height));
        return e;
    }

    static BuiltTemplate built(PrintTemplate layout)
    {
        BuiltTemplate b;
        b.layout = std::move(layout);
        return b;
    }

    struct Text {
        QString text;
        QPointF at;
    };
    static QList<Text> texts(const report::Page& page)
    {
        QList<Text> out;
        for (const report::Primitive& p : page.items)
            if (const auto* t = std::get_if<report::TextBox>(&p))
                out.append({t->lines.join(QLatin1Char('|')), t->rect.topLeft()});
        return out;
    }

    int misie = 0, zajace = 0, inactive = 0;
    QHash<QString, int> codes;
};

}  // namespace

TEST_P(LettersPrintoutTest, LabelsFillThreeColumnsAcrossBeforeMovingDown)
{
    PrintTemplate labels;
    labels.columns = 3;
    labels.elements = {field(QStringLiteral("L.p."), 0, 0, 30), field(QStringLiteral("Nazwa"), 30, 0, 180)};
    LettersSelection selection;
    selection.groups = QList<int>{misie};
    const BuiltTemplate layout = built(labels);
    const auto job = makeLettersJob(*db, selection, &layout);
    const report::PreparedPages pages = job->run(report::Purpose::Pages);
    ASSERT_EQ(pages.pages.size(), 1);

    const QStringList order{QStringLiteral("Adamski Jan"), QStringLiteral("Łoś Piotr"), QStringLiteral("Nowak Ewa"),
                            QStringLiteral("Śliwa Anna"),  QStringLiteral("Wrona Maja"), QStringLiteral("Zając Ola"),
                            QStringLiteral("Żak Tomasz")};
    QList<Text> names, numbers;
    for (const Text& t : texts(pages.pages.first())) {
        if (order.contains(t.text))
            names.append(t);
        else if (t.text.toInt() > 0)
            numbers.append(t);
    }
    ASSERT_EQ(names.size(), 7);  // the inactive child and the other group are left out
    ASSERT_EQ(numbers.size(), 7);
    const double pitch = names[1].at.x() - names[0].at.x();
    EXPECT_GT(pitch, 200);
    const double rowHeight = names[3].at.y() - names[0].at.y();
    EXPECT_DOUBLE_EQ(rowHeight, 17);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(names[i].text, order[i]) << i;
        EXPECT_NEAR(names[i].at.x() - names[0].at.x(), (i % 3) * pitch, 0.01) << i;
        EXPECT_DOUBLE_EQ(names[i].at.y() - names[0].at.y(), (i / 3) * rowHeight) << i;
        EXPECT_EQ(numbers[i].text, QString::number(i + 1));
        EXPECT_DOUBLE_EQ(numbers[i].at.y(), names[i].at.y());
    }
}

TEST_P(LettersPrintoutTest, SelectionTakesActiveChildrenOfGroupsChosenOrOneAndIsDescribed)
{
    LettersSelection all;
    EXPECT_EQ(letterChildren(*db, all).size(), 8);
    EXPECT_EQ(letterChildren(*db, all).value(2), codes.value(QStringLiteral("Łoś Piotr")));  // after "Kot Olek"

    LettersSelection chosen;
    chosen.groups = QList<int>{misie};
    chosen.chosen = QList<int>{codes.value(QStringLiteral("Kot Olek")), codes.value(QStringLiteral("Żak Tomasz")),
                               codes.value(QStringLiteral("Adamski Jan"))};
    // The other group's child stays out although ticked.
    EXPECT_EQ(letterChildren(*db, chosen),
              (QList<int>{codes.value(QStringLiteral("Adamski Jan")), codes.value(QStringLiteral("Żak Tomasz"))}));
    chosen.chosen = QList<int>{};
    EXPECT_TRUE(letterChildren(*db, chosen).isEmpty());
    LettersSelection noGroup;
    noGroup.groups = QList<int>{};
    EXPECT_TRUE(letterChildren(*db, noGroup).isEmpty());

    // One child's record: the group filter does not apply, an inactive child prints nothing.
    LettersSelection one;
    one.groups = QList<int>{misie};
    one.child = codes.value(QStringLiteral("Kot Olek"));
    EXPECT_EQ(letterChildren(*db, one), QList<int>{one.child.value()});
    one.child = inactive;
    EXPECT_TRUE(letterChildren(*db, one).isEmpty());
    PrintTemplate card;
    card.elements = {field(QStringLiteral("Nazwa"), 0, 0)};
    const BuiltTemplate layout = built(card);
    const report::PreparedPages pages = makeLettersJob(*db, one, &layout)->run(report::Purpose::Pages);
    ASSERT_EQ(pages.pages.size(), 1);
    ASSERT_EQ(texts(pages.pages.first()).size(), 1);  // the footer line alone
    EXPECT_TRUE(texts(pages.pages.first()).first().text.startsWith(QStringLiteral("Vendrix \"Lunawa\" dla ")));

    const QList<GroupChoice> groups = groupChoices(*db, {zajace, misie, 999});
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(selectionDescription(groups, false), QStringLiteral("grupy: Zające, Misie"));
    EXPECT_EQ(selectionDescription(groups, true), QStringLiteral("grupy: Zające, Misie, (tylko wybrani)"));
    EXPECT_EQ(selectionDescription(QList<GroupChoice>{{0, QStringLiteral("Bez grupy")}, groups[1]}, false),
              QStringLiteral("grupy: Misie"));
    EXPECT_EQ(selectionDescription(std::nullopt, true), QStringLiteral("(tylko wybrani)"));
    EXPECT_EQ(selectionDescription(std::nullopt, false), QString());
}

TEST_P(LettersPrintoutTest, TitleDetailSummaryAndFooterCarryTextsDayAndRunningNumber)
{
    PrintTemplate letter;
    letter.elements = {
        field(QStringLiteral("Filtr danych"), 0, 0, 300), field(QStringLiteral("L.p."), 0, 20),
        field(QStringLiteral("Separator"), 0, 40),
        field(QStringLiteral("Nazwa"), 0, 40), field(QStringLiteral("L.p."), 300, 40),
        field(QStringLiteral("Tekst 1"), 0, 60, 300, 34),
        field(QStringLiteral("Separator końcowy"), 0, 100),
        field(QStringLiteral("L.p."), 0, 100), field(QStringLiteral("Tekst 2"), 0, 120, 300),
        field(QStringLiteral("Data operacji"), 0, 140),
        field(QStringLiteral("Stopka"), 0, 200), field(QStringLiteral("Nazwa przedszkola"), 0, 200, 300),
    };
    LettersSelection selection;
    selection.groups = QList<int>{zajace, misie};
    selection.chosen = QList<int>{codes.value(QStringLiteral("Wrona Maja")), codes.value(QStringLiteral("Kot Olek"))};
    selection.text1 = QStringLiteral("Zebranie rodziców\r\nw czwartek");
    selection.text2 = QStringLiteral("Dyrekcja");
    selection.day = QDate(2024, 3, 5);
    selection.description = QStringLiteral("grupy: Zające, Misie, (tylko wybrani)");
    const BuiltTemplate layout = built(letter);
    const auto job = makeLettersJob(*db, selection, &layout);

    // A second run (a print started from the preview) counts from 1 again.
    for (int run = 0; run < 2; ++run) {
        const report::PreparedPages pages = job->run(report::Purpose::Pages);
        ASSERT_EQ(pages.pages.size(), 1);
        QStringList printed;
        for (const Text& t : texts(pages.pages.first()))
            printed << t.text;
        const QStringList expected{
            selection.description, QStringLiteral("0"),
            QStringLiteral("Kot Olek"), QStringLiteral("1"), QStringLiteral("Zebranie rodziców|w czwartek"),
            QStringLiteral("Wrona Maja"), QStringLiteral("2"), QStringLiteral("Zebranie rodziców|w czwartek"),
            QStringLiteral("2"), QStringLiteral("Dyrekcja"), QStringLiteral("05.03.2024"),
            QStringLiteral("Przedszkole Słoneczko"),
            QStringLiteral("Vendrix \"Lunawa\" dla Przedszkole Słoneczko, ul. Leśna 2 "),
        };
        EXPECT_EQ(printed, expected) << printed.join(QLatin1Char('\n')).toStdString();
    }
}

TEST_P(LettersPrintoutTest, IdentificationCardBarcodeScansAsTheChildCode)
{
    bool ok = false;
    exporttest::runTool(QStringLiteral("zbarimg"), {QStringLiteral("--version")}, &ok);
    if (!ok)
        GTEST_SKIP() << "zbarimg is not installed";
    PrintTemplate card;
    card.columns = 2;
    card.elements = {field(QStringLiteral("Nazwa"), 10, 0, 260), field(QStringLiteral("Kod kreskowy"), 10, 20, 260, 70)};
    LettersSelection selection;
    selection.child = codes.value(QStringLiteral("Nowak Ewa"));
    const BuiltTemplate layout = built(card);
    const report::PreparedPages pages = makeLettersJob(*db, selection, &layout)->run(report::Purpose::Pages);
    ASSERT_EQ(pages.pages.size(), 1);

    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("karta.png"));
    ASSERT_TRUE(report::renderPage(pages.pages.first(), 200).save(png));
    const QString scanned = QString::fromUtf8(
        exporttest::runTool(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), png}, &ok));
    EXPECT_TRUE(ok);
    // The client number of FIRMA, the child's code in at least three digits, the check digit.
    const QString expected = childCode(57, *selection.child);
    EXPECT_TRUE(expected.startsWith(QStringLiteral("57") + QStringLiteral("%1").arg(*selection.child, 3, 10, QLatin1Char('0'))));
    EXPECT_EQ(scanned.trimmed(), expected);
}

INSTANTIATE_ENGINES(LettersPrintoutTest);
