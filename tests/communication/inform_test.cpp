// Information for parents: addressees, e-mail, attachments and the
// per-child view.

#include "support/browser_run.h"
#include "support/web_service_double.h"

#include "communication/communication_areas.h"
#include "communication/inform_addressees.h"
#include "communication/inform_attachments.h"
#include "communication/mail_link.h"
#include "communication/tdm_inform.h"
#include "registers/tdm_dzieci.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"
#include "sync/service_address.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

class Inform : public ::testing::Test {
protected:
    void SetUp() override
    {
        run.context->login.visibleGroups = {QStringLiteral("-1")};
        sql(QStringLiteral("INSERT INTO KLASY (KOD, NAZWA, KOLEJ) VALUES (1, 'Misie', 1), (2, 'Żabki', 2)"));
        // Codes 1..5: two share an address (in another letter case), one has none,
        // one is inactive.
        sql(QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY, EMAIL) VALUES "
                           "('Nowak Ola', 'Polna 1', 1, 'T', 'dom@x.pl'), "
                           "('Żak Ewa', 'Leśna 2', 1, 'T', 'DOM@x.pl; mama@y.pl'), "
                           "('Adamski Jan', 'Długa 3', 1, 'T', NULL), "
                           "('Bąk Piotr', 'Krótka 4', 2, 'T', 'bak@z.pl'), "
                           "('Cichy Adam', 'Cicha 5', 0, 'N', 'cichy@z.pl')"));
    }

    void sql(const QString& statement) { Query(db(), statement).exec(); }
    int count(const QString& statement) { return Query(db(), statement).scalar().toInt(); }
    Database& db() { return run.baza->database(); }

    // A new information through the module; returns its number.
    int addInformation(TDMInform& m, const QString& opis, const QVariant& group = {})
    {
        Table& t = *m.informations().table;
        t.insert();
        t.setValue(QStringLiteral("OPIS"), opis);
        t.setValue(QStringLiteral("TEKST"), QStringLiteral("Treść & więcej?"));
        if (group.isValid())
            t.setValue(QStringLiteral("KLASA"), group);
        t.post();
        return t.asInt(QStringLiteral("KOD"));
    }

    BrowserRun run;
    QList<QUrl> opened;
    InformOptions options{0, {}, [this](const QUrl& url) {
                              opened << url;
                              return true;
                          }};
};

TEST_F(Inform, NewAddresseesAreActiveChildrenOfTheChosenGroupsEachOnce)
{
    TDMInform m(*run.context, options);
    const int info = addInformation(m, QStringLiteral("Wycieczka"));
    sql(QStringLiteral("INSERT INTO DZIEINF (INFORM, OSOBA) VALUES (%1, 2)").arg(info));

    // Group by group, by Polish name within a group; inactive children are not offered.
    run.prompts.expectChecks(QStringLiteral("Wybierz grupy"), {QStringLiteral("Misie"), QStringLiteral("Żabki")});
    run.prompts.expectYesNoClosable(QStringLiteral("Wszystkie aktywne dzieci z wybranych grup?"), Answer::No);
    run.prompts.expectChecks(QStringLiteral("Wybierz adresatów"),
                             {QStringLiteral("Adamski Jan, Długa 3 - grupa Misie"),
                              QStringLiteral("Żak Ewa, Leśna 2 - grupa Misie"),
                              QStringLiteral("Bąk Piotr, Krótka 4 - grupa Żabki")});
    m.assignAddressees();
    ASSERT_TRUE(run.prompts.done());
    const ScriptedPrompts::Asked& offered = run.prompts.asked()[2];
    EXPECT_EQ(offered.offered, (QStringList{QStringLiteral("Adamski Jan, Długa 3 - grupa Misie"),
                                            QStringLiteral("Nowak Ola, Polna 1 - grupa Misie"),
                                            QStringLiteral("Żak Ewa, Leśna 2 - grupa Misie"),
                                            QStringLiteral("Bąk Piotr, Krótka 4 - grupa Żabki")}));
    // Child 2 was there already: one row for it, not two.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DZIEINF WHERE INFORM = %1").arg(info)), 3);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DZIEINF WHERE OSOBA = 2")), 1);

    // Closing the question ends without adding anything.
    run.prompts.expectChecksAsOffered(QStringLiteral("Wybierz grupy"));
    run.prompts.expectYesNoClosable(QStringLiteral("Wszystkie aktywne dzieci z wybranych grup?"), Answer::Cancel);
    m.assignAddressees();
    run.prompts.expectChecksAsOffered(QStringLiteral("Wybierz grupy"));
    run.prompts.expectYesNoClosable(QStringLiteral("Wszystkie aktywne dzieci z wybranych grup?"), Answer::Yes);
    m.assignAddressees();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DZIEINF WHERE INFORM = %1").arg(info)), 4);

    // The addressees list shows them, with the date the parents opened it.
    sql(QStringLiteral("UPDATE DZIEINF SET DATAOTW = '2026-12-01 10:30:00' WHERE OSOBA = 4"));
    Table& list = *m.addressees().table;
    list.open();
    ASSERT_EQ(list.rowCount(), 4);
    list.last();
    EXPECT_EQ(list.text(QStringLiteral("DZIECKO")), QStringLiteral("Bąk Piotr, Krótka 4"));
    EXPECT_EQ(list.value(QStringLiteral("DATAOTW")).toDateTime(), QDateTime(QDate(2026, 12, 1), QTime(10, 30)));

    // A child addressed twice by hand is refused.
    list.insert();
    list.setValue(QStringLiteral("OSOBA"), 1);
    EXPECT_THROW(list.post(), Error);
    list.cancel();
}

