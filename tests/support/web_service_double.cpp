#include "web_service_double.h"

#include "store/cp1250.h"
#include "store/error.h"
#include "store/password_digest.h"
#include "sync/wire_encoding.h"

#include <QRegularExpression>

#include <optional>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

QByteArray ok(const QByteArray& result = {})
{
    return QByteArrayLiteral("<OK>") + result;
}

QByteArray er(const QString& message)
{
    return QByteArrayLiteral("<ER>") + cp1250::encode(message);
}

// Form values: "+" is a blank, "%XX" a byte; text is code page 1250.
QHash<QByteArray, QByteArray> parseForm(const QByteArray& body)
{
    QHash<QByteArray, QByteArray> form;
    for (const QByteArray& pair : body.split('&')) {
        const qsizetype eq = pair.indexOf('=');
        if (eq > 0)
            form.insert(pair.left(eq), pair.mid(eq + 1));
    }
    return form;
}

QString text(const QHash<QByteArray, QByteArray>& form, const char* name)
{
    return wire::decode(form.value(name));
}

// The few conditions the exchange sends: none, FIELD='X', FIELD is [not]
// NULL, and the month window of the login records.
bool matches(const WebServiceDouble::Row& row, const QString& condition)
{
    const QString c = condition.trimmed();
    if (c.isEmpty())
        return true;
    static const QRegularExpression equals(QStringLiteral("^(\\w+)\\s*=\\s*'([^']*)'$"));
    static const QRegularExpression null(QStringLiteral("^(\\w+)\\s+is\\s+(not\\s+)?NULL$"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression months(
        QStringLiteral("^12\\*extract\\(YEAR from (\\w+)\\)\\+extract\\(MONTH from \\1\\)>12\\*(\\d+)\\+(\\d+)-(\\d+)$"),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto m = equals.match(c); m.hasMatch())
        return row.value(m.captured(1)) == m.captured(2);
    if (const auto m = null.match(c); m.hasMatch())
        return row.value(m.captured(1)).isEmpty() == m.captured(2).isEmpty();
    if (const auto m = months.match(c); m.hasMatch()) {
        const QString when = row.value(m.captured(1));
        const int value = 12 * when.left(4).toInt() + when.mid(5, 2).toInt();
        return value > 12 * m.captured(2).toInt() + m.captured(3).toInt() - m.captured(4).toInt();
    }
    throw Error(QStringLiteral("Nieobsługiwany warunek: ") + c);
}

// A small reader of SQL value lists.
class Tokens {
public:
    explicit Tokens(const QString& text) : m_text(text) {}

    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }
    bool atEnd()
    {
        skipBlanks();
        return m_pos >= m_text.size();
    }
    bool take(QChar c)
    {
        skipBlanks();
        if (m_pos < m_text.size() && m_text.at(m_pos) == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    void expect(QChar c)
    {
        if (!take(c))
            throw Error(QStringLiteral("Oczekiwano \"%1\" w pozycji %2").arg(c).arg(m_pos));
    }
    QString word()
    {
        skipBlanks();
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (m_text.at(m_pos).isLetterOrNumber() || m_text.at(m_pos) == QLatin1Char('_')))
            ++m_pos;
        if (start == m_pos)
            throw Error(QStringLiteral("Oczekiwano nazwy w pozycji %1").arg(m_pos));
        return m_text.mid(start, m_pos - start);
    }
    // NULL is a null QString; numbers keep their text.
    QString value()
    {
        skipBlanks();
        if (take(QLatin1Char('\''))) {
            QString v = QStringLiteral("");
            for (;;) {
                if (m_pos >= m_text.size())
                    throw Error(QStringLiteral("Niezamknięty tekst"));
                const QChar c = m_text.at(m_pos++);
                if (c == QLatin1Char('\'')) {
                    if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('\'')) {
                        ++m_pos;
                        v += c;
                        continue;
                    }
                    return v;
                }
                v += c;
            }
        }
        const qsizetype start = m_pos;
        while (m_pos < m_text.size()
               && (m_text.at(m_pos).isLetterOrNumber() || m_text.at(m_pos) == QLatin1Char('.')
                   || m_text.at(m_pos) == QLatin1Char('-')))
            ++m_pos;
        const QString v = m_text.mid(start, m_pos - start);
        if (v.isEmpty())
            throw Error(QStringLiteral("Oczekiwano wartości w pozycji %1").arg(m_pos));
        return v.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0 ? QString() : v;
    }

private:
    QString m_text;
    qsizetype m_pos = 0;
};

}  // namespace

WebServiceDouble::WebServiceDouble(QObject* parent) : QObject(parent), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = m_server->nextPendingConnection()) {
            m_buffers.insert(s, {});
            connect(s, &QTcpSocket::readyRead, this, [this, s] { readFrom(s); });
            connect(s, &QTcpSocket::disconnected, this, [this, s] {
                m_buffers.remove(s);
                s->deleteLater();
            });
        }
    });
}

