// Paradox tables written here with pxlib, then brought into a store and
// compared row by row. Set LUNAWA_KEEP_PARADOX_DIR to a folder to keep a
// copy of the written tables there (for trying `lunawactl migrate` by hand).

#include "support/store_fixture.h"

#include "browser/message_log.h"
#include "maintenance/paradox_migration.h"
#include "maintenance/paradox_migration_flow.h"
#include "store/cp1250.h"
#include "store/error.h"
#include "store/query.h"
#include "store/schema.h"
#include "store/values.h"
#include "support/scripted_prompts.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>

extern "C" {
#include <paradox.h>
}

namespace {

constexpr qint64 kDayZero = 1721425;  // Julian day before Paradox day 1

struct PxField {
    const char* name;
    char type;
    int length;
    int decimals = 0;  // of a BCD number
};

// One Paradox table with its memo file, written through pxlib.
class PxWriter {
public:
    PxWriter(const QString& folder, const QString& table, const QList<PxField>& fields, int counter = 0)
        : m_fields(fields)
    {
        PX_boot();
        m_doc = PX_new();
        // The library keeps the field array and its names and frees them
        // with the document, so both come from malloc.
        auto* defs = static_cast<pxfield_t*>(std::calloc(size_t(fields.size()), sizeof(pxfield_t)));
        for (int i = 0; i < fields.size(); ++i)
            defs[i] = pxfield_t{strdup(fields[i].name), fields[i].type, fields[i].length, fields[i].decimals};
        const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + table + QStringLiteral(".DB"));
        EXPECT_EQ(PX_create_file(m_doc, defs, int(fields.size()), path.constData(), pxfFileTypNonIndexDB), 0);
        PX_set_value(m_doc, "codepage", 1250);
        m_doc->px_head->px_autoinc = counter;  // written with the next record
        const QByteArray blobs = QFile::encodeName(folder + QLatin1Char('/') + table + QStringLiteral(".MB"));
        EXPECT_EQ(PX_set_blob_file(m_doc, blobs.constData()), 0);
        m_record.resize(PX_get_recordsize(m_doc));
    }
    ~PxWriter() { PX_delete(m_doc); }  // closes the files, frees the document

    // One record; a null QVariant leaves the field empty.
    void add(const QVariantList& values)
    {
        m_record.fill(0);
        int offset = 0;
        for (int i = 0; i < m_fields.size(); ++i) {
            char* data = m_record.data() + offset;
            const PxField& f = m_fields[i];
            offset += f.length;
            const QVariant& v = values.value(i);
            if (v.isNull())
                continue;
            switch (f.type) {
            case pxfAlpha: {
                QByteArray text = cp1250::encode(v.toString());
                PX_put_data_alpha(m_doc, data, f.length, text.data());
                break;
            }
            case pxfShort:
                PX_put_data_short(m_doc, data, f.length, short(v.toInt()));
                break;
            case pxfLong:
            case pxfAutoInc:
                PX_put_data_long(m_doc, data, f.length, v.toInt());
                break;
            case pxfNumber:
            case pxfCurrency:
                PX_put_data_double(m_doc, data, f.length, v.toDouble());
                break;
            case pxfBCD: {
                QByteArray number = QByteArray::number(v.toDouble(), 'f', f.decimals);
                PX_put_data_bcd(m_doc, data, f.decimals, number.data());
                break;
            }
            case pxfLogical:
                PX_put_data_byte(m_doc, data, f.length, v.toBool() ? 1 : 0);
                break;
            case pxfDate:
                PX_put_data_long(m_doc, data, f.length, int(v.toDate().toJulianDay() - kDayZero));
                break;
            case pxfTime:
                PX_put_data_long(m_doc, data, f.length, v.toTime().msecsSinceStartOfDay());
                break;
            case pxfTimestamp: {
                const QDateTime t = v.toDateTime();
                PX_put_data_double(m_doc, data, f.length,
                                   double(t.date().toJulianDay() - kDayZero) * 86400000.0 + t.time().msecsSinceStartOfDay());
                break;
            }
            case pxfMemoBLOb:
            case pxfFmtMemoBLOb:
            case pxfGraphic: {
                QByteArray bytes = v.typeId() == QMetaType::QString ? cp1250::encode(v.toString()) : v.toByteArray();
                EXPECT_EQ(PX_put_data_blob(m_doc, data, f.length, bytes.data(), int(bytes.size())), 0);
                break;
            }
            default:
                ADD_FAILURE() << "type not written by the test";
            }
        }
        EXPECT_GT(PX_put_record(m_doc, m_record.data()), 0);
    }

private:
    QList<PxField> m_fields;
    pxdoc_t* m_doc = nullptr;
    QByteArray m_record;
};

