// The statements print dialog: which options the chosen template allows,
// the history start kept at or after the earliest month, the month's text
// saved from the dialog, and the questions asked before a fee-group table.

#include "printouts/report_job.h"
#include "printouts/template_layout_text.h"
#include "printouts/ui/tfm_wyd_rozr.h"
#include "store/query.h"
#include "support/browser_run.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace printouts;

namespace {

void addTemplate(Database& db, const QString& name, bool landscape, const QStringList& fields)
{
    PrintTemplate t;
    t.landscape = landscape;
    int top = 0;
    for (const QString& field : fields) {
        TemplateElement e = TemplateElement::created(ElementKind::DataField, QPoint(0, top));
        e.content = field;
        t.elements.append(e);
        top += 20;
    }
    Query(db, QStringLiteral("INSERT INTO SZABLONY (TYP, NAZWA, DANE) VALUES ('2', :N, :D)"))
        .bind(QStringLiteral("N"), name)
        .bind(QStringLiteral("D"), writeLayout(t))
        .exec();
}

}  // namespace

TEST(StatementDialogTest, OptionsFollowTheTemplateHistoryStartTextsAndFeeGroupQuestions)
{
    BrowserRun run;
    Database& db = run.baza->database();
    addTemplate(db, QStringLiteral("A list"), false, {QStringLiteral("Data operacji"), QStringLiteral("Tekst 1")});
    addTemplate(db, QStringLiteral("B tabela"), true, {QStringLiteral("Nazwa")});
    for (int m = 1; m <= 3; ++m)
        Query(db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2024, %1, '6')").arg(m)).exec();
    const int march = Query(db, QStringLiteral("SELECT MAX(KOD) FROM MIESIACE")).scalar().toInt();
    Query(db, QStringLiteral("INSERT INTO GRUPYOP (NAZWA, KOLEJ) VALUES ('Opłaty', 1)")).exec();

    TFmWydRozr dialog(*run.context, march, 0);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Wydruk rozrachunków"));
    // Portrait: no mode nor table columns; the date and the first text since the template prints them.
    EXPECT_FALSE(dialog.modeBox()->isEnabled());
    EXPECT_FALSE(dialog.peselBox()->isEnabled());
    EXPECT_FALSE(dialog.dayRow()->isHidden());
    EXPECT_FALSE(dialog.text1Row()->isHidden());
    EXPECT_TRUE(dialog.text2Row()->isHidden());
    EXPECT_TRUE(dialog.extraBox()->isHidden());  // "DANE ZESTAWIENIA" is not set
    EXPECT_TRUE(dialog.sortBox()->isHidden());
    EXPECT_FALSE(dialog.historyMonthButton()->isEnabled());
    dialog.historyBox()->setChecked(true);
    EXPECT_TRUE(dialog.historyMonthButton()->isEnabled());
    dialog.paymentsBox()->setChecked(false);
    EXPECT_FALSE(dialog.confirmationsBox()->isEnabled());
    dialog.paymentsBox()->setChecked(true);

    // The start can go back to January, not before.
    EXPECT_EQ(dialog.historyStart(), 202401);
    run.prompts.expectMonth(historyPickerTitle(), 2023, 11);
    dialog.chooseHistoryMonth();
    EXPECT_EQ(dialog.historyStart(), 202401);
    EXPECT_EQ(dialog.historyMonthButton()->text(), QStringLiteral("od: styczeń 2024"));
    run.prompts.expectMonth(historyPickerTitle(), 2024, 2);
    dialog.chooseHistoryMonth();
    EXPECT_EQ(dialog.options().historyFrom, 202402);

    // "zmień tekst" saves the month's text at once.
    run.prompts.expectMemo(TFmWydRozr::title(), QStringLiteral("Prosimy o wpłatę"));
    dialog.editText(1);
    EXPECT_EQ(Query(db, QStringLiteral("SELECT TEKST1 FROM MIESIACE WHERE KOD=%1").arg(march)).scalar().toString(),
              QStringLiteral("Prosimy o wpłatę"));

    // Landscape: the modes and, without history, the table columns.
    dialog.templateBox()->setCurrentIndex(1);
    EXPECT_TRUE(dialog.modeBox()->isEnabled());
    EXPECT_EQ(dialog.modeBox()->count(), 5);
    EXPECT_FALSE(dialog.peselBox()->isEnabled());
    dialog.historyBox()->setChecked(false);
    EXPECT_TRUE(dialog.peselBox()->isEnabled());
    EXPECT_TRUE(dialog.dayRow()->isHidden());

    // Mode 4 asks the help-centre question (when charges can carry it) and the fee group;
    // cancelling the fee group stops without a message.
    dialog.modeBox()->setCurrentIndex(4);
    const bool helpCentre = db.hasColumn(QStringLiteral("NALICZ"), QStringLiteral("IDOPIE"));
    if (helpCentre)
        run.prompts.expectYesNo(helpCentreQuestion(), false);
    run.prompts.expectCancel(ScriptedPrompts::Kind::List, feeGroupPickerTitle());
    EXPECT_EQ(dialog.makeJob(), nullptr);
    if (helpCentre)
        run.prompts.expectYesNo(helpCentreQuestion(), true);
    run.prompts.expectListEntry(feeGroupPickerTitle(), QStringLiteral("Opłaty"));
    EXPECT_NE(dialog.makeJob(), nullptr);
    EXPECT_TRUE(run.prompts.done());

    // For one child: no filters and only the first three modes.
    TFmWydRozr one(*run.context, march, 1);
    EXPECT_TRUE(one.filtersBox()->isHidden());
    EXPECT_EQ(one.modeBox()->count(), 3);
}
