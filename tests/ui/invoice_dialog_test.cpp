// The invoices print dialog: its templates, the copy label, the filters and
// what they select, the preview and the printer set-up.

#include "printouts/ui/page_view.h"
#include "printouts/ui/report_preview.h"
#include "printouts/ui/tfm_wyd_fakt.h"
#include "store/query.h"
#include "support/browser_run.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace printouts;

namespace {

void addTemplate(Database& db, const QString& type, const QString& name)
{
    Query(db, QStringLiteral("INSERT INTO SZABLONY (TYP, NAZWA, DANE) VALUES (:T, :N, NULL)"))
        .bind(QStringLiteral("T"), type)
        .bind(QStringLiteral("N"), name)
        .exec();
}

}  // namespace

TEST(InvoiceDialogTest, OffersInvoiceTemplatesAndFiltersTheMonth)
{
    BrowserRun run;
    Database& db = run.baza->database();
    run.seed({{QStringLiteral("Motylki"), 1}, {QStringLiteral("Biedronki"), 2}});
    addTemplate(db, QStringLiteral("4"), QStringLiteral("Faktura z logo"));
    addTemplate(db, QStringLiteral("2"), QStringLiteral("Zestawienie"));
    addTemplate(db, QStringLiteral("4"), QStringLiteral("Rachunek"));
    run.context->login.visibleGroups = {QStringLiteral("-1")};
    const int motylki = Query(db, QStringLiteral("SELECT KOD FROM KLASY WHERE NAZWA = 'Motylki'")).scalar().toInt();

    TFmWydFakt dialog(*run.context, 1, 0);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Wydruk faktur i rachunków"));
    ASSERT_EQ(dialog.templateBox()->count(), 2);
    EXPECT_EQ(dialog.templateBox()->currentText(), QStringLiteral("Faktura z logo"));
    EXPECT_EQ(dialog.templateBox()->itemText(1), QStringLiteral("Rachunek"));
    EXPECT_EQ(dialog.copyBox()->currentText(), QStringLiteral("Oryginał"));
    EXPECT_FALSE(dialog.filtersBox()->isHidden());
    EXPECT_EQ(dialog.groupsButton()->text(), QStringLiteral("Wszystkie"));

    // Unrestricted at first: every child, active ones only.
    InvoiceSelection s = dialog.selection();
    EXPECT_EQ(s.month, 1);
    EXPECT_FALSE(s.child.has_value());
    EXPECT_FALSE(s.groups.has_value());
    EXPECT_FALSE(s.inactive);
    EXPECT_FALSE(s.chosen.has_value());

    run.prompts.expectChecks(QStringLiteral("Grupy dzieci"), {QStringLiteral("Motylki")});
    QTest::mouseClick(dialog.groupsButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.groupsButton()->text(), QStringLiteral("Wybrane"));
    dialog.inactiveBox()->setChecked(true);
    dialog.chosenBox()->setChecked(true);
    dialog.copyBox()->setCurrentText(QStringLiteral("Kopia - duplikat"));
    // A month without documents offers nobody; ticking nobody prints nobody.
    run.prompts.expectChecks(QStringLiteral("Wybierz"), {});
    s = dialog.selection();
    EXPECT_EQ(s.groups, QList<int>{motylki});
    EXPECT_TRUE(s.inactive);
    EXPECT_EQ(s.chosen, QList<int>{});
    EXPECT_EQ(s.copyLabel, QStringLiteral("Kopia - duplikat"));
    EXPECT_TRUE(run.prompts.done());

    // "Drukarka" sets the printer up through the replaceable dialog.
    int setUps = 0;
    dialog.printerDialog = [&](QPrinter&) { return ++setUps > 0; };
    dialog.printerSetup();
    EXPECT_EQ(setUps, 1);
}

TEST(InvoiceDialogTest, OneChildHidesTheFiltersAndPreviewShowsTheReport)
{
    BrowserRun run;
    addTemplate(run.baza->database(), QStringLiteral("4"), QStringLiteral("Faktura"));
    TFmWydFakt dialog(*run.context, 1, 7);
    EXPECT_TRUE(dialog.filtersBox()->isHidden());
    const InvoiceSelection s = dialog.selection();
    EXPECT_EQ(s.child, 7);
    EXPECT_FALSE(s.groups.has_value() || s.chosen.has_value());

    // An empty month still prints: the preview opens on its report.
    dialog.preview();
    TReportPreview* preview = TReportPreview::openFor(&dialog);
    ASSERT_NE(preview, nullptr);
    if (!preview->isPrepared()) {
        QSignalSpy done(preview, &TReportPreview::preparationFinished);
        ASSERT_TRUE(done.wait(10000));
    }
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Zestawienie faktur i rachunków"));
    EXPECT_GE(preview->pages().pages.size(), 1);
    preview->close();
    EXPECT_TRUE(run.prompts.shown().isEmpty());
}