// A value as text for comparing, in the form the store's field keeps.
QString shown(const QVariant& v, FieldType type)
{
    if (values::isEmpty(v))
        return QStringLiteral("<pusto>");
    switch (type) {
    case FieldType::Date:
        return values::toDate(v).toString(Qt::ISODate);
    case FieldType::Time:
        return values::toTime(v).toString(QStringLiteral("HH:mm"));
    case FieldType::DateTime:
        return values::toDateTime(v).toString(Qt::ISODate);
    case FieldType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt:
        return QString::number(v.toLongLong());
    case FieldType::Graphic: {
        const QByteArray b = v.toByteArray();
        return QStringLiteral("%1 bajtów, md5 %2")
            .arg(b.size())
            .arg(QString::fromLatin1(QCryptographicHash::hash(b, QCryptographicHash::Md5).toHex()));
    }
    case FieldType::String:
    case FieldType::Memo:
        break;
    }
    return v.toString();
}

// Every row of `table` (ordered by `order`) against the expected ones.
void expectRows(Database& db, const QString& table, const QStringList& columns, const QString& order,
                const QList<QVariantList>& expected)
{
    const TableDef* def = schema::table(table);
    ASSERT_NE(def, nullptr);
    Query q(db, QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(columns.join(QStringLiteral(", ")), table, order));
    q.exec();
    QStringList actualRows, expectedRows;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < columns.size(); ++i)
            cells << shown(q.value(i), def->field(columns[i])->type);
        actualRows << cells.join(QStringLiteral(" | "));
    }
    for (const QVariantList& row : expected) {
        QStringList cells;
        for (int i = 0; i < columns.size(); ++i)
            cells << shown(row.value(i), def->field(columns[i])->type);
        expectedRows << cells.join(QStringLiteral(" | "));
    }
    EXPECT_EQ(actualRows.join(QLatin1Char('\n')).toStdString(), expectedRows.join(QLatin1Char('\n')).toStdString())
        << table.toStdString();
}

QMap<QString, QByteArray> checksums(const QString& folder)
{
    QMap<QString, QByteArray> sums;
    for (const QFileInfo& f : QDir(folder).entryInfoList(QDir::Files)) {
        QFile file(f.absoluteFilePath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        sums.insert(f.fileName(), QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256) + " "
                                      + f.lastModified().toString(Qt::ISODateWithMs).toLatin1());
    }
    return sums;
}

QByteArray picture(int size)
{
    QByteArray p = QByteArray("\x89PNG\r\n\x1a\n", 8);
    for (int i = 0; p.size() < size; ++i)
        p.append(char(i * 7 % 251));
    return p;
}

const QByteArray kPictureHeader(8, '\0');  // what the original engine puts before a picture

// Memos and pictures of every size class: kept in the record, in a shared
// block of the .MB file, in a block of their own.
const QString kLongMemo = QStringLiteral("Zażółć gęślą jaźń. ĄĆĘŁŃÓŚŹŻ\r\n").repeated(100);
const QString kMediumMemo = QStringLiteral("Łódź, ul. Żeromskiego 5\r\n").repeated(16);
const QByteArray kBigPicture = picture(3000);
const QByteArray kSmallPicture = picture(300);

