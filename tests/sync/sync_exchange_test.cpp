// Exchanges against the web service double over loopback HTTP.

#include "support/scripted_prompts.h"
#include "support/store_fixture.h"
#include "support/web_service_double.h"

#include "store/institution.h"
#include "store/params.h"
#include "store/password_digest.h"
#include "store/query.h"
#include "sync/http_transport.h"
#include "sync/sync_downloads.h"
#include "sync/sync_modes.h"
#include "sync/sync_session.h"
#include "sync/wire_encoding.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QTimer>

namespace {

using Row = WebServiceDouble::Row;
using Fault = WebServiceDouble::Fault;

QString form(const QByteArray& body, const char* name)
{
    for (const QByteArray& pair : body.split('&'))
        if (pair.startsWith(QByteArray(name) + '='))
            return wire::decode(pair.mid(qsizetype(strlen(name)) + 1));
    return {};
}

class SyncExchange : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (!db)
            return;
        ASSERT_TRUE(service.listen());
        service.setAdministrator(57, QStringLiteral("tajne"));
        institution.clientNumber = 57;
        session = std::make_unique<SyncSession>(transport, prompts, service.url());
        sync = std::make_unique<websync::Synchronizer>(websync::Environment{*db, params, institution, prompts}, *session);
    }

    void sql(const QString& statement, const QVariantMap& binds = {})
    {
        Query q(*db, statement);
        for (auto it = binds.begin(); it != binds.end(); ++it)
            q.bind(it.key(), it.value());
        q.exec();
    }
    int count(const QString& statement) { return Query(*db, statement).scalar().toInt(); }

    // The request bodies whose action is `action` (and table `from`).
    QList<QByteArray> bodies(const char* action, const QString& from = {})
    {
        QList<QByteArray> out;
        for (const QByteArray& b : service.bodies())
            if (form(b, "akcja") == QLatin1String(action) && (from.isEmpty() || form(b, "from") == from))
                out.append(b);
        return out;
    }

    // Two children with internet access, one without; a settlement month.
    void smallStore()
    {
        sql(QStringLiteral("UPDATE OPCJE SET HASLO = :H"), {{"H", digest::internetPassword(QStringLiteral("tajne"))}});
        const QList<QPair<QString, QVariant>> children{{QStringLiteral("Żółć 'Ala'; Kowalska"), QStringLiteral("ha")},
                                                       {QStringLiteral("Nowak Jan"), QStringLiteral("hb")},
                                                       {QStringLiteral("Bez Dostępu"), QVariant()}};
        for (const auto& [name, hash] : children)
            sql(QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, HASLO) VALUES (:N, 'Polna', 1, :H)"),
                {{"N", name}, {"H", hash}});
        sql(QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2026, 11, '1,11')"));
        sql(QStringLiteral("INSERT INTO ZGLOSZ (OSOBA, DATAPRZY, OPIS) VALUES (1, :D, :O)"),
            {{"D", QDate(2026, 11, 20)}, {"O", QStringLiteral("Prośba o 'zwolnienie'; jutro")}});
    }

    websync::FullOptions options() const { return {websync::StartMonth{2026, 11}, false}; }

    WebServiceDouble service;
    ScriptedPrompts prompts;
    HttpTransport transport;
    Institution institution;
    Parameters params;
    std::unique_ptr<SyncSession> session;
    std::unique_ptr<websync::Synchronizer> sync;
};

}  // namespace