WebServiceDouble::~WebServiceDouble() = default;

bool WebServiceDouble::listen()
{
    return m_server->listen(QHostAddress::LocalHost, 0);
}

quint16 WebServiceDouble::port() const
{
    return m_server->serverPort();
}

QString WebServiceDouble::hostAndPort() const
{
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

QUrl WebServiceDouble::url(const QString& path) const
{
    return QUrl(QStringLiteral("http://") + hostAndPort() + path);
}

void WebServiceDouble::setAdministrator(int clientNumber, const QString& password)
{
    m_clientNumber = clientNumber;
    m_password = password;
}

void WebServiceDouble::addWebRow(const QString& table, Row row)
{
    row.insert(QStringLiteral("WSTAWIONE"), QStringLiteral("T"));
    m_tables[table].append(row);
}

QList<QByteArray> WebServiceDouble::bodies() const
{
    QList<QByteArray> out;
    for (const Request& r : m_requests)
        out.append(r.body);
    return out;
}

void WebServiceDouble::injectFault(Fault fault, const QByteArray& bodyContains, int times, const QString& message)
{
    m_faults.append({fault, bodyContains, times, message});
}

void WebServiceDouble::readFrom(QTcpSocket* socket)
{
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    for (;;) {
        const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        qsizetype length = 0;
        QByteArray cookie;
        for (const QByteArray& line : lines.mid(1)) {
            const qsizetype colon = line.indexOf(':');
            const QByteArray name = line.left(colon).trimmed().toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            if (name == "content-length")
                length = value.toLongLong();
            else if (name == "cookie")
                cookie = value;
        }
        if (buffer.size() < headerEnd + 4 + length)
            return;
        const QByteArray body = buffer.mid(headerEnd + 4, length);
        buffer.remove(0, headerEnd + 4 + length);
        QByteArray path = requestLine.value(1);
        path = path.left(path.indexOf('?') < 0 ? path.size() : path.indexOf('?'));
        m_requests.append({path, body});
        const Reply reply = handle(path, body, cookie);
        if (reply.silent)
            return;  // this connection answers nothing more
        send(socket, reply);
    }
}

void WebServiceDouble::send(QTcpSocket* socket, const Reply& reply)
{
    QByteArray head = QByteArrayLiteral("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=windows-1250\r\n");
    head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    if (!reply.cookie.isEmpty())
        head += "Set-Cookie: " + reply.cookie + "\r\n";
    head += "Connection: keep-alive\r\n\r\n";
    socket->write(head + reply.body);
}

WebServiceDouble::Reply WebServiceDouble::handle(const QByteArray& path, const QByteArray& body,
                                                 const QByteArray& cookie)
{
    std::optional<Injected> fault;
    for (qsizetype i = 0; i < m_faults.size(); ++i) {
        if (body.contains(m_faults[i].match)) {
            fault = m_faults[i];
            if (--m_faults[i].times <= 0)
                m_faults.removeAt(i);
            break;
        }
    }
    if (fault) {
        switch (fault->fault) {
        case Fault::ServiceError: return {er(fault->message), {}};
        case Fault::Garbage: return {QByteArrayLiteral("<html>Internal error</html>"), {}};
        case Fault::EmptyBody: return {QByteArray(), {}};
        case Fault::NoReply: return {QByteArray(), {}, true};
        case Fault::RawBlank:
        case Fault::Miscount: break;
        }
    }
    Reply reply;
    try {
        const auto form = parseForm(body);
        if (fault && fault->fault == Fault::Miscount && form.value("row") == "0") {
            reply.body = query(form, true);
        } else {
            reply = dispatch(path, form, cookie);
        }
    } catch (const Error& e) {
        reply = {er(e.message()), {}};
    }
    if (fault && fault->fault == Fault::RawBlank)
        reply.body.replace('+', ' ');
    return reply;
}

WebServiceDouble::Reply WebServiceDouble::dispatch(const QByteArray& path, const QHash<QByteArray, QByteArray>& form,
                                                   const QByteArray& cookie)
{
    const QByteArray action = form.value("akcja");
    const QByteArray session = cookie.mid(cookie.indexOf("LWSESJA=") + 8).split(';').value(0);
    if (action == "Logowanie") {
        if (!form.contains("Adm")) {
            m_challenge = QStringLiteral("W%1Z").arg(++m_sessions * 7919);
            m_pendingSession = "s" + QByteArray::number(m_sessions);
            m_session.clear();
            return {ok(m_challenge.toLatin1()), "LWSESJA=" + m_pendingSession + "; path=/"};
        }
        if (session != m_pendingSession || text(form, "Adm") != QString::number(m_clientNumber)
            || text(form, "Pas") != digest::md5Hex(m_password, m_challenge, false))
            return {er(QStringLiteral("Błędny identyfikator lub hasło")), {}};
        m_session = m_pendingSession;
        return {ok(), {}};
    }
    if (m_session.isEmpty() || session != m_session)
        return {er(QStringLiteral("Brak zalogowania")), {}};

    if (action == "Wylogowanie") {
        m_session.clear();
        return {ok(), {}};
    }
    if (action == "Ustawienie") {
        const QString select = text(form, "select");
        if (select == QLatin1String("COJEST")) {
            Tokens t(text(form, "where"));
            configuration = t.value();
        } else {
            status = select;
            statusHistory.append(select);
        }
        return {ok(), {}};
    }
    if (action == "Potwierdzenie")
        return {ok(configuration.toLatin1() + ";koniec"), {}};
    if (action == "Zapytanie" || action == "Zapytogol")
        return {query(form, false), {}};
    if (action == "Egzekucja")
        return {execute(form), {}};
    if (action == "Wysylanie")
        return {upload(path, form), {}};
    return {er(QStringLiteral("Nieznana akcja")), {}};
}

QByteArray WebServiceDouble::query(const QHash<QByteArray, QByteArray>& form, bool miscount)
{
    const QStringList fields = text(form, "select").split(QStringLiteral(", "));
    const QString condition = text(form, "where");
    QList<const Row*> found;
    for (const Row& r : m_tables[text(form, "from")])
        if (matches(r, condition))
            found.append(&r);
    const int row = form.value("row").toInt();
    if (row == 0)
        return ok(QByteArray::number(found.size() + (miscount ? 5 : 0)));
    QByteArray out;
    for (qsizetype i = row - 1; i >= 0 && i < found.size() && i < row - 1 + m_pageSize; ++i) {
        QList<QByteArray> encoded;
        for (const QString& f : fields)
            encoded.append(wire::encode(found[i]->value(f.mid(f.indexOf(QLatin1Char('.')) + 1))));
        out += encoded.join(';') + '|';
    }
    return ok(out);
}

QList<WebServiceDouble::Row> WebServiceDouble::parseInsert(const QString& statement)
{
    Tokens t(statement);
    QStringList fields;
    t.expect(QLatin1Char('('));
    do
        fields.append(t.word());
    while (t.take(QLatin1Char(',')));
    t.expect(QLatin1Char(')'));
    if (t.word().compare(QLatin1String("values"), Qt::CaseInsensitive) != 0)
        throw Error(QStringLiteral("Oczekiwano \"values\""));
    QList<Row> rows;
    do {
        t.expect(QLatin1Char('('));
        Row row;
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0)
                t.expect(QLatin1Char(','));
            const QString v = t.value();
            if (!v.isNull())
                row.insert(fields[i], v);
        }
        t.expect(QLatin1Char(')'));
        rows.append(row);
    } while (t.take(QLatin1Char(',')));
    if (!t.atEnd())
        throw Error(QStringLiteral("Nadmiarowy tekst polecenia"));
    return rows;
}

