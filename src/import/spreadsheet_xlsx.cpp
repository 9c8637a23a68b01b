#include "import/spreadsheet_xlsx.h"

#include "store/error.h"

#include <QDateTime>
#include <QDir>
#include <QXmlStreamReader>

namespace import {
namespace {

const QString relationshipsNs =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

struct Relationship {
    QString type;
    QString target;  // the part's name within the archive
};

// A relationship target resolved against the folder of the part that has it.
QString resolvedPart(const QString& sourcePart, const QString& target)
{
    if (target.startsWith(u'/')) return target.mid(1);
    const qsizetype slash = sourcePart.lastIndexOf(u'/');
    const QString folder = slash < 0 ? QString() : sourcePart.left(slash + 1);
    return QDir::cleanPath(folder + target);
}

QString relationshipsPart(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1)
           + QStringLiteral(".rels");
}

QHash<QString, Relationship> readRelationships(const ZipArchive& zip, const QString& part)
{
    QHash<QString, Relationship> out;
    const QString relsPart = relationshipsPart(part);
    if (!zip.contains(relsPart)) return out;
    QXmlStreamReader xml(zip.read(relsPart));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship")
            continue;
        const auto attrs = xml.attributes();
        out.insert(attrs.value(QLatin1String("Id")).toString(),
                   {attrs.value(QLatin1String("Type")).toString(),
                    resolvedPart(part, attrs.value(QLatin1String("Target")).toString())});
    }
    return out;
}

// Text of the <t> elements within the current element (a shared string or
// an inline string), leaving out phonetic runs.
QString stringItemText(QXmlStreamReader& xml)
{
    QString text;
    int depth = 1;
    int phonetic = 0;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            if (xml.name() == u"rPh") ++phonetic;
            if (xml.name() == u"t" && !phonetic) {
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
                --depth;
            }
        } else if (xml.isEndElement()) {
            --depth;
            if (xml.name() == u"rPh") --phonetic;
        }
    }
    return text;
}

// "BC12" gives column 55 and row 12; zeros when the reference is malformed.
void parseReference(QStringView ref, int* column, int* row)
{
    qsizetype i = 0;
    int c = 0;
    while (i < ref.size() && ref[i].isLetter() && c <= SheetBuilder::maxColumns)
        c = c * 26 + (ref[i++].toUpper().unicode() - 'A' + 1);
    bool ok = false;
    const int r = ref.mid(i).toInt(&ok);
    *column = c;
    *row = ok ? r : 0;
}

}  // namespace

XlsxSpreadsheet::XlsxSpreadsheet(const QString& path) : path_(path), zip_(path)
{
    QString workbookPart = QStringLiteral("xl/workbook.xml");
    for (const Relationship& rel : readRelationships(zip_, QString()))
        if (rel.type.endsWith(u"/officeDocument")) workbookPart = rel.target;
    if (!zip_.contains(workbookPart)) throw Error(unreadableFileMessage(path));
    const auto relationships = readRelationships(zip_, workbookPart);

    QXmlStreamReader workbook(zip_.read(workbookPart));
    while (!workbook.atEnd()) {
        if (workbook.readNext() != QXmlStreamReader::StartElement) continue;
        const auto attrs = workbook.attributes();
        if (workbook.name() == u"workbookPr") {
            const auto value = attrs.value(QLatin1String("date1904"));
            epoch1904_ = value == u"1" || value == u"true";
        } else if (workbook.name() == u"sheet") {
            const auto rel = relationships.value(attrs.value(relationshipsNs, QLatin1String("id")).toString());
            names_ << attrs.value(QLatin1String("name")).toString();
            sheetParts_ << rel.target;
        }
    }
    if (workbook.hasError()) throw Error(unreadableFileMessage(path));

    for (const Relationship& rel : relationships) {
        if (rel.type.endsWith(u"/sharedStrings") && zip_.contains(rel.target)) {
            QXmlStreamReader xml(zip_.read(rel.target));
            while (!xml.atEnd())
                if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
                    sharedStrings_ << stringItemText(xml);
        } else if (rel.type.endsWith(u"/styles") && zip_.contains(rel.target)) {
            QHash<int, QString> customFormats;
            bool inCellXfs = false;
            QXmlStreamReader xml(zip_.read(rel.target));
            while (!xml.atEnd()) {
                xml.readNext();
                if (xml.isEndElement() && xml.name() == u"cellXfs") inCellXfs = false;
                if (!xml.isStartElement()) continue;
                const auto attrs = xml.attributes();
                if (xml.name() == u"numFmt") {
                    customFormats.insert(attrs.value(QLatin1String("numFmtId")).toInt(),
                                         attrs.value(QLatin1String("formatCode")).toString());
                } else if (xml.name() == u"cellXfs") {
                    inCellXfs = true;
                } else if (inCellXfs && xml.name() == u"xf") {
                    const int id = attrs.value(QLatin1String("numFmtId")).toInt();
                    styleKinds_ << numberFormatKind(customFormats.contains(id) ? -1 : id,
                                                    customFormats.value(id));
                }
            }
        }
    }
}