TEST_F(Inform, MailGoesToTheAddresseesParentsEachAddressOnce)
{
    TDMInform m(*run.context, options);
    const int info = addInformation(m, QStringLiteral("Zebranie"));

    run.prompts.expectInfo(inform::noAddressesMessage());
    m.sendMail();  // no addressees at all
    sql(QStringLiteral("INSERT INTO DZIEINF (INFORM, OSOBA) VALUES (%1, 3)").arg(info));
    run.prompts.expectInfo(QStringLiteral("Brak dresów E-mail w podanym zakresie"));
    m.sendMail();  // an addressee without an address
    EXPECT_TRUE(opened.isEmpty());

    sql(QStringLiteral("INSERT INTO DZIEINF (INFORM, OSOBA) VALUES (%1, 1), (%1, 2), (%1, 4)").arg(info));
    run.prompts.expectYesNo(QStringLiteral("Ukryć adresatów?"), true);
    m.sendMail();
    ASSERT_EQ(opened.size(), 1);
    const QUrlQuery query(opened[0]);
    EXPECT_EQ(opened[0].path(), QString());
    EXPECT_EQ(query.queryItemValue(QStringLiteral("bcc"), QUrl::FullyDecoded),
              QStringLiteral("dom@x.pl;mama@y.pl;bak@z.pl"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), QStringLiteral("Zebranie"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded), QStringLiteral("Treść & więcej?"));

    // A user who sees only group 2 mails only the addressee he sees.
    run.context->login.visibleGroups = {QStringLiteral("2"), QString()};
    opened.clear();
    m.sendMail();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].toString().startsWith(QStringLiteral("mailto:bak@z.pl?subject=Zebranie&body=Tre")));
}

TEST_F(Inform, NoticeBoardsRefuseAddresseesAttachmentsAndGroupChanges)
{
    TDMInform m(*run.context, options);
    const int info = addInformation(m, QStringLiteral("Święto"));
    sql(QStringLiteral("INSERT INTO DZIEINF (INFORM, OSOBA) VALUES (%1, 1)").arg(info));
    Table& t = *m.informations().table;

    // Deleting an information with addressees is refused; so is making it a board.
    EXPECT_THROW(t.remove(), Error);
    t.edit();
    t.setValue(QStringLiteral("TYP"), QStringLiteral("G"));
    try {
        t.post();
        ADD_FAILURE() << "a board with addressees was saved";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), inform::boardRefusal());
    }
    t.cancel();

    // An information for a group becomes a board; its group stays.
    const int board = addInformation(m, QStringLiteral("Plan"), 1);
    EXPECT_EQ(t.text(QStringLiteral("TYP")), QStringLiteral("G"));
    EXPECT_EQ(t.text(QStringLiteral("CAPTION")), QStringLiteral("Plan z dnia 05.03.2024"));
    t.edit();
    EXPECT_THROW(t.setValue(QStringLiteral("KLASA"), 2), Error);
    EXPECT_EQ(t.asInt(QStringLiteral("KLASA")), 1);
    t.cancel();
    EXPECT_THROW(m.assignAddressees(), Error);
    Table& links = *m.attachments().table;
    links.open();
    EXPECT_THROW(links.insert(), Error);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DZIEINF WHERE INFORM = %1").arg(board)), 0);

    // Without addressees it goes, with its attachments.
    sql(QStringLiteral("INSERT INTO LINKI (INFORM, PLIK) VALUES (%1, 'a.pdf')").arg(board));
    t.refresh();
    ASSERT_TRUE(t.locate({QStringLiteral("KOD")}, {board}));
    t.remove();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM LINKI")), 0);
}

