#include "http_transport.h"

#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>

HttpTransport::HttpTransport(QObject* parent) : QObject(parent) {}

QString HttpTransport::emptyReplyMessage()
{
    return QStringLiteral("Pusta odpowiedź serwera");
}

QString HttpTransport::timeoutMessage()
{
    return QStringLiteral("Przekroczono czas oczekiwania na odpowiedź serwera");
}

QString HttpTransport::abortedMessage()
{
    return QStringLiteral("Przerwano");
}

Transport::Result HttpTransport::post(const QUrl& url, const QByteArray& body)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Lunawa"));
    request.setRawHeader("Accept", "*/*");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setTransferTimeout(m_timeoutMs);

    m_aborted = false;
    QNetworkReply* reply = m_manager.post(request, body);
    m_reply = reply;
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    connect(reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        if (onProgress)
            onProgress(received, total);
    });
    if (!reply->isFinished())
        loop.exec();
    m_reply = nullptr;

    Result result;
    if (m_aborted) {
        result.error = abortedMessage();
    } else if (reply->error() == QNetworkReply::OperationCanceledError) {
        // Not aborted by us: the transfer timeout ran out.
        result.error = timeoutMessage();
    } else if (reply->error() != QNetworkReply::NoError) {
        result.error = reply->errorString();
    } else {
        result.body = reply->readAll();
        if (result.body.isEmpty())
            result.error = emptyReplyMessage();
        else
            result.ok = true;
    }
    reply->deleteLater();
    return result;
}

void HttpTransport::abort()
{
    if (m_reply) {
        m_aborted = true;
        m_reply->abort();
    }
}