QVariant XlsxSpreadsheet::cellValue(QStringView type, int style, const QString& value) const
{
    if (type == u"s") {
        bool ok = false;
        const int index = value.toInt(&ok);
        return ok && index >= 0 && index < sharedStrings_.size() ? sharedStrings_[index] : QVariant();
    }
    if (type == u"inlineStr" || type == u"str") return value;
    if (type == u"b") return value.trimmed().isEmpty() ? QVariant() : booleanText(value.trimmed() != u"0");
    if (type == u"e") return {};
    if (type == u"d") {
        const QDateTime moment = QDateTime::fromString(value, Qt::ISODate);
        if (!moment.isValid()) return {};
        return moment.time() == QTime(0, 0) ? QVariant(moment.date()) : QVariant(moment);
    }
    bool ok = false;
    const double number = value.trimmed().toDouble(&ok);
    if (!ok) return {};
    const NumberFormatKind kind =
        style >= 0 && style < styleKinds_.size() ? styleKinds_[style] : NumberFormatKind::Number;
    return serialValue(number, kind, epoch1904_);
}

SheetCells XlsxSpreadsheet::sheet(const QString& name) const
{
    const qsizetype index = names_.indexOf(name);
    if (index < 0)
        throw Error(QStringLiteral("W pliku %1 nie ma arkusza \"%2\"")
                        .arg(QDir::toNativeSeparators(path_), name));
    SheetBuilder builder;
    if (!zip_.contains(sheetParts_[index])) throw Error(unreadableFileMessage(path_));
    QXmlStreamReader xml(zip_.read(sheetParts_[index]));
    int row = 0;
    int column = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto attrs = xml.attributes();
        if (xml.name() == u"row") {
            // Without r a row follows the previous one.
            bool ok = false;
            const int r = attrs.value(QLatin1String("r")).toInt(&ok);
            row = ok ? r : row + 1;
            column = 0;
        } else if (xml.name() == u"c") {
            int refColumn = 0;
            int refRow = 0;
            parseReference(attrs.value(QLatin1String("r")), &refColumn, &refRow);
            column = refColumn > 0 ? refColumn : column + 1;
            if (refRow > 0) row = refRow;
            const QString type = attrs.value(QLatin1String("t")).toString();
            const int style = attrs.hasAttribute(QLatin1String("s")) ? attrs.value(QLatin1String("s")).toInt() : 0;
            QString value;
            while (xml.readNextStartElement()) {
                if (xml.name() == u"v")
                    value = xml.readElementText();
                else if (xml.name() == u"is")
                    value = stringItemText(xml);
                else
                    xml.skipCurrentElement();
            }
            builder.set(row, column, cellValue(type, style, value));
        }
    }
    if (xml.hasError()) throw Error(unreadableFileMessage(path_));
    return builder.finish();
}

}  // namespace import