TEST_P(SyncExchange, FullSynchronisationDownloadsThenReplacesThePublishedTables)
{
    smallStore();
    service.setTable(QStringLiteral("DZIECI"), {{{"KOD", "1"}, {"HASLO", "stare"}}});
    service.addWebRow(QStringLiteral("DZIECI"), {{"KOD", "2"}, {"HASLO", "nowehaslo"}});
    service.addWebRow(QStringLiteral("DZIECI"), {{"KOD", "99"}, {"HASLO", "dziecko skasowane"}});
    service.addWebRow(QStringLiteral("ZGLOSZ"),
                      {{"OSOBA", "2"}, {"DATAPRZY", "2026-12-01"}, {"OPIS", QStringLiteral("Wniosek; ą+ę & \"x\"|")}});
    service.addWebRow(QStringLiteral("ZGLWPL"), {{"KOD", "1"}, {"OSOBA", "1"}, {"DATA", "2026-11-28"}, {"JAK", "P"}});

    ASSERT_TRUE(sync->full(QStringLiteral("tajne"), options()));
    EXPECT_EQ(prompts.shown(), QStringList{QStringLiteral("Transmisja zakończona")});
    EXPECT_EQ(service.statusHistory, (QStringList{"1", "2", "0"}));

    const QList<QByteArray> all = service.bodies();
    ASSERT_GE(all.size(), 8);
    EXPECT_EQ(all[0], QByteArray("akcja=Logowanie"));
    const QByteArray digest = QCryptographicHash::hash("tajneW7919Z", QCryptographicHash::Md5).toHex();
    EXPECT_EQ(all[1], "akcja=Logowanie&Adm=57&Pas=" + digest);
    EXPECT_EQ(all[2], QByteArray("akcja=Ustawienie&select=1"));
    EXPECT_EQ(all[3], QByteArray("akcja=Zapytanie&row=0&select=KOD%2C+HASLO&from=DZIECI&where=WSTAWIONE%3D%27T%27"));
    EXPECT_EQ(all[4], QByteArray("akcja=Zapytanie&row=1&select=KOD%2C+HASLO&from=DZIECI&where=WSTAWIONE%3D%27T%27"));
    EXPECT_EQ(all.last(), QByteArray("akcja=Wylogowanie"));

    // Downloads come before anything is emptied; the order of the uploads.
    QStringList order;
    for (const QByteArray& b : all) {
        const QString action = form(b, "akcja");
        if (action == QLatin1String("Egzekucja") && form(b, "select") == QLatin1String("delete from"))
            order << form(b, "from");
        else if (action == QLatin1String("Zapytanie") && b.contains("row=0"))
            order << QLatin1Char('?') + form(b, "from");
    }
    EXPECT_EQ(order.join(QLatin1Char(' ')),
              QStringLiteral("?DZIECI ?ZGLOSZ ?ZGLWPL ?DZIEINF ?ZAJOBEC DZIECI MIESIACE NALICZ WPLATY OBECN OBECM "
                             "DZIECZAS ZAJDOD ZAJDAT DZIEZAJ ZAJODB ZAJOBEC POSILKI GRUPYOP MEDIA CZASBEZP NALKLA NALDOD "
                             "OPCJE ZGLWPL INFORM LINKI DZIEINF ZGLOSZ STATUSY KODY"));

    // The requests' insert, byte for byte: both requests, quotes doubled.
    const QList<QByteArray> requests = bodies("Egzekucja", QStringLiteral("ZGLOSZ"));
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[1],
              QByteArray("akcja=Egzekucja&select=insert+into&from=ZGLOSZ&where=%28OSOBA%2C+OPIS%2C+DATAPRZY%2C+DATAZAL%2C+"
                         "WYKONANIE%29+values+%281%2C+%27Pro%9Cba+o+%27%27zwolnienie%27%27%3B+jutro%27%2C+%272026-11-20%27"
                         "%2C+NULL%2C+NULL%29%2C+%282%2C+%27Wniosek%3B+%B9%2B%EA+%26+%22x%22%7C%27%2C+%272026-12-01%27%2C+"
                         "NULL%2C+NULL%29"));

    // Local rows after the downloads.
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT HASLO FROM DZIECI WHERE KOD = 2")).scalar().toString(),
              QStringLiteral("nowehaslo"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DZIECI WHERE KOD = 99")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZGLOSZ")), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZGLWPL WHERE JAK = 'P'")), 1);
    EXPECT_EQ(sync->summary().requestsReceived, 1);

    // The service's tables are the local selections, none marked as entered there.
    for (const QString& table : service.tableNames())
        for (const Row& r : service.rows(table))
            EXPECT_NE(r.value(QStringLiteral("WSTAWIONE")), QStringLiteral("T")) << table.toStdString();
    const QList<Row> children = service.rows(QStringLiteral("DZIECI"));
    ASSERT_EQ(children.size(), 3);
    EXPECT_EQ(children[0].value("KOD"), QStringLiteral("0"));
    EXPECT_EQ(children[0].value("HASLO"), digest::internetPassword(QStringLiteral("tajne")));
    EXPECT_EQ(children[2].value("HASLO"), QStringLiteral("nowehaslo"));
    EXPECT_EQ(service.rows(QStringLiteral("ZGLOSZ")).size(), 2);
    EXPECT_EQ(service.rows(QStringLiteral("ZGLOSZ"))[1].value("OPIS"), QStringLiteral("Wniosek; ą+ę & \"x\"|"));
    EXPECT_EQ(service.rows(QStringLiteral("OPCJE")).size(), 5);

    // A run stopped before its upload leaves the web's marks: the same row
    // arriving again is not added twice.
    service.addWebRow(QStringLiteral("ZGLOSZ"),
                      {{"OSOBA", "2"}, {"DATAPRZY", "2026-12-01"}, {"OPIS", QStringLiteral("Wniosek; ą+ę & \"x\"|")}});
    ASSERT_TRUE(sync->full(QStringLiteral("tajne"), {websync::StartMonth{2026, 11}, true}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZGLOSZ")), 2);
    EXPECT_EQ(bodies("Egzekucja", QStringLiteral("NALICZ")).size(), 1);  // the first run's delete only
}

TEST_P(SyncExchange, InsertsAreBatchedAbove1000Characters)
{
    for (int i = 0; i < 80; ++i)
        sql(QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, HASLO) VALUES ('D', 'U', 1, :H)"),
            {{"H", digest::internetPassword(QString::number(i))}});
    ASSERT_TRUE(sync->full(QStringLiteral("tajne"), options()));
    EXPECT_EQ(service.rows(QStringLiteral("DZIECI")).size(), 80);
    QList<QByteArray> inserts = bodies("Egzekucja", QStringLiteral("DZIECI"));
    inserts.removeFirst();  // the delete
    ASSERT_EQ(inserts.size(), 4);  // about 22 rows of 47 characters each
    for (qsizetype i = 0; i + 1 < inserts.size(); ++i) {
        const QString where = form(inserts[i], "where");
        const QString rows = where.mid(where.indexOf(QStringLiteral(" values ")) + 8);
        EXPECT_GT(rows.size(), 1000);
        EXPECT_LE(rows.size() - rows.mid(rows.lastIndexOf(QStringLiteral(", ("))).size(), 1000);
    }
}

