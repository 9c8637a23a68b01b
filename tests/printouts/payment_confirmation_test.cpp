// The payment confirmation on a small store: the fields of one payment among
// several, a refund, a missing payment and a store without a template.

#include "support/store_fixture.h"

#include "printouts/payment_confirmation.h"
#include "printouts/template_layout_text.h"
#include "store/error.h"
#include "store/query.h"

using namespace printouts;

namespace {

class PaymentConfirmationTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        exec(QStringLiteral("UPDATE FIRMA SET NAZWA='Przedszkole Słoneczko', ADRES='ul. Leśna 2, 00-001 Warszawa'"));
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KODPOCZ, MIASTO) "
                                  "VALUES ('Kowalska Zofia', 'Polna 1', '00-002', 'Warszawa')"))
            .exec();
        zofia = Query(*db, QStringLiteral("SELECT MAX(KOD) FROM DZIECI")).scalar().toInt();
        other = payment(zofia, QDate(2024, 3, 4), QStringLiteral("Czesne luty"), 99);
        paid = payment(zofia, QDate(2024, 3, 5), QStringLiteral("Czesne marzec"), 150.5);
        refund = payment(zofia, QDate(2024, 3, 28), QStringLiteral("Zwrot nadpłaty"), -42.1);

        PrintTemplate t;
        const auto field = [&t](const char* name, int top) {
            TemplateElement e = TemplateElement::created(ElementKind::DataField, QPoint(0, top));
            e.content = QString::fromUtf8(name);
            e.box.setWidth(500);
            t.elements.append(e);
        };
        field("Nazwa", 0);
        field("Data operacji", 20);
        field("Tytuł raportu", 40);
        field("Wartość naliczenia", 60);
        field("Wartość naliczenia słownie", 80);
        // A marker means nothing here: the element below it still prints in place.
        field("Stopka", 100);
        field("Nazwa", 120);
        layout.layout = readLayout(writeLayout(t));
    }

    void exec(const QString& sql) { Query(*db, sql).exec(); }

    int payment(int child, QDate date, const QString& title, double value)
    {
        Query(*db, QStringLiteral("INSERT INTO WPLATY (KOD, OSOBA, DATA, OPIS, WARTOSC) VALUES (1, :O, :D, :T, :W)"))
            .bind(QStringLiteral("O"), child)
            .bind(QStringLiteral("D"), date)
            .bind(QStringLiteral("T"), title)
            .bind(QStringLiteral("W"), value)
            .exec();
        return Query(*db, QStringLiteral("SELECT MAX(ID) FROM WPLATY")).scalar().toInt();
    }

    // Every text of the page in order, with its top.
    static QList<std::pair<QString, double>> texts(const report::Page& page)
    {
        QList<std::pair<QString, double>> out;
        for (const report::Primitive& p : page.items)
            if (const auto* t = std::get_if<report::TextBox>(&p))
                out.append({t->lines.join(QLatin1Char(' ')), t->rect.top()});
        return out;
    }

    static QStringList textsOnly(const report::Page& page)
    {
        QStringList out;
        for (const auto& [text, top] : texts(page))
            out << text;
        return out;
    }

    int zofia = 0, other = 0, paid = 0, refund = 0;
    BuiltTemplate layout;
};

const QString footer = QStringLiteral("Vendrix \"Lunawa\" dla Przedszkole Słoneczko, ul. Leśna 2, 00-001 Warszawa ");

}  // namespace

TEST_P(PaymentConfirmationTest, PaymentAndRefundPrintTheirOwnFieldsOnOnePage)
{
    report::PreparedPages pages = makeConfirmationJob(*db, paid, &layout)->run(report::Purpose::Pages);
    ASSERT_EQ(pages.pages.size(), 1);
    const QList<std::pair<QString, double>> t = texts(pages.pages.first());
    const QStringList expected{QStringLiteral("Kowalska Zofia"),
                               QStringLiteral("05.03.2024"),
                               QStringLiteral("Czesne marzec"),
                               QStringLiteral("150,50 zł"),
                               QStringLiteral("Sto pięćdziesiąt złotych i pięćdziesiąt groszy"),
                               QStringLiteral("Kowalska Zofia"),
                               footer};
    ASSERT_EQ(t.size(), expected.size()) << textsOnly(pages.pages.first()).join(QLatin1Char('\n')).toStdString();
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(t[i].first, expected[i]) << i;
    // The template's own places, one band: the element under "Stopka" stays 120 below the first.
    EXPECT_DOUBLE_EQ(t[5].second - t[0].second, 120);
    // The footer line sits at the page's foot.
    EXPECT_GT(t.last().second, pages.pages.first().size.height() / 2);

    pages = makeConfirmationJob(*db, refund, &layout)->run(report::Purpose::Pages);
    ASSERT_EQ(pages.pages.size(), 1);
    const QStringList r = textsOnly(pages.pages.first());
    ASSERT_GE(r.size(), 5);
    EXPECT_EQ(r[2], QStringLiteral("Zwrot nadpłaty"));
    EXPECT_EQ(r[3], QStringLiteral("-42,10 zł"));
    EXPECT_EQ(r[4], QStringLiteral("Czterdzieści dwa złote i dziesięć groszy"));
}

TEST_P(PaymentConfirmationTest, WithoutATemplateOnlyTheFooterLinePrintsAndAMissingPaymentIsAnError)
{
    const report::PreparedPages pages = makeConfirmationJob(*db, paid, nullptr)->run(report::Purpose::Pages);
    ASSERT_EQ(pages.pages.size(), 1);
    EXPECT_EQ(textsOnly(pages.pages.first()), QStringList{footer});

    try {
        makeConfirmationJob(*db, refund + 1, &layout);
        FAIL() << "no error for a missing payment";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Nie ma wpłaty o identyfikatorze %1").arg(refund + 1));
    }
}

INSTANTIATE_ENGINES(PaymentConfirmationTest);
