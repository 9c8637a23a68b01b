#pragma once
// The transport over HTTP(S) with QNetworkAccessManager. Waiting runs a
// local event loop, so windows stay usable and Stop can abort. Cookies set
// by the service live as long as this object, i.e. for one exchange.
// Certificate errors are never ignored: they fail the request.

#include "transport.h"

#include <QNetworkAccessManager>
#include <QObject>

class QEventLoop;
class QNetworkReply;

class HttpTransport : public QObject, public Transport {
    Q_OBJECT
public:
    explicit HttpTransport(QObject* parent = nullptr);

    // A reply that sends nothing for this long fails (milliseconds).
    void setTimeout(int ms) { m_timeoutMs = ms; }
    int timeout() const { return m_timeoutMs; }

    Result post(const QUrl& url, const QByteArray& body) override;
    void abort() override;

    static QString emptyReplyMessage();  // "Pusta odpowiedź serwera"
    static QString abortedMessage();     // "Przerwano"
    static QString timeoutMessage();     // "Przekroczono czas oczekiwania na odpowiedź serwera"

private:
    QNetworkAccessManager m_manager;
    QNetworkReply* m_reply = nullptr;
    bool m_aborted = false;
    int m_timeoutMs = 60000;
};