void writeSourceTables(const QString& folder)
{
    {
        PxWriter t(folder, QStringLiteral("SZABLONY"),
                   {{"ID", pxfAutoInc, 4}, {"TYP", pxfAlpha, 3}, {"NAZWA", pxfAlpha, 30}, {"DANE", pxfMemoBLOb, 20}}, 20);
        t.add({7, QStringLiteral("FAK"), QStringLiteral("Faktura źródłowa"), kLongMemo});
        t.add({8, QStringLiteral("UMO"), QStringLiteral("Umowa z rodzicami"), kMediumMemo});
        t.add({9, QStringLiteral("POT"), QStringLiteral("Krótka"), QStringLiteral("mało")});
        t.add({10, QVariant(), QStringLiteral("Bez typu"), QVariant()});  // TYP is required
        t.add({11, QStringLiteral("INF"), QStringLiteral("Bez danych"), QVariant()});
    }
    {
        PxWriter t(folder, QStringLiteral("OBRAZY"),
                   {{"KOD", pxfAutoInc, 4}, {"NAZWA", pxfAlpha, 30}, {"OBRAZ", pxfGraphic, 10}});
        t.add({3, QStringLiteral("logo"), kPictureHeader + kBigPicture});
        t.add({4, QStringLiteral("pieczątka"), kPictureHeader + kSmallPicture});
        t.add({5, QStringLiteral("brak"), QVariant()});
    }
    {
        PxWriter t(folder, QStringLiteral("KLASY"), {{"KOD", pxfAutoInc, 4}, {"NAZWA", pxfAlpha, 30}, {"KOLEJ", pxfShort, 2}});
        t.add({0, QStringLiteral("Nieaktywni"), 0});
        t.add({1, QStringLiteral("Żabki"), 2});
        t.add({2, QStringLiteral("Świerszcze"), -1});
    }
    {
        PxWriter t(folder, QStringLiteral("STAVAT"),
                   {{"KOD", pxfAutoInc, 4}, {"NAZWA", pxfAlpha, 20}, {"VAT", pxfNumber, 8}, {"KOLEJ", pxfShort, 2}});
        t.add({1, QStringLiteral("23%"), 23.0, 1});
        t.add({2, QStringLiteral("zw."), 0.0, 2});
        t.add({3, QStringLiteral("8,5%"), 8.5, 3});
        t.add({4, QStringLiteral("brak"), QVariant(), 4});
    }
    {
        PxWriter t(folder, QStringLiteral("TARMED"),
                   {{"TARYFA", pxfLong, 4}, {"MEDIUM", pxfLong, 4}, {"ODDATY", pxfDate, 4}, {"DODATY", pxfDate, 4},
                    {"CENA", pxfCurrency, 8}, {"JM", pxfAlpha, 6}, {"STAWKA", pxfLong, 4}});
        t.add({1, 2, QDate(2024, 1, 1), QVariant(), 12.5, QStringLiteral("zł/dz"), 3});
        t.add({1, 3, QDate(1999, 12, 31), QDate(2024, 2, 29), -0.01, QStringLiteral("szt."), QVariant()});
    }
    {
        PxWriter t(folder, QStringLiteral("DZIEMED"),
                   {{"OSOBA", pxfLong, 4}, {"MEDIUM", pxfLong, 4}, {"ODDATY", pxfDate, 4}, {"PROCOPIE", pxfBCD, 17, 2}});
        t.add({44, 2, QDate(2024, 1, 1), 12.5});
        t.add({45, 2, QDate(2024, 1, 1), -3.25});
        t.add({46, 2, QDate(2024, 1, 1), QVariant()});
    }
    {
        PxWriter t(folder, QStringLiteral("OBECN"),
                   {{"OSOBA", pxfLong, 4}, {"DATA", pxfDate, 4}, {"OBECNY", pxfAlpha, 2}, {"CZASP", pxfTime, 4},
                    {"CZASW", pxfTime, 4}, {"ZBEDNE", pxfLong, 4}});
        t.add({12, QDate(2024, 2, 29), QStringLiteral("T"), QTime(7, 45), QVariant(), 1});
        t.add({12, QDate(2024, 3, 1), QStringLiteral("TN"), QTime(8, 0), QTime(15, 30), 1});  // too long for the store
        t.add({13, QDate(2024, 3, 1), QStringLiteral("N"), QVariant(), QTime(23, 59), QVariant()});
    }
    {
        PxWriter t(folder, QStringLiteral("PRZEDLOGI"), {{"CZAS", pxfTimestamp, 8}, {"KON", pxfLong, 4}, {"OK", pxfLogical, 1}});
        t.add({QDateTime(QDate(2023, 12, 31), QTime(23, 59, 58)), 44, true});
        t.add({QDateTime(QDate(2024, 1, 2), QTime(0, 0)), 45, false});
    }
    {
        PxWriter t(folder, QStringLiteral("POSILKI"), {{"DATA", pxfDate, 4}, {"OPIS", pxfFmtMemoBLOb, 11}});
        t.add({QDate(2024, 5, 6), kMediumMemo});
        t.add({QDate(2024, 5, 7), QStringLiteral("Zupa")});
    }
    {
        PxWriter t(folder, QStringLiteral("DZIEINF"),
                   {{"INFORM", pxfLong, 4}, {"OSOBA", pxfLong, 4}, {"DATAOTW", pxfTimestamp, 8}});
        t.add({1, 44, QVariant()});
    }
    QFile other(folder + QStringLiteral("/OBCA.DB"));
    EXPECT_TRUE(other.open(QIODevice::WriteOnly));
}

