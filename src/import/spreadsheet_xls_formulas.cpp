#include "import/spreadsheet_xls_formulas.h"

#include "import/spreadsheet_cells.h"

#include <QHash>
#include <QtEndian>

#include <cstring>

namespace import {
namespace {

constexpr quint32 lastSectorId = 0xFFFFFFFA;  // ids from here on end a chain

quint16 u16(QByteArrayView bytes, qsizetype at)
{
    return at >= 0 && at + 2 <= bytes.size() ? qFromLittleEndian<quint16>(bytes.data() + at) : 0;
}

quint8 byteAt(QByteArrayView bytes, qsizetype at)
{
    return at >= 0 && at < bytes.size() ? quint8(bytes[at]) : 0;
}

quint32 u32(QByteArrayView bytes, qsizetype at)
{
    return at >= 0 && at + 4 <= bytes.size() ? qFromLittleEndian<quint32>(bytes.data() + at) : 0;
}

// The "Workbook" stream of a compound file; empty when there is none.
QByteArray workbookStream(const QByteArray& file)
{
    if (file.size() < 512 || !file.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) return {};
    const int sectorShift = u16(file, 0x1E);
    const int miniShift = u16(file, 0x20);
    if ((sectorShift != 9 && sectorShift != 12) || miniShift != 6) return {};
    const qsizetype sectorSize = qsizetype(1) << sectorShift;
    const qsizetype miniSize = qsizetype(1) << miniShift;
    const qsizetype sectorCount = file.size() / sectorSize;
    auto sector = [&](quint32 id) {
        return id < lastSectorId && qsizetype(id) + 1 < sectorCount
                   ? QByteArrayView(file).sliced((qsizetype(id) + 1) * sectorSize, sectorSize)
                   : QByteArrayView();
    };

    QList<quint32> fatSectors;
    for (int i = 0; i < 109; ++i)
        if (const quint32 id = u32(file, 0x4C + 4 * i); id < lastSectorId) fatSectors << id;
    quint32 difat = u32(file, 0x44);
    for (qsizetype guard = 0; difat < lastSectorId && guard < sectorCount; ++guard) {
        const QByteArrayView s = sector(difat);
        if (s.isEmpty()) return {};
        for (qsizetype at = 0; at + 4 < sectorSize; at += 4)
            if (const quint32 id = u32(s, at); id < lastSectorId) fatSectors << id;
        difat = u32(s, sectorSize - 4);
    }
    if (fatSectors.size() > sectorCount) return {};  // a looping sector list
    QList<quint32> fat;
    for (quint32 id : fatSectors) {
        const QByteArrayView s = sector(id);
        if (s.isEmpty()) return {};
        for (qsizetype at = 0; at < sectorSize; at += 4) fat << u32(s, at);
    }
    auto chain = [&](quint32 start, qsizetype size) {
        QByteArray out;
        for (quint32 id = start; id < lastSectorId && id < quint32(fat.size())
                                 && (size < 0 || out.size() < size) && out.size() <= file.size();
             id = fat[id]) {
            const QByteArrayView s = sector(id);
            if (s.isEmpty()) break;
            out += s;
        }
        return size < 0 ? out : out.left(size);
    };

    const QByteArray directory = chain(u32(file, 0x30), -1);
    quint32 rootStart = lastSectorId;
    qsizetype rootSize = 0;
    for (qsizetype at = 0; at + 128 <= directory.size(); at += 128) {
        const int nameBytes = std::min<int>(u16(directory, at + 0x40), 64);
        const QString name = QString::fromUtf16(
            reinterpret_cast<const char16_t*>(directory.constData() + at), std::max(0, nameBytes / 2 - 1));
        const int type = directory[at + 0x42];
        const quint32 start = u32(directory, at + 0x74);
        const qsizetype size = u32(directory, at + 0x78);
        if (type == 5) {
            rootStart = start;
            rootSize = size;
        } else if (type == 2 && (name == u"Workbook" || name == u"Book")) {
            if (size >= qsizetype(u32(file, 0x38))) return chain(start, size);
            // Small streams live in the mini stream, in 64-byte sectors.
            const QByteArray mini = chain(rootStart, rootSize);
            const QByteArray miniFat = chain(u32(file, 0x3C), -1);
            QByteArray out;
            for (quint32 id = start; id < lastSectorId && out.size() < size
                                     && (qsizetype(id) + 1) * 4 <= miniFat.size();
                 id = u32(miniFat, qsizetype(id) * 4)) {
                if ((qsizetype(id) + 1) * miniSize > mini.size()) break;
                out += QByteArrayView(mini).sliced(qsizetype(id) * miniSize, miniSize);
            }
            return out.left(size);
        }
    }
    return {};
}

// An unformatted unicode string of the file: length, flags, characters.
QString biffString(QByteArrayView data, qsizetype at, bool shortLength)
{
    const int length = shortLength ? byteAt(data, at) : u16(data, at);
    at += shortLength ? 1 : 2;
    const quint8 flags = byteAt(data, at++);
    if (flags & 0x08) at += 2;  // rich text runs
    if (flags & 0x04) at += 4;  // phonetic block
    if (flags & 0x01) {
        const qsizetype count = std::min<qsizetype>(length, (data.size() - at) / 2);
        QString out(count, Qt::Uninitialized);
        for (qsizetype i = 0; i < count; ++i) out[i] = QChar(u16(data, at + 2 * i));
        return out;
    }
    return QString::fromLatin1(data.sliced(std::min(at, data.size())).first(
        std::min<qsizetype>(length, std::max<qsizetype>(0, data.size() - at))));
}

struct Record {
    quint16 type;
    QByteArrayView data;
};

// The records of a substream from `at` to its EOF record.
template <typename F>
void forEachRecord(const QByteArray& stream, qsizetype at, F onRecord)
{
    while (at + 4 <= stream.size()) {
        const quint16 type = u16(stream, at);
        const qsizetype length = u16(stream, at + 2);
        if (at + 4 + length > stream.size()) return;
        onRecord(Record{type, QByteArrayView(stream).sliced(at + 4, length)});
        if (type == 0x000A) return;  // EOF
        at += 4 + length;
    }
}

}  // namespace

QList<XlsFormulaResult> xlsFormulaResults(const QByteArray& file, const QString& sheetName)
{
    const QByteArray stream = workbookStream(file);
    // Only BIFF8 (the format of every version since 1997) is read.
    if (u16(stream, 0) != 0x0809 || u16(stream, 4) != 0x0600) return {};

    QHash<int, QString> formats;
    QList<int> xfFormats;
    bool epoch1904 = false;
    qsizetype sheetStart = -1;
    forEachRecord(stream, 0, [&](const Record& r) {
        if (r.type == 0x041E) formats.insert(u16(r.data, 0), biffString(r.data, 2, false));
        if (r.type == 0x00E0) xfFormats << u16(r.data, 2);
        if (r.type == 0x0022) epoch1904 = u16(r.data, 0) == 1;
        if (r.type == 0x0085 && biffString(r.data, 6, true) == sheetName) sheetStart = u32(r.data, 0);
    });
    if (sheetStart < 0) return {};

    auto kindOfXf = [&](int xf) {
        const int format = xf < xfFormats.size() ? xfFormats[xf] : 0;
        return formats.contains(format) ? numberFormatKind(-1, formats.value(format))
                                        : numberFormatKind(format, {});
    };
    QList<XlsFormulaResult> results;
    int pendingString = -1;  // the result whose text comes in the next STRING record
    forEachRecord(stream, sheetStart, [&](const Record& r) {
        if (r.type == 0x0006 && r.data.size() >= 14) {
            const int row = u16(r.data, 0) + 1;
            const int column = u16(r.data, 2) + 1;
            pendingString = -1;
            if (u16(r.data, 12) != 0xFFFF) {
                const quint64 bits = qFromLittleEndian<quint64>(r.data.data() + 6);
                double number;
                std::memcpy(&number, &bits, sizeof number);
                results.append({row, column, serialValue(number, kindOfXf(u16(r.data, 4)), epoch1904)});
            } else if (r.data[6] == 0) {
                pendingString = int(results.size());
                results.append({row, column, QVariant()});
            } else if (r.data[6] == 1) {
                results.append({row, column, booleanText(r.data[8] != 0)});
            }
        } else if (r.type == 0x0207 && pendingString >= 0) {
            results[pendingString].value = biffString(r.data, 0, false);
            pendingString = -1;
        }
    });
    return results;
}

}  // namespace import
