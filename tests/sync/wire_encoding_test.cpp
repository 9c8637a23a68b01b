#include "store/error.h"
#include "sync/service_address.h"
#include "sync/sync_uploads.h"
#include "sync/wire_encoding.h"

#include <QDate>
#include <QTime>

#include <gtest/gtest.h>

TEST(WireEncoding, EncodesBytesOfCodePage1250AndDecodesThemBack)
{
    EXPECT_EQ(wire::encode(QStringLiteral("a b;ó")), QByteArray("a+b%3B%F3"));
    EXPECT_EQ(wire::encode(QStringLiteral("Az-09._~")), QByteArray("Az-09._%7E"));
    const QString awkward = QStringLiteral("Ala; ma|kota & psa + Łódź 'ż'\r\n%");
    EXPECT_EQ(wire::decode(wire::encode(awkward)), awkward);
    EXPECT_EQ(wire::decode("%b3%B3"), QStringLiteral("łł"));

    for (const QByteArray& bad : {QByteArray("a b"), QByteArray("%4"), QByteArray("%G1"), QByteArray("a'b")}) {
        try {
            wire::decode(bad);
            ADD_FAILURE() << bad.constData();
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Błędny format tekstu"));
        }
    }
}

TEST(WireEncoding, RepliesAndRecords)
{
    EXPECT_EQ(wire::splitReply("<OK>12").kind, wire::Reply::Kind::Ok);
    EXPECT_EQ(wire::splitReply("<OK>12").result, QByteArray("12"));
    EXPECT_EQ(wire::splitReply("<ER>Nie").kind, wire::Reply::Kind::ServiceError);
    EXPECT_EQ(wire::splitReply("<ok>").kind, wire::Reply::Kind::Unknown);

    EXPECT_TRUE(wire::splitRecords("").isEmpty());
    const auto records = wire::splitRecords("1;a|2;;|3;c");  // no final terminator
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[1], (QList<QByteArray>{"2", "", ""}));
    EXPECT_EQ(records[2], (QList<QByteArray>{"3", "c"}));

    EXPECT_EQ(wire::quoted(QStringLiteral("O'Hara")), QStringLiteral("'O''Hara'"));
}

TEST(WireEncoding, InsertValuesQuoteTextAndKeepNumbersPlain)
{
    EXPECT_EQ(websync::insertValue(QVariant(), QStringLiteral("A")), QStringLiteral("NULL"));
    EXPECT_EQ(websync::insertValue(12, QStringLiteral("A")), QStringLiteral("12"));
    EXPECT_EQ(websync::insertValue(1234.5, QStringLiteral("A")), QStringLiteral("1234.5"));
    EXPECT_EQ(websync::insertValue(0.1 + 0.2, QStringLiteral("A")), QStringLiteral("0.3"));
    EXPECT_EQ(websync::insertValue(QDate(2026, 3, 5), QStringLiteral("A")), QStringLiteral("'2026-03-05'"));
    EXPECT_EQ(websync::insertValue(QTime(7, 5), QStringLiteral("A")), QStringLiteral("'07:05'"));
    EXPECT_EQ(websync::insertValue(QStringLiteral("12"), QStringLiteral("A")), QStringLiteral("'12'"));
    EXPECT_EQ(websync::insertValue(QStringLiteral("x'); drop"), QStringLiteral("A")), QStringLiteral("'x''); drop'"));
    EXPECT_EQ(websync::insertValue(QStringLiteral("C:\\Dokumenty\\plan zajęć.pdf"), QStringLiteral("PLIK")),
              QStringLiteral("'plan zajęć.pdf'"));
}

TEST(ServiceAddress, ReadWriteAndRequestAddress)
{
    const QString expected = QStringLiteral("http://127.0.0.1:8080/lunawas.php");
    for (const char* text : {"127.0.0.1:8080", "HTTP://127.0.0.1:8080", "hTtP://127.0.0.1:8080/", " 127.0.0.1:8080 "})
        EXPECT_EQ(service_address::toUrl(QString::fromLatin1(text)).toString(), expected) << text;
    EXPECT_EQ(service_address::toUrl(QStringLiteral("HTTPS://rodzice.example.pl/portal/s.php")).toString(),
              QStringLiteral("https://rodzice.example.pl/portal/s.php"));
    EXPECT_FALSE(service_address::toUrl(QString()).isValid());

    const QString text = QStringLiteral("[INNE]\r\nA=1\r\n[PARAMETRY]\r\nGRUPUJ OPLATY=T\r\n[X]\r\nSERWIS INTERNETOWY=zly");
    EXPECT_EQ(service_address::read(text), QString());
    const QString written = service_address::write(text, QStringLiteral("rodzice.pl"));
    EXPECT_EQ(service_address::read(written), QStringLiteral("rodzice.pl"));
    EXPECT_TRUE(written.contains(QStringLiteral("GRUPUJ OPLATY=T")));
    EXPECT_EQ(service_address::read(service_address::write(written, QStringLiteral("inny.pl:81"))),
              QStringLiteral("inny.pl:81"));
    EXPECT_EQ(service_address::read(service_address::write(QString(), QStringLiteral("a.pl"))), QStringLiteral("a.pl"));
}
