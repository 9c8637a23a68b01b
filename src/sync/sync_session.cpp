#include "sync_session.h"

#include "transport.h"
#include "wire_encoding.h"

#include "browser/prompts.h"
#include "store/cp1250.h"
#include "store/password_digest.h"

SyncSession::SyncSession(Transport& transport, Prompts& prompts, const QUrl& address)
    : m_transport(transport), m_prompts(prompts), m_address(address)
{
}

QString SyncSession::unknownErrorPrefix()
{
    return QStringLiteral("Nieznany błąd podczas transmisji ");
}

void SyncSession::setAction(const QString& label)
{
    if (onAction)
        onAction(label);
}

void SyncSession::setProgress(int value, int maximum)
{
    if (onProgress)
        onProgress(value, maximum);
}

void SyncSession::stop()
{
    m_stop = true;
    m_transport.abort();
}

void SyncSession::checkStop() const
{
    if (m_stop)
        throw SyncStopped{};
}

QByteArray SyncSession::send(const QByteArray& body)
{
    for (;;) {
        checkStop();
        ++m_requests;
        const Transport::Result r = m_transport.post(m_address, body);
        checkStop();
        QString message;
        if (!r.ok) {
            message = unknownErrorPrefix() + r.error;
        } else {
            const wire::Reply reply = wire::splitReply(r.body);
            if (reply.kind == wire::Reply::Kind::Ok)
                return reply.result;
            const QString text = cp1250::decode(reply.result);
            message = reply.kind == wire::Reply::Kind::ServiceError ? text : unknownErrorPrefix() + text;
        }
        const int answer = m_prompts.askChoice(QStringLiteral("Błąd"), message,
                                               {QStringLiteral("Przerwij"), QStringLiteral("Ponów"),
                                                QStringLiteral("Ignoruj")});
        if (answer == -2)
            continue;
        if (answer == -3)
            return {};
        throw SyncStopped{};
    }
}

void SyncSession::sendQuietly(const QByteArray& body)
{
    ++m_requests;
    m_transport.post(m_address, body);
}

void SyncSession::login(int clientNumber, const QString& password)
{
    const QString challenge = cp1250::decode(send(wire::ActionString("Logowanie").bytes()));
    checkStop();
    send(wire::ActionString("Logowanie")
             .text("Adm", QString::number(clientNumber))
             .text("Pas", digest::md5Hex(password, challenge, false))
             .bytes());
}

void SyncSession::logout()
{
    send(wire::ActionString("Wylogowanie").bytes());
}
