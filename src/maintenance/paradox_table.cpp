#include "paradox_table.h"

#include "paradox_blobs.h"

#include "store/cp1250.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <cstring>

// The library's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

namespace paradox {

namespace {

// Paradox dates count days from 1 January of year 1 (day 1); the Julian
// day number of that day's eve.
constexpr qint64 kJulianDayOfDayZero = 1721425;
// Bytes of a table file's header before its field descriptions.
constexpr qint64 kFixedHeaderSize = 0x58;

ColumnKind kindOf(int type)
{
    switch (type) {
    case pxfAlpha:
        return ColumnKind::Text;
    case pxfShort:
    case pxfLong:
    case pxfAutoInc:
        return ColumnKind::Integer;
    case pxfCurrency:
    case pxfNumber:
    case pxfBCD:
        return ColumnKind::Number;
    case pxfLogical:
        return ColumnKind::Logical;
    case pxfDate:
        return ColumnKind::Date;
    case pxfTime:
        return ColumnKind::Time;
    case pxfTimestamp:
        return ColumnKind::Timestamp;
    case pxfMemoBLOb:
    case pxfFmtMemoBLOb:
        return ColumnKind::Memo;
    case pxfBLOb:
    case pxfOLE:
    case pxfGraphic:
    case pxfBytes:
        return ColumnKind::Binary;
    default:
        return ColumnKind::Unknown;
    }
}

bool isBlank(const char* data, int size)
{
    return std::all_of(data, data + size, [](char b) { return b == 0; });
}

// Numbers are kept big-endian with the sign bit flipped so that they sort
// as bytes; an empty field is all zero bytes. Decoded here because the
// library's readers of 4-byte integers look at eight bytes on 64-bit
// systems and then read an empty field as a number.
bool storedInteger(const char* data, int size, qint64& value)
{
    if (size < 1 || size > 8 || isBlank(data, size))
        return false;
    quint64 raw = 0;
    for (int i = 0; i < size; ++i)
        raw = raw << 8 | quint8(data[i]);
    const int bits = size * 8;
    raw ^= quint64(1) << (bits - 1);
    if (bits < 64 && (raw >> (bits - 1)) & 1)
        raw |= ~quint64(0) << bits;  // negative: extend the sign
    value = qint64(raw);
    return true;
}

// Doubles: positive ones with the sign bit set, negative ones with every
// bit inverted.
bool storedDouble(const char* data, int size, double& value)
{
    if (size != 8 || isBlank(data, size))
        return false;
    unsigned char b[8];
    std::memcpy(b, data, 8);
    if (b[0] & 0x80)
        b[0] &= 0x7f;
    else
        for (unsigned char& byte : b)
            byte = static_cast<unsigned char>(~byte);
    const quint64 bits = qFromBigEndian<quint64>(b);
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

// A picture field's data may begin with an 8-byte header before the
// picture itself; the picture is recognised by its signature.
QByteArray withoutPictureHeader(const QByteArray& data)
{
    auto isPicture = [](const QByteArray& d) {
        return d.startsWith("BM") || d.startsWith("\x89PNG") || d.startsWith("\xff\xd8") || d.startsWith("GIF8");
    };
    if (!isPicture(data) && data.size() > 8 && isPicture(data.mid(8)))
        return data.mid(8);
    return data;
}

}  // namespace

struct Table::Private {
    pxdoc_t* doc = nullptr;
    FILE* file = nullptr;  // ours: the library is given it open and leaves it open
    BlobFile blobs;
    QByteArray record;
    QString libraryError;

