#pragma once
// The text form of the web exchange: values travel as code page 1250 bytes,
// percent-encoded; replies start with a four-character marker; query
// results are records ending in "|" with fields separated by ";".

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace wire {

// Blank → "+", [-.0-9A-Z_a-z] kept, any other byte → "%XX" (upper case).
QByteArray encode(const QString& text);
// The reverse; any character outside the encoding throws Error
// "Błędny format tekstu".
QString decode(const QByteArray& field);
QString badFormatMessage();  // "Błędny format tekstu"

// "name=value" pairs joined by "&"; each value already encoded.
class ActionString {
public:
    explicit ActionString(const char* action);
    // A text value, encoded.
    ActionString& text(const char* name, const QString& value);
    // A value sent as it is (row numbers, hexadecimal chunks).
    ActionString& raw(const char* name, const QByteArray& value);
    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// A reply split at its marker.
struct Reply {
    enum class Kind { Ok, ServiceError, Unknown };
    Kind kind = Kind::Unknown;
    QByteArray result;  // the rest after the marker
};
Reply splitReply(const QByteArray& body);

// The records of a query result (the last "|" may be missing; an empty
// result has none), each split into its still-encoded fields.
QList<QList<QByteArray>> splitRecords(const QByteArray& result);

// A value quoted for a statement sent to the service: single quotes around
// it, inner single quotes doubled.
QString quoted(const QString& value);

}  // namespace wire