TEST_F(Inform, AttachmentIsSentThroughTheExchangeAndItsLinkKept)
{
    WebServiceDouble service;
    ASSERT_TRUE(service.listen());
    service.setAdministrator(57, QStringLiteral("tajne"));
    run.context->institution.clientNumber = 57;
    service_address::save(db(), service.hostAndPort());

    TDMInform m(*run.context);
    addInformation(m, QStringLiteral("Jadłospis"));
    Table& links = *m.attachments().table;
    links.open();
    links.insert();
    EXPECT_THROW(m.sendAttachment(), Error);  // no file yet

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("menu.pdf"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(1500, 'x'));
    f.close();
    links.setValue(QStringLiteral("PLIK"), path);
    run.prompts.expectText(QStringLiteral("Synchronizacja danych"), QStringLiteral("Hasło"), QStringLiteral("tajne"));
    run.prompts.expectInfo(QStringLiteral("Transmisja zakończona"));
    m.sendAttachment();
    ASSERT_TRUE(run.prompts.done());
    const int id = links.asInt(QStringLiteral("ID"));
    EXPECT_EQ(service.files.value(QString::number(id) + QStringLiteral(".pdf")), QByteArray(1500, 'x'));
    EXPECT_FALSE(links.isEditing());
    EXPECT_EQ(Query(db(), QStringLiteral("SELECT LINK FROM LINKI WHERE ID = %1").arg(id)).scalar().toString(),
              service.url(QStringLiteral("/pliki/%1.pdf").arg(id)).toString());
    try {
        m.sendAttachment();
        ADD_FAILURE() << "a second upload of a linked file";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), inform::linkExistsMessage());
    }

    // The next upload starts with the remembered password, without asking.
    links.insert();
    links.setValue(QStringLiteral("PLIK"), path);
    run.prompts.expectInfo(QStringLiteral("Transmisja zakończona"));
    m.sendAttachment();
    ASSERT_TRUE(run.prompts.done());
    EXPECT_FALSE(links.isNull(QStringLiteral("LINK")));
    EXPECT_EQ(service.files.size(), 2);
}

TEST_F(Inform, ChildViewLinksAPickedInformationAndFollowsTheRegister)
{
    AreaRegistry& areas = run.areas;
    registerCommunicationAreas(areas);
    ASSERT_TRUE(areas.has(area::childInformation()));

    TDMInform all(*run.context, options);
    const int first = addInformation(all, QStringLiteral("Pierwsza"));
    addInformation(all, QStringLiteral("Dla grupy"), 1);
    const int last = addInformation(all, QStringLiteral("Ostatnia"));
    sql(QStringLiteral("INSERT INTO DZIEINF (INFORM, OSOBA) VALUES (%1, 4)").arg(first));

    InformOptions childOptions = options;
    childOptions.child = 1;
    TDMInform m(*run.context, childOptions);
    EXPECT_EQ(m.mainDataSet(), &m.childInformations());
    Table& t = *m.childInformations().table;
    EXPECT_EQ(t.rowCount(), 0);

    // Cancelling the pick leaves no row.
    run.prompts.expectCancel(ScriptedPrompts::Kind::Record, QStringLiteral("Informacje"));
    EXPECT_THROW(t.insert(), Error);
    EXPECT_FALSE(t.isEditing());
    // Informations without a group are offered, the last one first.
    const auto& asked = run.prompts.asked().last();
    EXPECT_EQ(asked.offered, (QStringList{QStringLiteral("Pierwsza z dnia 05.03.2024"),
                                          QStringLiteral("Ostatnia z dnia 05.03.2024")}));
    EXPECT_EQ(asked.preset, QString::number(last));

    run.prompts.expectRecord(QStringLiteral("Informacje"), first);
    t.insert();
    t.post();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DZIEINF WHERE OSOBA = 1 AND INFORM = %1").arg(first)), 1);
    EXPECT_EQ(t.text(QStringLiteral("INFOPIS")), QStringLiteral("Pierwsza"));
    EXPECT_EQ(t.text(QStringLiteral("INFTYP")), QStringLiteral("Informacja"));
    // The informations follow: the child's mail carries this one's subject.
    m.sendMail();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].toString().startsWith(QStringLiteral("mailto:dom@x.pl?subject=Pierwsza&")));

    m.setChild(4);
    ASSERT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.asInt(QStringLiteral("INFORM")), first);
}

TEST(MailLinks, LongAddressListsAreSplitNeverCut)
{
    mail::Message message;
    for (int i = 0; i < 30; ++i)
        message.addresses << QStringLiteral("rodzic%1@przedszkole.pl").arg(i);
    message.hideRecipients = true;
    message.subject = QStringLiteral("Zebranie 1/2");
    message.body = QStringLiteral("Prosimy o obecność.\nDyrekcja");
    const QList<QUrl> links = mail::mailtoLinks(message, 300);
    ASSERT_GT(links.size(), 1);
    QStringList seen;
    for (const QUrl& link : links) {
        const QString text = link.toString(QUrl::FullyEncoded);
        EXPECT_LE(text.size(), 300) << text.toStdString();
        EXPECT_EQ(text.count(QLatin1Char('?')), 1) << text.toStdString();
        const QUrlQuery query(link);
        EXPECT_EQ(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), message.subject);
        EXPECT_EQ(query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded), message.body);
        seen << query.queryItemValue(QStringLiteral("bcc"), QUrl::FullyDecoded).split(QLatin1Char(';'));
    }
    EXPECT_EQ(seen, message.addresses);
    EXPECT_EQ(mail::mailtoLinks(message).size(), 1);
    EXPECT_TRUE(mail::mailtoLinks({}).isEmpty());
}

}  // namespace
