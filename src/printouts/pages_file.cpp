// The prepared-pages file: a signature, the format version, the length and
// CRC-16 of the content, then the pages as a QDataStream with fixed stream
// version and pictures as PNG. Every count and index read is checked, so
// damaged or foreign files end in a message, never in a crash.

#include "exports.h"

#include "export_files.h"
#include "export_writers.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>

namespace report {

namespace {

const QByteArray signature("LUNAWA-STRONY\r\n\x1a", 16);
constexpr quint32 currentVersion = 1;
constexpr QDataStream::Version streamVersion = QDataStream::Qt_6_4;

enum class ItemTag : quint8 { Text = 1, Line = 2, Box = 3, Picture = 4 };

struct Writer {
    QDataStream& out;

    void font(const TextFont& f) const
    {
        out << f.family << f.pointSize << f.bold << f.italic << f.underline << f.strikeOut;
    }
    void operator()(const TextBox& t) const
    {
        out << quint8(ItemTag::Text) << t.rect << t.lines;
        font(t.font);
        out << t.colour << quint32(t.alignment.toInt()) << t.lineHeight << t.ascent << t.clip;
    }
    void operator()(const Line& l) const { out << quint8(ItemTag::Line) << l.from << l.to << l.colour << l.width; }
    void operator()(const Box& b) const { out << quint8(ItemTag::Box) << b.rect << b.colour << b.width << b.fill; }
    void operator()(const Picture& p) const
    {
        QByteArray png;
        if (!p.image.isNull()) {
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            p.image.save(&buffer, "PNG");
        }
        out << quint8(ItemTag::Picture) << p.rect << p.keepAspect << png;
    }
};

QByteArray contentOf(const PreparedPages& pages)
{
    QByteArray content;
    QDataStream out(&content, QIODevice::WriteOnly);
    out.setVersion(streamVersion);
    out << pages.title << pages.description << quint32(pages.pages.size());
    for (const Page& page : pages.pages) {
        out << page.size << quint32(page.items.size());
        for (const Primitive& item : page.items)
            std::visit(Writer{out}, item);
        out << quint32(page.bands.size());
        for (const BandRecord& band : page.bands)
            out << quint8(band.kind) << band.rect << qint32(band.first) << qint32(band.count);
    }
    return content;
}

class Reader {
public:
    explicit Reader(const QByteArray& content) : m_content(content), m_in(content)
    {
        m_in.setVersion(streamVersion);
    }

    bool read(PreparedPages& pages)
    {
        m_in >> pages.title;
        if (!readStrings(pages.description))
            return false;
        quint32 pageCount = 0;
        m_in >> pageCount;
        if (!plausible(pageCount))
            return false;
        for (quint32 p = 0; p < pageCount; ++p) {
            Page page;
            if (!readPage(page))
                return false;
            pages.pages.append(std::move(page));
        }
        return m_in.status() == QDataStream::Ok && m_in.atEnd();
    }

private:
    // A count larger than the bytes left cannot be true.
    bool plausible(quint32 count) const
    {
        return m_in.status() == QDataStream::Ok && count <= quint32(m_content.size() - m_in.device()->pos());
    }

    // Not QDataStream's own list reading: it reserves the count read first.
    bool readStrings(QStringList& list)
    {
        quint32 count = 0;
        m_in >> count;
        if (!plausible(count))
            return false;
        for (quint32 i = 0; i < count && m_in.status() == QDataStream::Ok; ++i) {
            QString text;
            m_in >> text;
            list.append(text);
        }
        return m_in.status() == QDataStream::Ok;
    }

    bool readFont(TextFont& f)
    {
        m_in >> f.family >> f.pointSize >> f.bold >> f.italic >> f.underline >> f.strikeOut;
        return m_in.status() == QDataStream::Ok;
    }

