// The templates register and the templates a store is delivered with.

#include "shell/register_fixture.h"

#include "printouts/delivered_templates.h"
#include "printouts/tdm_szablony.h"
#include "printouts/template_data_fields.h"
#include "printouts/template_layout_text.h"
#include "printouts/template_store.h"
#include "store/cp1250.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

using namespace printouts;

namespace {

class TemplateRegisterTest : public RegisterTest {};

TEST_P(TemplateRegisterTest, TypeShownByItsNameAndLayoutCommandOnlyWithADesigner)
{
    Query(*db, QStringLiteral("INSERT INTO SZABLONY (TYP, NAZWA, DANE) VALUES ('4', 'Faktura miesięczna', NULL)")).exec();
    TDMSzablony plain(context());
    EXPECT_EQ(captions(plain.templates()), (QStringList{QStringLiteral("Typ szablonu"), QStringLiteral("Nazwa")}));
    Table& t = *plain.templates().table;
    t.open();
    ASSERT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.text(TDMSzablony::typeNameField()), QStringLiteral("Faktura"));
    EXPECT_TRUE(shownCaptions(plain.templates()).isEmpty());

    QString opened;
    TDMSzablony withDesigner(context(), [&](RunContext&, Table& row) { opened = row.text(QStringLiteral("NAZWA")); });
    EXPECT_EQ(shownCaptions(withDesigner.templates()), QStringList{QStringLiteral("&Układ szablonu")});
    withDesigner.templates().command(TDMSzablony::layoutCommand())->handler();
    EXPECT_EQ(opened, QStringLiteral("Faktura miesięczna"));
}

TEST_P(TemplateRegisterTest, DeliveredTemplatesAddedOncePerMissingType)
{
    EXPECT_EQ(addDeliveredTemplates(*db), 5);
    EXPECT_EQ(addDeliveredTemplates(*db), 0);

    // An older store: no invoice type name and no invoice template.
    Query(*db, QStringLiteral("DELETE FROM KODY WHERE RODZAJ = 'szablo' AND TYP = '4'")).exec();
    Query(*db, QStringLiteral("DELETE FROM SZABLONY WHERE TYP = '4'")).exec();
    Query(*db, QStringLiteral("UPDATE SZABLONY SET NAZWA = 'Mój list' WHERE TYP = '1'")).exec();
    EXPECT_EQ(addDeliveredTemplates(*db), 1);
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT NAZWAM FROM KODY WHERE RODZAJ = 'szablo' AND TYP = '4'")).scalar(),
              QStringLiteral("Faktury"));
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM SZABLONY")).scalar().toInt(), 5);

    // Stored texts read back into the delivered layouts and are written the same.
    Query q(*db, QStringLiteral("SELECT TYP, NAZWA, DANE FROM SZABLONY WHERE TYP = '4'"));
    q.exec();
    ASSERT_TRUE(q.next());
    const QString stored = q.value(2).toString();
    const PrintTemplate invoice = readLayout(stored);
    EXPECT_EQ(writeLayout(invoice), stored);
    EXPECT_EQ(invoice, deliveredTemplates().last().layout);
}

