// The payments list's "Wydruk potwierdzenia": offered only with the print
// dialog's area, it saves the payment being typed and opens the dialog for it.

#include "shell/register_fixture.h"

#include "fees/settlement_months.h"
#include "fees/tdm_rozrach.h"
#include "printouts/confirmation_print_area.h"
#include "store/query.h"
#include "store/table.h"

namespace {

class PaymentConfirmationCommandTest : public RegisterTest {};

}  // namespace

TEST_P(PaymentConfirmationCommandTest, OpensTheDialogForTheSavedCurrentPayment)
{
    Query(*db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES) VALUES (2024, 3)")).exec();
    Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA) VALUES ('Lis Ewa', 'Polna', 1)")).exec();
    {
        TDMRozrach without(context());
        EXPECT_FALSE(shownCaptions(without.payments()).contains(QStringLiteral("Wydruk potwierdzenia")));
    }

    QList<QVariantMap> opened;
    areas.add(area::confirmationPrintout(), [&](RunContext&, const QVariantMap& a) { opened << a; });
    TDMRozrach module(context());
    EXPECT_TRUE(shownCaptions(module.payments()).contains(QStringLiteral("Wydruk potwierdzenia")));
    Command* confirm = module.payments().command(QStringLiteral("Potwierdzenie1"));
    ASSERT_NE(confirm, nullptr);

    // An empty list: nothing to confirm.
    Table& p = *module.payments().table;
    p.open();
    confirm->handler();
    EXPECT_TRUE(opened.isEmpty());

    prompts.expectChoice(fees::NextChildEntry::questionTitle(), -1).withText(fees::NextChildEntry::questionText());
    p.insert();
    p.setValue(QStringLiteral("WARTOSC"), 150.5);
    confirm->handler();
    EXPECT_FALSE(p.isEditing());
    const int id = Query(*db, QStringLiteral("SELECT MAX(ID) FROM WPLATY")).scalar().toInt();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].value(area::paymentKey()).toInt(), id);
}

INSTANTIATE_ENGINES(PaymentConfirmationCommandTest);