    bool readItem(Primitive& item)
    {
        quint8 tag = 0;
        m_in >> tag;
        switch (ItemTag(tag)) {
        case ItemTag::Text: {
            TextBox t;
            quint32 alignment = 0;
            m_in >> t.rect;
            if (!readStrings(t.lines) || !readFont(t.font))
                return false;
            m_in >> t.colour >> alignment >> t.lineHeight >> t.ascent >> t.clip;
            t.alignment = Qt::Alignment(int(alignment));
            item = t;
            break;
        }
        case ItemTag::Line: {
            Line l;
            m_in >> l.from >> l.to >> l.colour >> l.width;
            item = l;
            break;
        }
        case ItemTag::Box: {
            Box b;
            m_in >> b.rect >> b.colour >> b.width >> b.fill;
            item = b;
            break;
        }
        case ItemTag::Picture: {
            Picture p;
            QByteArray png;
            m_in >> p.rect >> p.keepAspect >> png;
            if (!png.isEmpty() && !p.image.loadFromData(png, "PNG"))
                return false;
            item = p;
            break;
        }
        default:
            return false;
        }
        return m_in.status() == QDataStream::Ok;
    }

    bool readPage(Page& page)
    {
        quint32 itemCount = 0;
        m_in >> page.size >> itemCount;
        if (!plausible(itemCount))
            return false;
        for (quint32 i = 0; i < itemCount; ++i) {
            Primitive item;
            if (!readItem(item))
                return false;
            page.items.append(std::move(item));
        }
        quint32 bandCount = 0;
        m_in >> bandCount;
        if (!plausible(bandCount))
            return false;
        for (quint32 b = 0; b < bandCount; ++b) {
            quint8 kind = 0;
            qint32 first = 0;
            qint32 count = 0;
            BandRecord band;
            m_in >> kind >> band.rect >> first >> count;
            // Exports index the page's items by these records.
            if (m_in.status() != QDataStream::Ok || kind > quint8(BandKind::Child) || first < 0 || count < 0
                || qint64(first) + count > page.items.size())
                return false;
            band.kind = BandKind(kind);
            band.first = first;
            band.count = count;
            page.bands.append(band);
        }
        return m_in.status() == QDataStream::Ok;
    }

    const QByteArray& m_content;
    QDataStream m_in;
};

}  // namespace

QString writePagesFile(const PreparedPages& pages, const QString& fileName)
{
    const QByteArray content = contentOf(pages);
    QByteArray file = signature;
    QDataStream header(&file, QIODevice::Append);
    header.setVersion(streamVersion);
    header << currentVersion << quint64(content.size()) << qChecksum(content, Qt::ChecksumIso3309);
    file += content;
    return saveBytes(fileName, file);
}

QString readPagesFile(const QString& fileName, PreparedPages& pages)
{
    const QString shownName = QFileInfo(fileName).fileName();
    if (!QFileInfo(fileName).isFile())
        return QStringLiteral("Plik nie istnieje");
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Nie można odczytać pliku %1").arg(shownName);

    const QByteArray start = file.read(signature.size());
    if (start != signature)
        return QStringLiteral("Plik %1 nie jest zapisanym raportem").arg(shownName);
    QDataStream header(&file);
    header.setVersion(streamVersion);
    quint32 version = 0;
    quint64 size = 0;
    quint16 checksum = 0;
    header >> version >> size >> checksum;
    if (header.status() != QDataStream::Ok)
        return QStringLiteral("Plik %1 jest uszkodzony").arg(shownName);
    if (version > currentVersion)
        return QStringLiteral("Plik %1 zapisała nowsza wersja programu; nie można go wczytać").arg(shownName);
    if (size != quint64(file.size() - file.pos()))
        return QStringLiteral("Plik %1 jest uszkodzony").arg(shownName);
    const QByteArray content = file.readAll();
    if (content.size() != qint64(size) || qChecksum(content, Qt::ChecksumIso3309) != checksum)
        return QStringLiteral("Plik %1 jest uszkodzony").arg(shownName);

    PreparedPages read;
    if (!Reader(content).read(read))
        return QStringLiteral("Plik %1 jest uszkodzony").arg(shownName);
    pages = std::move(read);
    return {};
}

}  // namespace report
