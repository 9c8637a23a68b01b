#include "wire_encoding.h"

#include "store/cp1250.h"
#include "store/error.h"

namespace wire {

namespace {

bool keptAsIs(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '.'
        || c == '_';
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

QString badFormatMessage()
{
    return QStringLiteral("Błędny format tekstu");
}

QByteArray encode(const QString& text)
{
    static const char digits[] = "0123456789ABCDEF";
    const QByteArray bytes = cp1250::encode(text);
    QByteArray out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        if (c == ' ') {
            out += '+';
        } else if (keptAsIs(c)) {
            out += c;
        } else {
            const auto b = static_cast<unsigned char>(c);
            out += '%';
            out += digits[b >> 4];
            out += digits[b & 15];
        }
    }
    return out;
}

QString decode(const QByteArray& field)
{
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c == '+') {
            bytes += ' ';
        } else if (keptAsIs(c)) {
            bytes += c;
        } else if (c == '%' && i + 2 < field.size() && hexDigit(field.at(i + 1)) >= 0
                   && hexDigit(field.at(i + 2)) >= 0) {
            bytes += char(hexDigit(field.at(i + 1)) * 16 + hexDigit(field.at(i + 2)));
            i += 2;
        } else {
            throw Error(badFormatMessage());
        }
    }
    return cp1250::decode(bytes);
}

ActionString::ActionString(const char* action) : m_bytes(QByteArrayLiteral("akcja=") + action) {}

ActionString& ActionString::text(const char* name, const QString& value)
{
    return raw(name, encode(value));
}

ActionString& ActionString::raw(const char* name, const QByteArray& value)
{
    m_bytes += '&';
    m_bytes += name;
    m_bytes += '=';
    m_bytes += value;
    return *this;
}

Reply splitReply(const QByteArray& body)
{
    Reply r;
    r.result = body.mid(4);
    const QByteArray marker = body.left(4);
    if (marker == "<OK>")
        r.kind = Reply::Kind::Ok;
    else if (marker == "<ER>")
        r.kind = Reply::Kind::ServiceError;
    return r;
}

QList<QList<QByteArray>> splitRecords(const QByteArray& result)
{
    QList<QList<QByteArray>> records;
    QList<QByteArray> parts = result.split('|');
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    records.reserve(parts.size());
    for (const QByteArray& p : parts)
        records.append(p.split(';'));
    return records;
}

QString quoted(const QString& value)
{
    QString v = value;
    v.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

}  // namespace wire
