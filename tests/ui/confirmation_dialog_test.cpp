// The payment confirmation print dialog: its templates, the printout of the
// chosen one, and a payment deleted meanwhile.

#include "printouts/report_job.h"
#include "printouts/template_layout_text.h"
#include "printouts/ui/tfm_wyd_potw.h"
#include "store/query.h"
#include "support/browser_run.h"

#include <QComboBox>
#include <gtest/gtest.h>

using namespace printouts;

namespace {

void addTemplate(Database& db, const QString& type, const QString& name, const QString& field)
{
    PrintTemplate t;
    TemplateElement e = TemplateElement::created(ElementKind::DataField, QPoint(0, 0));
    e.content = field;
    t.elements.append(e);
    Query(db, QStringLiteral("INSERT INTO SZABLONY (TYP, NAZWA, DANE) VALUES (:T, :N, :D)"))
        .bind(QStringLiteral("T"), type)
        .bind(QStringLiteral("N"), name)
        .bind(QStringLiteral("D"), writeLayout(t))
        .exec();
}

QStringList texts(const report::PreparedPages& pages)
{
    QStringList out;
    for (const report::Page& page : pages.pages)
        for (const report::Primitive& p : page.items)
            if (const auto* t = std::get_if<report::TextBox>(&p))
                out << t->lines.join(QLatin1Char(' '));
    return out;
}

}  // namespace

TEST(ConfirmationDialogTest, PrintsThePaymentOnTheChosenTemplateAndReportsAMissingOne)
{
    BrowserRun run;
    Database& db = run.baza->database();
    addTemplate(db, QStringLiteral("3"), QStringLiteral("Pokwitowanie"), QStringLiteral("Tytuł raportu"));
    addTemplate(db, QStringLiteral("4"), QStringLiteral("Faktura"), QStringLiteral("Tytuł raportu"));
    addTemplate(db, QStringLiteral("3"), QStringLiteral("Potwierdzenie"), QStringLiteral("Wartość naliczenia"));
    Query(db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA) VALUES ('Nowak Ola', 'Polna 1')")).exec();
    const int child = Query(db, QStringLiteral("SELECT MAX(KOD) FROM DZIECI")).scalar().toInt();
    Query(db, QStringLiteral("INSERT INTO WPLATY (KOD, OSOBA, OPIS, WARTOSC) VALUES (1, :O, 'Czesne', 150.5)"))
        .bind(QStringLiteral("O"), child)
        .exec();
    const int payment = Query(db, QStringLiteral("SELECT MAX(ID) FROM WPLATY")).scalar().toInt();

    TFmWydPotw dialog(*run.context, payment);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Wydruk potwierdzenia wpłaty"));
    ASSERT_EQ(dialog.templateBox()->count(), 2);
    EXPECT_EQ(dialog.templateBox()->currentText(), QStringLiteral("Pokwitowanie"));
    EXPECT_EQ(dialog.templateBox()->itemText(1), QStringLiteral("Potwierdzenie"));

    auto job = dialog.makeJob();
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(texts(job->run(report::Purpose::Pages)).value(0), QStringLiteral("Czesne"));
    dialog.templateBox()->setCurrentIndex(1);
    job = dialog.makeJob();
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(texts(job->run(report::Purpose::Pages)).value(0), QStringLiteral("150,50 zł"));
    EXPECT_TRUE(run.prompts.shown().isEmpty());

    // Deleted while the dialog was open: said in Polish, nothing prints.
    Query(db, QStringLiteral("DELETE FROM WPLATY")).exec();
    run.prompts.expectError(QStringLiteral("Nie ma wpłaty o identyfikatorze %1").arg(payment));
    EXPECT_EQ(dialog.makeJob(), nullptr);
    EXPECT_TRUE(run.prompts.done());
}
