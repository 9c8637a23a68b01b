#include "support/web_service_double.h"
#include "sync/http_transport.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

class HttpTransportTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service.listen()); }
    WebServiceDouble service;
    HttpTransport transport;
};

}  // namespace

TEST_F(HttpTransportTest, PostsTheFormAndKeepsTheSessionCookie)
{
    service.setAdministrator(5, QStringLiteral("x"));
    Transport::Result r = transport.post(service.url(), "akcja=Logowanie");
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_TRUE(r.body.startsWith("<OK>"));
    // Without the cookie of the challenge the service refuses everything.
    r = transport.post(service.url(), "akcja=Ustawienie&select=1");
    EXPECT_TRUE(r.body.startsWith("<ER>"));
    ASSERT_EQ(service.requests().size(), 2);
    EXPECT_EQ(service.requests()[1].path, QByteArray("/lunawas.php"));
    EXPECT_EQ(service.requests()[1].body, QByteArray("akcja=Ustawienie&select=1"));

    HttpTransport other;
    EXPECT_TRUE(other.post(service.url(), "akcja=Logowanie").ok);
}

TEST_F(HttpTransportTest, EmptyBodySilenceAndAbortAreFailuresWithoutBody)
{
    service.injectFault(WebServiceDouble::Fault::EmptyBody, "akcja");
    Transport::Result r = transport.post(service.url(), "akcja=Logowanie");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, HttpTransport::emptyReplyMessage());

    service.injectFault(WebServiceDouble::Fault::NoReply, "akcja");
    transport.setTimeout(300);
    r = transport.post(service.url(), "akcja=Logowanie");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, HttpTransport::timeoutMessage());
    EXPECT_TRUE(r.body.isEmpty());

    service.injectFault(WebServiceDouble::Fault::NoReply, "akcja");
    transport.setTimeout(60000);
    QTimer::singleShot(100, &transport, [this] { transport.abort(); });
    r = transport.post(service.url(), "akcja=Logowanie");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, HttpTransport::abortedMessage());
    EXPECT_TRUE(r.body.isEmpty());

    // Still usable afterwards.
    EXPECT_TRUE(transport.post(service.url(), "akcja=Logowanie").ok);
}