QByteArray WebServiceDouble::execute(const QHash<QByteArray, QByteArray>& form)
{
    const QString verb = text(form, "select");
    const QString table = text(form, "from");
    const QString rest = text(form, "where");
    QList<Row>& rows = m_tables[table];
    if (verb == QLatin1String("delete from")) {
        rows.removeIf([&](const Row& r) { return matches(r, rest); });
    } else if (verb == QLatin1String("insert into")) {
        rows.append(parseInsert(rest));
    } else if (verb == QLatin1String("update")) {
        // "set F = v where K = v"
        Tokens t(rest);
        if (t.word().compare(QLatin1String("set"), Qt::CaseInsensitive) != 0)
            throw Error(QStringLiteral("Oczekiwano \"set\""));
        const QString field = t.word();
        t.expect(QLatin1Char('='));
        const QString value = t.value();
        if (t.word().compare(QLatin1String("where"), Qt::CaseInsensitive) != 0)
            throw Error(QStringLiteral("Oczekiwano \"where\""));
        const QString key = t.word();
        t.expect(QLatin1Char('='));
        const QString keyValue = t.value();
        for (Row& r : rows)
            if (r.value(key) == keyValue) {
                if (value.isNull())
                    r.remove(field);
                else
                    r.insert(field, value);
            }
    } else {
        throw Error(QStringLiteral("Nieznane polecenie: ") + verb);
    }
    return ok();
}

QByteArray WebServiceDouble::upload(const QByteArray& path, const QHash<QByteArray, QByteArray>& form)
{
    const QString name = text(form, "nazwa");
    const int step = form.value("etap").toInt();
    if (step == 1) {
        if (!m_uploadPath.isEmpty() && path != m_uploadPath.toLatin1())
            return ok(url(m_uploadPath).toEncoded());
        files[name].clear();
        return ok();
    }
    if (!m_uploadPath.isEmpty() && path != m_uploadPath.toLatin1())
        throw Error(QStringLiteral("Plik wysyłany pod innym adresem"));
    if (step == 2) {
        files[name] += QByteArray::fromHex(form.value("tekst"));
        return ok();
    }
    if (step == 3)
        return ok(url(QStringLiteral("/pliki/") + name).toEncoded());
    throw Error(QStringLiteral("Nieznany etap"));
}