    static void onError(pxdoc_t*, int, const char* message, void* data)
    {
        static_cast<Private*>(data)->libraryError = QString::fromLocal8Bit(message);
    }
};

Table::Table() : d(std::make_unique<Private>())
{
    static const bool booted = [] {
        PX_boot();
        return true;
    }();
    Q_UNUSED(booted);
}

Table::~Table()
{
    // PX_close only closes; PX_delete closes and frees the document.
    if (d->doc)
        PX_delete(d->doc);
    if (d->file)
        std::fclose(d->file);
}

bool Table::open(const QString& dbPath)
{
    d->doc = PX_new3(&Private::onError, nullptr, nullptr, nullptr, d.get());
    if (!d->doc) {
        m_error = QStringLiteral("Brak pamięci");
        return false;
    }
    // The library reads the fixed header without checking what it got.
    if (QFileInfo(dbPath).size() < kFixedHeaderSize) {
        m_error = QStringLiteral("Plik jest zbyt krótki, by był tabelą Paradox");
        return false;
    }
    // Opened here read-only: the library's own open asks for write access,
    // which a read-only source folder refuses and which a migration never needs.
    d->file = std::fopen(QFile::encodeName(dbPath).constData(), "rb");
    if (!d->file) {
        m_error = QStringLiteral("Nie można otworzyć pliku");
        return false;
    }
    if (PX_open_fp(d->doc, d->file) < 0) {
        m_error = d->libraryError.isEmpty() ? QStringLiteral("Nie można otworzyć pliku") : d->libraryError;
        return false;
    }
    const int count = PX_get_num_fields(d->doc);
    for (int i = 0; i < count; ++i) {
        const pxfield_t* f = PX_get_field(d->doc, i);
        Column c;
        c.name = QString::fromLatin1(f->px_fname).trimmed().toUpper();
        c.type = f->px_ftype;
        c.kind = kindOf(f->px_ftype);
        c.length = f->px_flen;
        c.decimals = f->px_fdc;
        c.autoIncrement = f->px_ftype == pxfAutoInc;
        m_columns << c;
    }
    d->record.resize(PX_get_recordsize(d->doc));
    const QFileInfo info(dbPath);
    for (const QString& suffix : {QStringLiteral(".MB"), QStringLiteral(".mb"), QStringLiteral(".Mb")}) {
        const QString mb = info.path() + QLatin1Char('/') + info.completeBaseName() + suffix;
        if (QFileInfo::exists(mb)) {
            QString ignored;
            d->blobs.open(mb, ignored);  // a missing memo file shows on the rows that need it
            break;
        }
    }
    return true;
}

int Table::recordCount() const
{
    return d->doc ? PX_get_num_records(d->doc) : 0;
}

int Table::autoIncrementCounter() const
{
    return d->doc ? d->doc->px_head->px_autoinc : 0;
}

bool Table::record(int index, QVariantList& values, QString& problem)
{
    values.clear();
    d->libraryError.clear();
    char* raw = d->record.data();
    if (!PX_get_record(d->doc, index, raw)) {
        problem = d->libraryError.isEmpty() ? QStringLiteral("nie można odczytać rekordu") : d->libraryError;
        return false;
    }
    int offset = 0;
    for (const Column& c : m_columns) {
        char* data = raw + offset;
        offset += c.length;
        QVariant value;
        switch (c.type) {
        case pxfAlpha: {
            char* text = nullptr;
            if (PX_get_data_alpha(d->doc, data, c.length, &text) > 0 && text) {
                value = cp1250::decode(QByteArray(text));
                d->doc->free(d->doc, text);
            }
            break;
        }
        case pxfShort:
        case pxfLong:
        case pxfAutoInc: {
            qint64 v = 0;
            if (storedInteger(data, c.length, v))
                value = c.type == pxfShort ? QVariant(int(v)) : QVariant(qlonglong(v));
            break;
        }
        case pxfCurrency:
        case pxfNumber: {
            double v = 0;
            if (storedDouble(data, c.length, v))
                value = v;
            break;
        }
        case pxfBCD: {
            if (isBlank(data, c.length))
                break;
            char* text = nullptr;
            // The library wants the number of decimal places here, not the
            // field's 17 bytes, and writes the decimal point of the C locale.
            bool ok = PX_get_data_bcd(d->doc, reinterpret_cast<unsigned char*>(data), c.decimals, &text) > 0 && text;
            double v = 0;
            if (ok)
                v = QString::fromLatin1(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
            if (text)
                d->doc->free(d->doc, text);
            if (!ok) {
                problem = QStringLiteral("pole %1: nieczytelna liczba").arg(c.name);
                return false;
            }
            value = v;
            break;
        }
        case pxfLogical:
            if (!isBlank(data, c.length))
                value = (quint8(data[0]) & 0x7f) != 0;
            break;
        case pxfDate: {
            qint64 v = 0;
            if (storedInteger(data, c.length, v)) {
                const QDate date = QDate::fromJulianDay(kJulianDayOfDayZero + v);
                if (!date.isValid()) {
                    problem = QStringLiteral("pole %1: niepoprawna data").arg(c.name);
                    return false;
                }
                value = date;
            }
            break;
        }
        case pxfTime: {
            qint64 v = 0;
            if (storedInteger(data, c.length, v)) {
                const QTime t = QTime::fromMSecsSinceStartOfDay(int(v));
                if (v < 0 || v >= 86400000 || !t.isValid()) {
                    problem = QStringLiteral("pole %1: niepoprawny czas").arg(c.name);
                    return false;
                }
                value = t;
            }
            break;
        }
        case pxfTimestamp: {
            double v = 0;
            if (storedDouble(data, c.length, v)) {
                const qint64 ms = qint64(v);
                const QDateTime moment(QDate::fromJulianDay(kJulianDayOfDayZero + ms / 86400000),
                                       QTime::fromMSecsSinceStartOfDay(int(ms % 86400000)));
                if (ms < 0 || !moment.isValid()) {
                    problem = QStringLiteral("pole %1: niepoprawny czas").arg(c.name);
                    return false;
                }
                value = moment;
            }
            break;
        }
        case pxfMemoBLOb:
        case pxfFmtMemoBLOb:
        case pxfBLOb:
        case pxfOLE:
        case pxfGraphic: {
            QString error;
            const QByteArray bytes = d->blobs.read(QByteArray(data, c.length), error);
            if (bytes.isNull()) {
                problem = QStringLiteral("pole %1: %2").arg(c.name, error);
                return false;
            }
            if (!bytes.isEmpty()) {
                if (c.kind == ColumnKind::Memo)
                    value = cp1250::decode(bytes);
                else
                    value = c.type == pxfGraphic ? withoutPictureHeader(bytes) : bytes;
            }
            break;
        }
        case pxfBytes:
            value = QByteArray(data, c.length);
            break;
        default:
            problem = QStringLiteral("pole %1: nieznany typ %2").arg(c.name).arg(c.type);
            return false;
        }
        values << value;
    }
    return true;
}

}  // namespace paradox
