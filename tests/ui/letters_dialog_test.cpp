// The letters print dialog: the panels follow the template, the texts keep
// what the multi-line editor returned, "Wybrani" narrows the printout to
// the ticked children, and a child's record prints that child alone.

#include "printouts/report_job.h"
#include "printouts/template_layout_text.h"
#include "printouts/ui/tfm_wyd_kores.h"
#include "store/query.h"
#include "support/browser_run.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace printouts;

namespace {

void addTemplate(Database& db, const QString& name, const QStringList& fields)
{
    PrintTemplate t;
    int top = 0;
    for (const QString& field : fields) {
        TemplateElement e = TemplateElement::created(ElementKind::DataField, QPoint(0, top));
        e.content = field;
        e.box.setWidth(400);
        t.elements.append(e);
        top += 20;
    }
    Query(db, QStringLiteral("INSERT INTO SZABLONY (TYP, NAZWA, DANE) VALUES ('1', :N, :D)"))
        .bind(QStringLiteral("N"), name)
        .bind(QStringLiteral("D"), writeLayout(t))
        .exec();
}

int addChild(Database& db, const QString& name)
{
    Query(db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, AKTYWNY) VALUES (:N, 'Polna 1', 'T')"))
        .bind(QStringLiteral("N"), name)
        .exec();
    return Query(db, QStringLiteral("SELECT MAX(KOD) FROM DZIECI")).scalar().toInt();
}

QStringList texts(const report::PreparedPages& pages)
{
    QStringList out;
    for (const report::Page& page : pages.pages)
        for (const report::Primitive& p : page.items)
            if (const auto* t = std::get_if<report::TextBox>(&p))
                out << t->lines.join(QLatin1Char('|'));
    if (!out.isEmpty())
        out.removeLast();  // the footer line
    return out;
}

}  // namespace

TEST(LettersDialogTest, PanelsFollowTheTemplateAndTheChosenChildrenPrintWithTheTexts)
{
    BrowserRun run;
    run.context->login.visibleGroups = {QStringLiteral("-1")};
    Database& db = run.baza->database();
    addTemplate(db, QStringLiteral("A list"), {QStringLiteral("Nazwa"), QStringLiteral("Tekst 2"),
                                               QStringLiteral("Filtr danych"), QStringLiteral("Data operacji")});
    addTemplate(db, QStringLiteral("B etykiety"), {QStringLiteral("Nazwa")});
    addChild(db, QStringLiteral("Nowak Ola"));
    const int adam = addChild(db, QStringLiteral("Adamski Jan"));

    TFmWydKores dialog(*run.context, 0);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Wydruk pism"));
    EXPECT_FALSE(dialog.text1Edit()->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.text2Edit()->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.dayEdit()->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.filtersBox()->isVisibleTo(&dialog));
    dialog.templateBox()->setCurrentIndex(1);
    EXPECT_FALSE(dialog.text2Edit()->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.dayEdit()->isVisibleTo(&dialog));
    dialog.templateBox()->setCurrentIndex(0);

    run.prompts.expectMemo(QStringLiteral("Wydruk pism"), QStringLiteral("Zebranie\nw czwartek"));
    dialog.editText(2);
    EXPECT_EQ(dialog.text2(), QStringLiteral("Zebranie\nw czwartek"));
    dialog.dayEdit()->setDate(QDate(2024, 3, 5));
    dialog.chosenBox()->setChecked(true);
    run.prompts.expectChecks(QStringLiteral("Wybierz"), {QStringLiteral("Adamski Jan, Polna 1")});
    const auto job = dialog.makeJob();
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(texts(job->run(report::Purpose::Pages)),
              (QStringList{QStringLiteral("Adamski Jan"), QStringLiteral("Zebranie|w czwartek"),
                           QStringLiteral("(tylko wybrani)"), QStringLiteral("05.03.2024")}));
    EXPECT_TRUE(run.prompts.done());

    // From a child's record: no filters, that child alone.
    TFmWydKores one(*run.context, adam);
    EXPECT_FALSE(one.filtersBox()->isVisibleTo(&one));
    const auto single = one.makeJob();
    ASSERT_NE(single, nullptr);
    EXPECT_EQ(texts(single->run(report::Purpose::Pages)).value(0), QStringLiteral("Adamski Jan"));
}
