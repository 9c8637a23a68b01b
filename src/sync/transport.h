#pragma once
// One request of the web exchange at a time: a form POST whose whole reply
// body comes back as bytes. The protocol knows only this interface.

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>

class Transport {
public:
    struct Result {
        bool ok = false;
        QByteArray body;
        QString error;  // the transport's own text when not ok
    };

    virtual ~Transport() = default;
    // Sends `body` with the content type application/x-www-form-urlencoded
    // and waits for the complete reply; a reply with an empty body fails.
    virtual Result post(const QUrl& url, const QByteArray& body) = 0;
    // Ends a waiting post as a failure; callable from within the wait.
    virtual void abort() = 0;
    // Bytes received so far and the announced total (-1 when unknown).
    std::function<void(qint64 received, qint64 total)> onProgress;
};
