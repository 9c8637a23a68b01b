#include "paradox_table.h"

#include "paradox_blobs.h"

#include "store/cp1250.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

// The library's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

namespace paradox {

namespace {

// Paradox dates count days from 1 January of year 1 (day 1); the Julian
// day number of that day's eve.
constexpr qint64 kJulianDayOfDayZero = 1721425;

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
    if (d->doc) {
        PX_close(d->doc);  // frees the document too
    }
}

bool Table::open(const QString& dbPath)
{
    d->doc = PX_new3(&Private::onError, nullptr, nullptr, nullptr, d.get());
    if (!d->doc) {
        m_error = QStringLiteral("Brak pamięci");
        return false;
    }
    if (PX_open_file(d->doc, QFile::encodeName(dbPath).constData()) < 0) {
        m_error = d->libraryError.isEmpty() ? QStringLiteral("Nie można otworzyć pliku") : d->libraryError;
        PX_delete(d->doc);
        d->doc = nullptr;
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
        case pxfShort: {
            short v = 0;
            if (PX_get_data_short(d->doc, data, c.length, &v) > 0)
                value = int(v);
            break;
        }
        case pxfLong:
        case pxfAutoInc: {
            long v = 0;
            if (PX_get_data_long(d->doc, data, c.length, &v) > 0)
                value = qlonglong(v);
            break;
        }
        case pxfCurrency:
        case pxfNumber: {
            double v = 0;
            if (PX_get_data_double(d->doc, data, c.length, &v) > 0)
                value = v;
            break;
        }
        case pxfBCD: {
            char* text = nullptr;
            if (PX_get_data_bcd(d->doc, reinterpret_cast<unsigned char*>(data), c.length, &text) > 0 && text) {
                bool ok = false;
                const double v = QString::fromLatin1(text).toDouble(&ok);
                d->doc->free(d->doc, text);
                if (!ok) {
                    problem = QStringLiteral("pole %1: nieczytelna liczba").arg(c.name);
                    return false;
                }
                value = v;
            }
            break;
        }
        case pxfLogical: {
            char v = 0;
            if (PX_get_data_byte(d->doc, data, c.length, &v) > 0)
                value = v != 0;
            break;
        }
        case pxfDate: {
            long v = 0;
            if (PX_get_data_long(d->doc, data, c.length, &v) > 0)
                value = QDate::fromJulianDay(kJulianDayOfDayZero + v);
            break;
        }
        case pxfTime: {
            long v = 0;
            if (PX_get_data_long(d->doc, data, c.length, &v) > 0)
                value = QTime::fromMSecsSinceStartOfDay(int(v));
            break;
        }
        case pxfTimestamp: {
            double v = 0;
            if (PX_get_data_double(d->doc, data, c.length, &v) > 0) {
                const qint64 ms = qint64(v);
                const qint64 days = ms / 86400000;
                value = QDateTime(QDate::fromJulianDay(kJulianDayOfDayZero + days),
                                  QTime::fromMSecsSinceStartOfDay(int(ms % 86400000)));
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