TEST_P(TemplateRegisterTest, ImportReadsFirstAndReplacesByNameAndType)
{
    const QString layout = writeLayout(deliveredTemplates().first().layout);
    auto count = [&] { return Query(*db, QStringLiteral("SELECT COUNT(*) FROM SZABLONY")).scalar().toInt(); };

    const ImportResult added = importTemplate(*db, TemplateType::Letters, QStringLiteral("Zaproszenie"), layout);
    EXPECT_FALSE(added.replaced);
    const ImportResult other = importTemplate(*db, TemplateType::Statements, QStringLiteral("Zaproszenie"), layout);
    EXPECT_FALSE(other.replaced);
    EXPECT_NE(other.id, added.id);
    const ImportResult again = importTemplate(*db, TemplateType::Letters, QStringLiteral("Zaproszenie"),
                                              QStringLiteral("POZIOMO"));
    EXPECT_TRUE(again.replaced);
    EXPECT_EQ(again.id, added.id);
    EXPECT_EQ(count(), 2);
    const QList<StoredTemplate> letters = templatesNamed(*db, QStringLiteral("Zaproszenie"), TemplateType::Letters);
    ASSERT_EQ(letters.size(), 1);
    EXPECT_EQ(letters.first().layoutText, QStringLiteral("POZIOMO"));
    EXPECT_EQ(templatesNamed(*db, QStringLiteral("Zaproszenie")).size(), 2);

    // A malformed layout writes nothing, not even over an existing one.
    QString bad = layout;
    bad.replace(QStringLiteral("\r\n800\r\n"), QStringLiteral("\r\nosiemset\r\n"));
    ASSERT_NE(bad, layout);
    EXPECT_THROW(importTemplate(*db, TemplateType::Letters, QStringLiteral("Zaproszenie"), bad), Error);
    EXPECT_THROW(importTemplate(*db, TemplateType::Letters, QStringLiteral("Nowy"), bad), Error);
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(templatesNamed(*db, QStringLiteral("Zaproszenie"), TemplateType::Letters).first().layoutText,
              QStringLiteral("POZIOMO"));

    // Reading and changing templates is not enough to import one.
    RightsDescriptor d;
    d.credential = rights::userCredential(7);
    d.tableRights = rights::tableMaskOfLevel(2);
    for (int i = 0; i < db->fields(QStringLiteral("SZABLONY")).size(); ++i)
        d.fieldRights << rights::All;
    rights::writeDescriptors(*db, QStringLiteral("SZABLONY"), rights::masterCredential(), {d});
    auto user = store->connect({rights::userCredential(7)});
    EXPECT_EQ(storedTemplates(*user).size(), 2);
    try {
        importTemplate(*user, TemplateType::Letters, QStringLiteral("Zaproszenie"), layout);
        ADD_FAILURE() << "imported without the insert right";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Brak dostępu"));
    }
    EXPECT_EQ(templatesNamed(*db, QStringLiteral("Zaproszenie"), TemplateType::Letters).first().layoutText,
              QStringLiteral("POZIOMO"));
}

INSTANTIATE_ENGINES(TemplateRegisterTest);

TEST(TemplateFiles, Utf8OrCodePage1250WithCrLf)
{
    const QString text = QStringLiteral("\r\nStały tekst\r\nŻółw");
    EXPECT_EQ(layoutFileText(text.toUtf8()), text);
    EXPECT_EQ(layoutFileText("\xEF\xBB\xBF" + text.toUtf8()), text);
    EXPECT_EQ(layoutFileText(cp1250::encode(text)), text);
    EXPECT_EQ(layoutFileText(QStringLiteral("\nStały tekst\nŻółw").toUtf8()), text);
}

// Every delivered layout: fields its document offers, boxes on the page,
// and the invoice's bands in order.
TEST(DeliveredTemplates, LayoutsFitTheirDocuments)
{
    const QList<DeliveredTemplate> all = deliveredTemplates();
    ASSERT_EQ(all.size(), 5);
    QList<TemplateType> types;
    for (const DeliveredTemplate& d : all) {
        SCOPED_TRACE(d.name.toStdString());
        types << d.type;
        EXPECT_LE(d.name.size(), 30);
        EXPECT_EQ(readLayout(writeLayout(d.layout)), d.layout);
        const int width = d.layout.printableSize().width() / d.layout.columns;
        for (const TemplateElement& e : d.layout.elements) {
            if (e.kind == ElementKind::DataField) {
                EXPECT_TRUE(isDataFieldOffered(d.type, e.content)) << e.content.toStdString();
            }
            EXPECT_GE(e.box.left(), 0);
            EXPECT_LE(e.box.left() + e.box.width(), width) << e.content.toStdString();
            EXPECT_LT(e.box.top() + e.box.height(), d.layout.printableSize().height());
        }
    }
    EXPECT_EQ(types, (QList<TemplateType>{TemplateType::Letters, TemplateType::Letters, TemplateType::Statements,
                                          TemplateType::Confirmations, TemplateType::Invoices}));

    auto top = [](const PrintTemplate& t, const QString& marker) {
        for (const TemplateElement& e : t.elements)
            if (e.kind == ElementKind::DataField && e.content == marker)
                return e.box.top();
        return -1;
    };
    const PrintTemplate& invoice = all.last().layout;
    const int end = top(invoice, field::endSeparator());
    const int footer = top(invoice, field::footer());
    ASSERT_GT(end, 0);
    ASSERT_GT(footer, end);
    int headerFields = 0, footerFields = 0;
    for (const TemplateElement& e : invoice.elements) {
        if (e.content == QStringLiteral("Numer dokumentu") || e.content == QStringLiteral("Nazwa i adres kores."))
            headerFields += e.box.top() < end - 1;
        if (e.content == QStringLiteral("Znak naliczenia") || e.content == QStringLiteral("Wartość naliczenia"))
            footerFields += e.box.top() >= end && e.box.top() < footer - 1;
    }
    EXPECT_EQ(headerFields, 2);
    EXPECT_EQ(footerFields, 2);
}

}  // namespace
