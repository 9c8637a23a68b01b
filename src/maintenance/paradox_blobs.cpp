#include "paradox_blobs.h"

#include <QtEndian>

namespace paradox {

namespace {

// Block types of the .MB file.
constexpr char kSingleBlob = 2;     // one blob filling whole 4 KB chunks
constexpr char kSubAllocated = 3;   // up to 64 small blobs in one block
constexpr int kPointerSize = 10;    // offset (4), length (4), modification number (2)

quint32 le32(const char* p)
{
    return qFromLittleEndian<quint32>(p);
}

}  // namespace

bool BlobFile::open(const QString& path, QString& error)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly)) {
        error = m_file.errorString();
        return false;
    }
    return true;
}

QByteArray BlobFile::readAt(qint64 offset, qint64 length, QString& error)
{
    if (offset < 0 || length < 0 || offset + length > m_file.size() || !m_file.seek(offset)) {
        error = QStringLiteral("wskazanie poza plikiem .MB");
        return {};
    }
    QByteArray data = m_file.read(length);
    if (data.size() != length) {
        error = QStringLiteral("nie można odczytać pliku .MB");
        return {};
    }
    return data;
}

QByteArray BlobFile::read(const QByteArray& field, QString& error)
{
    if (field.size() < kPointerSize) {
        error = QStringLiteral("pole zbyt krótkie na wskazanie danych");
        return {};
    }
    const int leading = int(field.size()) - kPointerSize;
    const char* pointer = field.constData() + leading;
    const quint32 offset = le32(pointer);
    const quint32 length = le32(pointer + 4);
    if (length == 0)
        return QByteArray("");
    // Data no longer than the field's leading part is kept in the record.
    if (length <= quint32(leading))
        return field.left(int(length));
    if (!m_file.isOpen()) {
        error = QStringLiteral("brak pliku .MB");
        return {};
    }
    const qint64 block = offset & 0xffffff00u;
    const int index = int(offset & 0xffu);
    const QByteArray header = readAt(block, 12, error);
    if (header.isNull())
        return {};
    if (index == 0xff) {
        if (header.at(0) != kSingleBlob) {
            error = QStringLiteral("nieoczekiwany rodzaj bloku w pliku .MB");
            return {};
        }
        // Type, chunk count (2), length (4), modification number (2), data.
        return readAt(block + 9, length, error);
    }
    if (header.at(0) != kSubAllocated) {
        error = QStringLiteral("nieoczekiwany rodzaj bloku w pliku .MB");
        return {};
    }
    // Entries of five bytes after the 12-byte block header: data offset in
    // 16-byte units, length in units, modification number (2), length mod 16.
    const QByteArray entry = readAt(block + 12 + 5 * index, 5, error);
    if (entry.isNull())
        return {};
    const qint64 dataOffset = qint64(quint8(entry.at(0))) * 16;
    const int units = quint8(entry.at(1));
    const int remainder = quint8(entry.at(4));
    const qint64 stored = units == 0 ? 0 : qint64(units - 1) * 16 + (remainder == 0 ? 16 : remainder);
    if (dataOffset == 0 || stored != qint64(length)) {
        error = QStringLiteral("uszkodzone wskazanie danych w pliku .MB");
        return {};
    }
    return readAt(block + dataOffset, length, error);
}

}  // namespace paradox
