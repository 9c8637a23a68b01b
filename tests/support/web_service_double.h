#pragma once
// A parents' web service on a loopback port, speaking the exchange's side
// of the protocol over plain HTTP/1.1: login with a challenge and a session
// cookie, the status, the configuration string, paged queries, delete /
// insert / update statements and attachments sent in chunks (optionally to
// another address). Tables are rows of field texts (a missing field is
// NULL); rows entered by parents carry WSTAWIONE = 'T'.
//
// Faults can be injected into the reply to the next request(s) whose body
// contains a given text.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>

class QTcpServer;
class QTcpSocket;

class WebServiceDouble : public QObject {
    Q_OBJECT
public:
    using Row = QMap<QString, QString>;

    struct Request {
        QByteArray path;
        QByteArray body;
    };

    enum class Fault {
        ServiceError,  // "<ER>" + message
        Garbage,       // a reply without a marker
        EmptyBody,     // HTTP 200 with no body
        NoReply,       // the connection stays silent
        RawBlank,      // the encoded records carry a raw blank instead of "+"
        Miscount,      // a count larger by 5 than the rows there are
    };

    explicit WebServiceDouble(QObject* parent = nullptr);
    ~WebServiceDouble() override;

    // Listens on 127.0.0.1 on a free port.
    bool listen();
    quint16 port() const;
    // "127.0.0.1:PORT", as the configuration holds it.
    QString hostAndPort() const;
    QUrl url(const QString& path = QStringLiteral("/lunawas.php")) const;

    // The account that may log in: client number and clear password.
    void setAdministrator(int clientNumber, const QString& password);

    void setTable(const QString& table, const QList<Row>& rows) { m_tables[table] = rows; }
    // A row as parents enter it on the web (WSTAWIONE = 'T').
    void addWebRow(const QString& table, Row row);
    QList<Row> rows(const QString& table) const { return m_tables.value(table); }
    QStringList tableNames() const { return m_tables.keys(); }

    void setPageSize(int rows) { m_pageSize = rows; }
    // Makes step 1 of an upload at the normal address answer with this
    // path on the same server, where the chunks are then to go.
    void setUploadPath(const QString& path) { m_uploadPath = path; }

    QString configuration;          // COJEST
    QString status;                 // the last status set
    QStringList statusHistory;      // every status set, in order
    QMap<QString, QByteArray> files;  // uploaded attachments by name

    const QList<Request>& requests() const { return m_requests; }
    QList<QByteArray> bodies() const;
    void clearRequests() { m_requests.clear(); }

    void injectFault(Fault fault, const QByteArray& bodyContains, int times = 1,
                     const QString& message = QStringLiteral("Błąd serwisu"));

    // Parses a statement's value list "(A, B) values (1, 'x'), (NULL, 'y')"
    // into rows; exposed for the portal's own use.
    static QList<Row> parseInsert(const QString& text);

private:
    struct Injected {
        Fault fault;
        QByteArray match;
        int times;
        QString message;
    };
    struct Reply {
        QByteArray body;
        QByteArray cookie;  // Set-Cookie value to send
        bool silent = false;
    };

    void readFrom(QTcpSocket* socket);
    Reply handle(const QByteArray& path, const QByteArray& body, const QByteArray& cookie);
    Reply dispatch(const QByteArray& path, const QHash<QByteArray, QByteArray>& form, const QByteArray& cookie);
    QByteArray query(const QHash<QByteArray, QByteArray>& form, bool miscount);
    QByteArray execute(const QHash<QByteArray, QByteArray>& form);
    QByteArray upload(const QByteArray& path, const QHash<QByteArray, QByteArray>& form);
    static void send(QTcpSocket* socket, const Reply& reply);

    QTcpServer* m_server = nullptr;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QMap<QString, QList<Row>> m_tables;
    QList<Request> m_requests;
    QList<Injected> m_faults;
    int m_clientNumber = 0;
    QString m_password;
    QString m_challenge;
    QByteArray m_pendingSession;
    QByteArray m_session;
    int m_sessions = 0;
    int m_pageSize = 50;
    QString m_uploadPath;
};
