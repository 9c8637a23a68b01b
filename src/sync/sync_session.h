#pragma once
// One exchange with the web service: requests sent one at a time through the
// transport, replies checked for their marker, the user asked what to do
// about a failed request (Abort / Retry / Ignore), the Stop flag, and the
// progress shown to whoever runs the exchange.

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>

class Prompts;
class Transport;

// Thrown when the user stops or aborts: the exchange ends without a message.
struct SyncStopped {};

class SyncSession {
public:
    SyncSession(Transport& transport, Prompts& prompts, const QUrl& address);

    // --- what the user sees -----------------------------------------------
    std::function<void(const QString& label)> onAction;
    std::function<void(int value, int maximum)> onProgress;
    void setAction(const QString& label);
    void setProgress(int value, int maximum);

    // --- stopping -----------------------------------------------------------
    // Sets the Stop flag and ends a request that is waiting.
    void stop();
    bool stopRequested() const { return m_stop; }
    // Throws SyncStopped when Stop was pressed.
    void checkStop() const;

    // --- requests -----------------------------------------------------------
    // Sends the action string and returns the reply's result. A failed
    // request is shown with Abort (throws SyncStopped), Retry (sends the
    // same body again) and Ignore (an empty result).
    QByteArray send(const QByteArray& body);
    // Sends once and ignores any failure (the logout after an error).
    void sendQuietly(const QByteArray& body);

    const QUrl& address() const { return m_address; }
    void setAddress(const QUrl& address) { m_address = address; }
    int requestCount() const { return m_requests; }

    // The two login steps: challenge, then the digest of password + challenge.
    void login(int clientNumber, const QString& password);
    void logout();

    static QString unknownErrorPrefix();  // "Nieznany błąd podczas transmisji "

private:
    Transport& m_transport;
    Prompts& m_prompts;
    QUrl m_address;
    bool m_stop = false;
    int m_requests = 0;
};