TEST_P(SyncExchange, FailedRequestsAreRetriedIgnoredOrEndTheExchange)
{
    smallStore();
    service.addWebRow(QStringLiteral("ZGLOSZ"), {{"OSOBA", "1"}, {"DATAPRZY", "2026-12-01"}, {"OPIS", "Pierwszy wniosek"}});
    service.addWebRow(QStringLiteral("ZGLOSZ"), {{"OSOBA", "2"}, {"DATAPRZY", "2026-12-02"}, {"OPIS", "Drugi"}});
    service.addWebRow(QStringLiteral("ZGLWPL"), {{"KOD", "1"}, {"OSOBA", "1"}, {"DATA", "2026-11-28"}});

    service.injectFault(Fault::ServiceError, "akcja=Ustawienie&select=1", 1, QStringLiteral("Serwis zajęty"));
    prompts.expectChoice(QStringLiteral("Błąd"), -2).withText(QStringLiteral("Serwis zajęty"));
    service.injectFault(Fault::Garbage, "from=DZIEINF");
    prompts.expectChoice(QStringLiteral("Błąd"), -3)
        .withText(QStringLiteral("Nieznany błąd podczas transmisji l>Internal error</html>"));
    service.injectFault(Fault::RawBlank, "row=1&select=OSOBA");    // the ZGLOSZ page
    service.injectFault(Fault::Miscount, "row=0&select=KOD%2C+OSOBA");  // the ZGLWPL count
    ASSERT_TRUE(sync->full(QStringLiteral("tajne"), options()));
    EXPECT_TRUE(prompts.done());

    const QList<QByteArray> all = service.bodies();
    EXPECT_EQ(all[2], all[3]);  // Retry sends the same body
    EXPECT_EQ(all[2], QByteArray("akcja=Ustawienie&select=1"));
    // The record with a raw blank is skipped, the other one applied.
    EXPECT_EQ(sync->summary().skipped, QStringList{QStringLiteral("Błędny format tekstu")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZGLOSZ WHERE OPIS = 'Drugi'")), 1);
    // A count of 6 with one row: the empty second page ends the table.
    EXPECT_EQ(bodies("Zapytanie", QStringLiteral("ZGLWPL")).size(), 3);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZGLWPL")), 1);

    // A request never answered: Stop ends it silently, the logout still goes.
    service.clearRequests();
    service.injectFault(Fault::NoReply, "akcja=Ustawienie&select=2");
    QTimer::singleShot(200, [this] { session->stop(); });
    EXPECT_FALSE(sync->full(QStringLiteral("tajne"), options()));
    EXPECT_EQ(service.bodies().last(), QByteArray("akcja=Wylogowanie"));
    EXPECT_TRUE(bodies("Egzekucja").isEmpty());

    // ... and the timeout shows the transport's error; Abort ends it.
    auto again = std::make_unique<SyncSession>(transport, prompts, service.url());
    websync::Synchronizer second({*db, params, institution, prompts}, *again);
    transport.setTimeout(300);
    service.injectFault(Fault::NoReply, "akcja=Ustawienie&select=1");
    prompts.expectChoice(QStringLiteral("Błąd"), -1);
    EXPECT_FALSE(second.full(QStringLiteral("tajne"), options()));
    ASSERT_TRUE(prompts.done());
    EXPECT_TRUE(prompts.asked().last().text.startsWith(QStringLiteral("Nieznany błąd podczas transmisji ")));
}

TEST_P(SyncExchange, AttendanceAtAClassHeldOnTheWebCreatesTheHeldClass)
{
    sql(QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA) VALUES ('A', 'U', 1)"));
    sql(QStringLiteral("INSERT INTO ZAJDOD (NAZWA, KLASA) VALUES ('Rytmika', 1)"));
    sql(QStringLiteral("INSERT INTO ZAJDAT (ZAJECIE, ODDATY, DZIENTYG, CZASP, CZASW) VALUES (1, :D, '1', :P, :W)"),
        {{"D", QDate(2026, 9, 1)}, {"P", QTime(10, 0)}, {"W", QTime(10, 45)}});
    sql(QStringLiteral("INSERT INTO ZAJODB (ZAJECIE, DATA, KLASA, ID) VALUES (1, :D, 1, 4)"), {{"D", QDate(2026, 12, 1)}});
    sql(QStringLiteral("INSERT INTO ZAJOBEC (KLASA, ID, OSOBA, OBECNY) VALUES (1, 4, 1, 'T')"));
    service.setTable(QStringLiteral("ZAJOBEC"),
                     {{{"KLASA", "1"}, {"ID", "4"}, {"OSOBA", "1"}, {"ZAJECIE", "1"}, {"DATA", "2026-12-01"}, {"OBECNY", "N"}},
                      {{"OSOBA", "1"}, {"ZAJECIE", "1"}, {"DATA", "2026-12-07"}, {"OBECNY", "N"}},
                      {{"OSOBA", "1"}, {"ZAJECIE", "7"}, {"DATA", "2026-12-07"}, {"OBECNY", "N"}}});
    const QString missing = websync::Downloader::missingClassMessage(QStringLiteral("7"));
    prompts.expectError(missing);
    session->login(57, QStringLiteral("tajne"));
    websync::Downloader downloader(*db, *session, prompts);
    const websync::DownloadResult r = downloader.run(websync::fullDownloads().last());
    EXPECT_EQ(r.applied, 2);
    EXPECT_EQ(r.skipped, QStringList{missing});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZAJOBEC WHERE ID = 4 AND OBECNY = 'N'")), 1);
    Query held(*db, QStringLiteral("SELECT KLASA, ID, CZASP, CZASW FROM ZAJODB WHERE DATA = '2026-12-07'"));
    held.exec();
    ASSERT_TRUE(held.next());
    EXPECT_EQ(held.value(0).toInt(), 1);
    EXPECT_EQ(held.value(1).toInt(), 5);
    EXPECT_TRUE(held.value(2).toString().startsWith(QStringLiteral("10:00")));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZAJOBEC WHERE ID = 5 AND OSOBA = 1 AND OBECNY = 'N'")), 1);
}

TEST_P(SyncExchange, CorrectionConfigurationAttachmentAndLoginRecords)
{
    sql(QStringLiteral("UPDATE OPCJE SET HASLO = 'abc''d'"));
    service.setTable(QStringLiteral("DZIECI"), {{{"KOD", "0"}, {"HASLO", "x"}}});
    ASSERT_TRUE(sync->correction(QStringLiteral("tajne"), 0));
    EXPECT_EQ(bodies("Egzekucja").value(0),
              QByteArray("akcja=Egzekucja&select=update&from=DZIECI&where=set+HASLO+%3D+%27abc%27%27d%27+where+KOD+%3D+0"));
    EXPECT_EQ(service.rows(QStringLiteral("DZIECI"))[0].value("HASLO"), QStringLiteral("abc'd"));

    service.configuration = QStringLiteral("120110201");
    const qsizetype shown = prompts.shown().size();
    ASSERT_TRUE(sync->readConfiguration(QStringLiteral("tajne")));
    EXPECT_EQ(sync->summary().configuration, QStringLiteral("120110201"));
    EXPECT_EQ(prompts.shown().size(), shown);  // no "Transmisja zakończona": the window reopens
    ASSERT_TRUE(sync->writeConfiguration(QStringLiteral("tajne"), QStringLiteral("111111112")));
    EXPECT_EQ(service.configuration, QStringLiteral("111111112"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.pdf"));
    QByteArray content;
    for (int i = 0; i < 2500; ++i)
        content += char(i * 7);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    service.setUploadPath(QStringLiteral("/pliki.php"));
    service.clearRequests();
    ASSERT_TRUE(sync->attachment(QStringLiteral("tajne"), 12, path));
    EXPECT_EQ(service.files.value(QStringLiteral("12.pdf")), content);
    EXPECT_EQ(sync->summary().link, service.url(QStringLiteral("/pliki/12.pdf")).toString());
    int chunks = 0;
    for (const auto& r : service.requests())
        if (r.body.contains("etap=2")) {
            ++chunks;
            EXPECT_EQ(r.path, QByteArray("/pliki.php"));
        }
    EXPECT_EQ(chunks, 3);
    EXPECT_EQ(service.requests().last().path, QByteArray("/lunawas.php"));  // the logout

    const QString unreadable = dir.filePath(QStringLiteral("brak.pdf"));
    prompts.expectError(unreadable + QStringLiteral("\r\nBłąd otwarcia pliku"));
    EXPECT_FALSE(sync->attachment(QStringLiteral("tajne"), 13, unreadable));

    service.setTable(QStringLiteral("PRZEDLOGI"), {{{"CZAS", "2026-11-30 08:15:00"}, {"KON", "0"}, {"OK", "T"}},
                                                   {{"CZAS", "2026-09-30 08:15:00"}, {"KON", "1"}, {"OK", "N"}}});
    service.clearRequests();
    ASSERT_TRUE(sync->logins(QStringLiteral("tajne"), 3, QDate(2026, 12, 9)));
    EXPECT_EQ(form(bodies("Zapytogol").value(0), "where"),
              QStringLiteral("12*extract(YEAR from CZAS)+extract(MONTH from CZAS)>12*2026+12-3"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM PRZEDLOGI WHERE KON = 0")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM PRZEDLOGI")), 1);
}

TEST_P(SyncExchange, StartMonthFollowsTheLastMonthWithoutWork)
{
    EXPECT_EQ(websync::defaultStartMonth(*db).index(), 12 * 9999 + 12);
    for (int m = 1; m <= 12; ++m)
        sql(QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2026, :M, :F)"),
            {{"M", m}, {"F", m == 8 ? QStringLiteral("-") : QStringLiteral("1")}});
    sql(QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2025, 12, '1')"));
    EXPECT_EQ(websync::defaultStartMonth(*db).index(), 12 * 2026 + 9);
    sql(QStringLiteral("UPDATE MIESIACE SET DNIWOLNE = '2' WHERE MIES = 8"));
    EXPECT_EQ(websync::defaultStartMonth(*db).index(), 12 * 2026 + 1);
    EXPECT_EQ(websync::acceptedStartMonth(*db, {2025, 12}).index(), 12 * 2026 + 1);
    EXPECT_EQ(websync::acceptedStartMonth(*db, {2026, 5}).index(), 12 * 2026 + 5);
}

INSTANTIATE_ENGINES(SyncExchange);
