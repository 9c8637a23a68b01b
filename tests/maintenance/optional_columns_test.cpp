// Stores from before the schema upgrade, made by dropping what the upgrade
// adds: the modules that use an added column open and do their main work
// without it.

#include "shell/register_fixture.h"

#include "browser/message_log.h"
#include "fees/charge_run.h"
#include "fees/quantity_data_loader.h"
#include "fees/tdm_media.h"
#include "fees/tdm_nalicz.h"
#include "registers/tdm_dzieci.h"
#include "registers/tdm_klasy.h"
#include "store/query.h"
#include "store/table.h"

namespace {

using namespace fees;

class OptionalColumnsTest : public RegisterTest {
protected:
    void sql(const QString& text)
    {
        Query(*db, text).exec();
        db->forgetStructure();
    }
    int insert(const QString& text, const QString& table)
    {
        sql(text);
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM %1").arg(table)).scalar().toInt();
    }
    // One child in one group with one component priced 100 a month.
    void chargeSetup()
    {
        group = insert("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Misie', 1)", "KLASY");
        child = insert(QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY) VALUES ('Ala', 'Polna 1', %1, 'T')")
                           .arg(group),
                       "DZIECI");
        component = insert("INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES ('Pobyt', 1)", "MEDIA");
        const int method = insert("INSERT INTO SPOSOBY (NAZWA, OPIS) VALUES ('1', '1')", "SPOSOBY");
        sql(QStringLiteral("INSERT INTO DZIEMED (OSOBA, MEDIUM, ODDATY, SPOSOB, SPOROZ) VALUES (%1, %2, '2024-01-01', %3, %3)")
                .arg(child)
                .arg(component)
                .arg(method));
        sql(QStringLiteral("INSERT INTO TARMED (TARYFA, MEDIUM, ODDATY, CENA, JM) VALUES (0, %1, '2024-01-01', 100, 'mc')")
                .arg(component));
        month = insert("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2024, 3, '2,3,9,10,16,17,23,24,30,31')",
                       "MIESIACE");
        context().params.sposobyJednolite = false;
        context().params.fakturyTytulem = QStringLiteral("Opłata za przedszkole");
    }
    ChargeRunResult charge(ChargeOperation operation)
    {
        prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
        if (operation == ChargeOperation::Compute)
            prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), -1);
        prompts.expectChecksAsOffered(QStringLiteral("Wybierz grupy"));
        return runCharges(context(), operation, 2024, 3, ChargeChildren::byGroups(), log);
    }
    QStringList values(const QString& select)
    {
        QStringList out;
        Query q(*db, select);
        q.exec();
        while (q.next())
            out << q.value(0).toString();
        return out;
    }

    // The values of the child's lines.
    QStringList charged() { return values(QStringLiteral("SELECT WARTOSC FROM NALICZ WHERE OSOBA = %1").arg(child)); }

    MessageLog log;
    int group = 0, child = 0, component = 0, month = 0;
};

TEST_P(OptionalColumnsTest, ChargesWithoutTheInvoiceColumns)
{
    sql("DROP INDEX NALICZ__FAKT");
    for (const char* column : {"IDF", "LPF", "STAWKA", "VAT", "IDOPIE"})
        sql(QStringLiteral("ALTER TABLE NALICZ DROP COLUMN %1").arg(QLatin1String(column)));
    sql("DROP TABLE FAKT");
    chargeSetup();
    ChargeRunResult r = charge(ChargeOperation::Compute);
    ASSERT_TRUE(r.completed) << r.stopError.toStdString();
    // Approval without invoices: no issue date, due date or title is asked.
    r = charge(ChargeOperation::Approve);
    ASSERT_TRUE(r.completed) << r.stopError.toStdString();
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(charged().value(0), QStringLiteral("100"));

    NaliczOptions options;
    options.month = month;
    options.type = QStringLiteral("1");
    TDMNalicz register_(context(), options);
    Table& lines = *register_.lines().table;
    lines.open();
    EXPECT_EQ(lines.rowCount(), charged().size());
}

TEST_P(OptionalColumnsTest, PricesWithoutTheirVatRate)
{
    sql("ALTER TABLE TARMED DROP COLUMN STAWKA");
    chargeSetup();
    TDMMedia catalogue(context());
    EXPECT_FALSE(catalogue.pricesWithVat());
    catalogue.components().table->open();
    Table& prices = *catalogue.prices().table;
    prices.open();
    EXPECT_EQ(prices.rowCount(), 1);
    const ChargeRunResult r = charge(ChargeOperation::Compute);
    ASSERT_TRUE(r.completed) << r.stopError.toStdString();
    EXPECT_EQ(charged().value(0), QStringLiteral("100"));
}

TEST_P(OptionalColumnsTest, ComponentsWithoutTheAidShareOrTheCentre)
{
    sql("ALTER TABLE DZIEMED DROP COLUMN PROCOPIE");
    sql("ALTER TABLE OPCJE DROP COLUMN OPIE");
    chargeSetup();
    TDMDzieci children(context());
    children.children().table->open();
    Table& components = *children.components().table;
    components.open();
    EXPECT_EQ(components.rowCount(), 1);
    for (const FieldView& f : children.components().fields)
        EXPECT_NE(f.caption, QStringLiteral("Procent pomocy"));
    const ChargeRunResult r = charge(ChargeOperation::Compute);
    ASSERT_TRUE(r.completed) << r.stopError.toStdString();
    EXPECT_EQ(charged().value(0), QStringLiteral("100"));
}

TEST_P(OptionalColumnsTest, ChildrenAndGroupsWithoutStatuses)
{
    sql("ALTER TABLE DZIECI DROP COLUMN STATUS");
    chargeSetup();
    TDMDzieci children(context());
    Table& kids = *children.children().table;
    kids.open();
    EXPECT_EQ(kids.rowCount(), 1);
    for (const FieldView& f : children.children().fields)
        EXPECT_NE(f.name, QStringLiteral("STATUS"));
    TDMKlasy groups(context());
    for (DataSet* ds : groups.dataSets())
        EXPECT_NO_THROW(ds->table->open());
}

TEST_P(OptionalColumnsTest, HeldClassPresenceWithoutItsMark)
{
    sql("ALTER TABLE ZAJOBEC DROP COLUMN OBECNY");
    sql("INSERT INTO ZAJDOD (KOD, NAZWA, KOLEJ) VALUES (5, 'Rytmika', 1)");
    sql("INSERT INTO DZIECI (NAZWA, ULICA) VALUES ('Ala', 'Polna 1')");
    const int ala = Query(*db, "SELECT MAX(KOD) FROM DZIECI").scalar().toInt();
    sql("INSERT INTO ZAJODB (KLASA, ID, ZAJECIE, DATA, CZASP, CZASW) VALUES (NULL, 1, 5, '2024-03-04', '14:00', '15:00')");
    sql(QStringLiteral("INSERT INTO ZAJOBEC (KLASA, ID, OSOBA) VALUES (NULL, 1, %1)").arg(ala));
    const QuantityData data = loadQuantityData(*db, QDate(2024, 3, 1), QDate(2024, 3, 31));
    ASSERT_TRUE(data.children.contains(ala));
    EXPECT_TRUE(data.children[ala].heldAttendance.contains(HeldClassKey{false, 0, 1}));
}

INSTANTIATE_ENGINES(OptionalColumnsTest);

}  // namespace