class ParadoxMigrationTest : public EngineTest {};

TEST_P(ParadoxMigrationTest, EveryRowArrivesAsWrittenAndBadRowsAreRefusedWithTheirReason)
{
    QTemporaryDir source;
    writeSourceTables(source.path());
    const QString keep = qEnvironmentVariable("LUNAWA_KEEP_PARADOX_DIR");
    if (!keep.isEmpty() && QDir().mkpath(keep))
        writeSourceTables(keep);
    const QMap<QString, QByteArray> before = checksums(source.path());

    const migration::Report report = migration::migrateParadoxFolder(*db, source.path());
    const QString text = migration::reportLines(report).join(QLatin1Char('\n'));
    for (const char* line : {"SZABLONY: odczytano 5, zapisano 4", "odrzucono rekord 4: ", "OBRAZY: odczytano 3, zapisano 3",
                             "OBECN: odczytano 3, zapisano 2", "odrzucono rekord 2: ", "pole ZBEDNE pominięte",
                             "PRZEDLOGI: odczytano 2, zapisano 2", "Plik OBCA.DB pominięty"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line << "\n" << text.toStdString();
    EXPECT_EQ(before, checksums(source.path()));  // the source is only read

    Database::SystemAccess sys(*db);
    // The delivered templates, groups and rates gave way to the source's.
    expectRows(*db, QStringLiteral("SZABLONY"), {"ID", "TYP", "NAZWA", "DANE"}, QStringLiteral("ID"),
               {{7, "FAK", QStringLiteral("Faktura źródłowa"), kLongMemo},
                {8, "UMO", "Umowa z rodzicami", kMediumMemo},
                {9, "POT", QStringLiteral("Krótka"), QStringLiteral("mało")},
                {11, "INF", "Bez danych", QVariant()}});
    expectRows(*db, QStringLiteral("OBRAZY"), {"KOD", "NAZWA", "OBRAZ"}, QStringLiteral("KOD"),
               {{3, "logo", kBigPicture}, {4, QStringLiteral("pieczątka"), kSmallPicture}, {5, "brak", QVariant()}});
    expectRows(*db, QStringLiteral("KLASY"), {"KOD", "NAZWA", "KOLEJ"}, QStringLiteral("KOD"),
               {{0, "Nieaktywni", 0}, {1, QStringLiteral("Żabki"), 2}, {2, QStringLiteral("Świerszcze"), -1}});
    expectRows(*db, QStringLiteral("STAVAT"), {"KOD", "NAZWA", "VAT", "KOLEJ"}, QStringLiteral("KOD"),
               {{1, "23%", 23.0, 1}, {2, "zw.", 0.0, 2}, {3, "8,5%", 8.5, 3}, {4, "brak", QVariant(), 4}});
    expectRows(*db, QStringLiteral("TARMED"), {"TARYFA", "MEDIUM", "ODDATY", "DODATY", "CENA", "JM", "STAWKA"},
               QStringLiteral("MEDIUM"),
               {{1, 2, QDate(2024, 1, 1), QVariant(), 12.5, QStringLiteral("zł/dz"), 3},
                {1, 3, QDate(1999, 12, 31), QDate(2024, 2, 29), -0.01, "szt.", QVariant()}});
    expectRows(*db, QStringLiteral("DZIEMED"), {"OSOBA", "MEDIUM", "ODDATY", "PROCOPIE"}, QStringLiteral("OSOBA"),
               {{44, 2, QDate(2024, 1, 1), 12.5}, {45, 2, QDate(2024, 1, 1), -3.25}, {46, 2, QDate(2024, 1, 1), QVariant()}});
    expectRows(*db, QStringLiteral("OBECN"), {"OSOBA", "DATA", "OBECNY", "CZASP", "CZASW"}, QStringLiteral("OSOBA"),
               {{12, QDate(2024, 2, 29), "T", QTime(7, 45), QVariant()},
                {13, QDate(2024, 3, 1), "N", QVariant(), QTime(23, 59)}});
    expectRows(*db, QStringLiteral("PRZEDLOGI"), {"CZAS", "KON", "OK"}, QStringLiteral("KON"),
               {{QDateTime(QDate(2023, 12, 31), QTime(23, 59, 58)), 44, "T"},
                {QDateTime(QDate(2024, 1, 2), QTime(0, 0)), 45, "N"}});
    expectRows(*db, QStringLiteral("POSILKI"), {"DATA", "OPIS"}, QStringLiteral("DATA"),
               {{QDate(2024, 5, 6), kMediumMemo}, {QDate(2024, 5, 7), "Zupa"}});
    expectRows(*db, QStringLiteral("DZIEINF"), {"INFORM", "OSOBA", "DATAOTW"}, QStringLiteral("OSOBA"),
               {{1, 44, QVariant()}});

    // Numbering goes on after the source's counter, past its highest number.
    Query(*db, QStringLiteral("INSERT INTO SZABLONY (TYP, NAZWA) VALUES ('FAK', 'nowy')")).exec();
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT MAX(ID) FROM SZABLONY")).scalar().toInt(), 21);
    Query(*db, QStringLiteral("INSERT INTO OBRAZY (NAZWA) VALUES ('nowy')")).exec();
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT MAX(KOD) FROM OBRAZY")).scalar().toInt(), 6);

    // A second migration into the now filled store is refused.
    EXPECT_THROW(migration::migrateParadoxFolder(*db, source.path()), Error);
}

// From the main window: a folder without tables ends in the message window
// with the store untouched; a good one reports there and asks for a new login.
TEST_P(ParadoxMigrationTest, ChosenFolderReportsInTheMessageWindow)
{
    QTemporaryDir empty, source;
    writeSourceTables(source.path());
    ScriptedPrompts prompts;
    MessageLog log;
    prompts.expectCancel(ScriptedPrompts::Kind::Folder, QStringLiteral("Folder z tabelami Paradox"));
    EXPECT_FALSE(migration::runFromChosenFolder(*db, prompts, log));
    prompts.expectFolder(QStringLiteral("Folder z tabelami Paradox"), empty.path());
    EXPECT_FALSE(migration::runFromChosenFolder(*db, prompts, log));
    ASSERT_EQ(log.errors().size(), 1);
    EXPECT_TRUE(log.errors().first().startsWith(QStringLiteral("W folderze "))) << log.errors().first().toStdString();
    EXPECT_TRUE(migration::storeIsEmpty(*db));

    prompts.expectFolder(QStringLiteral("Folder z tabelami Paradox"), source.path());
    int busy = 0;
    EXPECT_TRUE(migration::runFromChosenFolder(*db, prompts, log, [&](bool on) { busy += on ? 1 : -1; }));
    EXPECT_EQ(busy, 0);
    EXPECT_FALSE(migration::storeIsEmpty(*db));
    EXPECT_TRUE(log.errors().contains(QStringLiteral("SZABLONY: odrzucono rekord 4: Pole \"Typ szablonu\" musi posiadać wartość")))
        << log.errors().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(log.remarks().contains(QStringLiteral("OBRAZY: odczytano 3, zapisano 3")));
    EXPECT_TRUE(prompts.shown().last().startsWith(QStringLiteral("Dane zostały przeniesione.")));
}

INSTANTIATE_ENGINES(ParadoxMigrationTest);

}  // namespace
