// The prepared-pages file written by "Zapisz raport" and read by "Wczytaj raport".

#include "export_test_pages.h"

#include "printouts/exports.h"

#include <QDataStream>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace report;
using namespace exporttest;

namespace {

PreparedPages everyKindOfItem()
{
    PreparedPages pages = listPages(sampleRows(), 3);
    pages.description = QStringList{QStringLiteral("ExportFilter"), QStringLiteral("Łódź")};
    QImage logo(12, 7, QImage::Format_ARGB32);
    logo.fill(QColor(10, 200, 30, 128));
    Page& last = pages.pages.last();
    last.size = a4Landscape();
    TextBox styled = text(QRectF(50, 300, 100, 40), QStringLiteral("Gęś"), Qt::AlignRight | Qt::AlignBottom, true);
    styled.font = TextFont{QStringLiteral("Times New Roman"), 11.5, true, true, true, true};
    styled.colour = QColor(1, 2, 3);
    styled.clip = false;
    addBand(last, BandKind::Summary, 300, 60,
            {styled, Box{QRectF(40, 300, 200, 60), Qt::red, 0.5, QColor(Qt::yellow)}, Box{QRectF(1, 2, 3, 4), Qt::black, 1, QColor()},
             Picture{QRectF(60, 310, 30, 20), logo, false}, Picture{QRectF(1, 1, 1, 1), QImage(), true},
             Line{QPointF(0.25, 1), QPointF(400.5, 1), Qt::gray, 2}});
    return pages;
}

QString written(const QTemporaryDir& dir, const PreparedPages& pages)
{
    const QString name = dir.filePath(QStringLiteral("raport.qrp"));
    EXPECT_EQ(exportReport(pages, nullptr, *formatOfFile(name), name), QString());
    return name;
}

void writeBytes(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

}  // namespace

TEST(PagesFileTest, PagesComeBackAsTheyWereSaved)
{
    QTemporaryDir dir;
    const PreparedPages saved = everyKindOfItem();
    PreparedPages read;
    ASSERT_EQ(readPagesFile(written(dir, saved), read), QString());
    EXPECT_EQ(read, saved);

    PreparedPages empty;
    ASSERT_EQ(readPagesFile(written(dir, PreparedPages{}), empty), QString());
    EXPECT_EQ(empty, PreparedPages{});
}

TEST(PagesFileTest, MissingForeignDamagedAndNewerFilesGiveMessagesAndKeepThePages)
{
    QTemporaryDir dir;
    const PreparedPages shown = listPages(sampleRows(), 2);
    PreparedPages pages = shown;
    EXPECT_EQ(readPagesFile(dir.filePath(QStringLiteral("nie-ma.qrp")), pages), QStringLiteral("Plik nie istnieje"));
    EXPECT_EQ(readPagesFile(dir.path(), pages), QStringLiteral("Plik nie istnieje"));

    const QByteArray good = readAll(written(dir, everyKindOfItem()));
    const QString name = dir.filePath(QStringLiteral("zly.qrp"));

    writeBytes(name, "%PDF-1.4 not ours");
    EXPECT_EQ(readPagesFile(name, pages), QStringLiteral("Plik zly.qrp nie jest zapisanym raportem"));
    writeBytes(name, {});
    EXPECT_EQ(readPagesFile(name, pages), QStringLiteral("Plik zly.qrp nie jest zapisanym raportem"));

    // Cut anywhere: damaged.
    for (qsizetype length = 16; length < good.size(); length += qMax<qsizetype>(1, good.size() / 97)) {
        writeBytes(name, good.left(length));
        ASSERT_EQ(readPagesFile(name, pages), QStringLiteral("Plik zly.qrp jest uszkodzony")) << length;
    }
    // A changed byte in the content: damaged.
    QByteArray changed = good;
    changed[good.size() / 2] = char(changed.at(good.size() / 2) ^ 0x5a);
    writeBytes(name, changed);
    EXPECT_EQ(readPagesFile(name, pages), QStringLiteral("Plik zly.qrp jest uszkodzony"));

    // A version from the future.
    QByteArray newer = good;
    newer[16 + 3] = 2;
    writeBytes(name, newer);
    EXPECT_TRUE(readPagesFile(name, pages).contains(QStringLiteral("nowsza wersja")));
    EXPECT_EQ(pages, shown);
}

TEST(PagesFileTest, GarbageWithAValidChecksumNeverCrashesTheReader)
{
    // The checksum guards against accidents only; the reader itself must
    // survive any content.
    QTemporaryDir dir;
    const QByteArray good = readAll(written(dir, everyKindOfItem()));
    const QByteArray signature = good.left(16);
    const QByteArray content = good.mid(16 + 4 + 8 + 2);
    const QString name = dir.filePath(QStringLiteral("los.qrp"));
    auto fileWith = [&](const QByteArray& payload) {
        QByteArray bytes = signature;
        QDataStream header(&bytes, QIODevice::Append);
        header.setVersion(QDataStream::Qt_6_4);
        header << quint32(1) << quint64(payload.size()) << qChecksum(payload, Qt::ChecksumIso3309);
        writeBytes(name, bytes + payload);
    };
    fileWith(content);
    PreparedPages pages;
    ASSERT_EQ(readPagesFile(name, pages), QString());

    QRandomGenerator random(13);
    int refused = 0;
    for (int round = 0; round < 300; ++round) {
        QByteArray payload = content;
        if (round % 3 == 0) {
            payload.resize(random.bounded(200));
            for (char& byte : payload)
                byte = char(random.bounded(256));
        } else {
            for (int flips = 0; flips < 1 + round % 4; ++flips)
                payload[random.bounded(int(payload.size()))] = char(random.bounded(256));
        }
        fileWith(payload);
        PreparedPages read;
        const QString error = readPagesFile(name, read);
        if (!error.isEmpty()) {
            EXPECT_EQ(error, QStringLiteral("Plik los.qrp jest uszkodzony"));
            ++refused;
            continue;
        }
        // What is accepted must be safe to export: band records within the page.
        for (const Page& page : read.pages)
            for (const BandRecord& band : page.bands)
                ASSERT_LE(band.first + band.count, page.items.size());
    }
    EXPECT_GT(refused, 100);
}
