#include "import/spreadsheet_ods.h"

#include "import/spreadsheet_cells.h"
#include "import/spreadsheet_zip.h"
#include "store/error.h"

#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>
#include <functional>

namespace import {
namespace {

const QString officeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString tableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString textNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");

bool isElement(const QXmlStreamReader& xml, const QString& ns, QStringView name)
{
    return xml.namespaceUri() == ns && xml.name() == name;
}

int repeatCount(const QXmlStreamReader& xml, QLatin1String attribute)
{
    bool ok = false;
    const int count = xml.attributes().value(tableNs, attribute).toInt(&ok);
    return ok && count > 1 ? count : 1;
}

// The text inside a paragraph, spans and links included, notes left out;
// the reader ends on the paragraph's end.
QString inlineText(QXmlStreamReader& xml)
{
    QString out;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) break;
        if (token == QXmlStreamReader::Characters) {
            out += xml.text();
        } else if (token == QXmlStreamReader::StartElement) {
            if (isElement(xml, textNs, u"s")) {
                bool ok = false;
                const int count = xml.attributes().value(textNs, QLatin1String("c")).toInt(&ok);
                out += QString(ok && count > 0 ? std::min(count, 1000) : 1, u' ');
                xml.skipCurrentElement();
            } else if (isElement(xml, textNs, u"tab")) {
                out += u'\t';
                xml.skipCurrentElement();
            } else if (isElement(xml, textNs, u"line-break")) {
                out += u'\n';
                xml.skipCurrentElement();
            } else if (isElement(xml, textNs, u"note") || isElement(xml, officeNs, u"annotation")) {
                xml.skipCurrentElement();
            } else {
                out += inlineText(xml);
            }
        }
    }
    return out;
}

// The paragraphs of a cell, one per line; a comment on the cell is no part
// of its text. The reader ends on the cell's end.
QString cellText(QXmlStreamReader& xml)
{
    QString text;
    bool first = true;
    while (xml.readNextStartElement()) {
        if (isElement(xml, textNs, u"p") || isElement(xml, textNs, u"h")) {
            if (!first) text += u'\n';
            first = false;
            text += inlineText(xml);
        } else {
            xml.skipCurrentElement();
        }
    }
    return text;
}

// "PT07H45M00S" (a day count may lead: "P1DT02H00M00S") as a clock text.
QVariant durationValue(QStringView value)
{
    static const QRegularExpression pattern(
        QStringLiteral("^P(?:(\\d+)D)?T(?:(\\d+)H)?(?:(\\d+)M)?(?:(\\d+(?:\\.\\d*)?)S)?$"));
    const auto match = pattern.match(value.toString());
    if (!match.hasMatch()) return {};
    const double seconds = match.captured(1).toDouble() * 86400 + match.captured(2).toDouble() * 3600
                           + match.captured(3).toDouble() * 60 + match.captured(4).toDouble();
    return clockText(std::llround(seconds));
}

QVariant dateValue(QStringView value)
{
    if (!value.contains(u'T')) {
        const QDate date = QDate::fromString(value.toString(), Qt::ISODate);
        return date.isValid() ? QVariant(date) : QVariant();
    }
    const QDateTime moment = QDateTime::fromString(value.toString(), Qt::ISODate);
    if (!moment.isValid()) return {};
    return moment.time() == QTime(0, 0) ? QVariant(moment.date()) : QVariant(moment);
}

// The value of the cell the reader is on, by its value type; the reader
// ends on the cell's end.
QVariant cellValue(QXmlStreamReader& xml)
{
    const auto attrs = xml.attributes();
    const QString type = attrs.value(officeNs, QLatin1String("value-type")).toString();
    const QString value = attrs.value(officeNs, QLatin1String("value")).toString();
    const QString dateText = attrs.value(officeNs, QLatin1String("date-value")).toString();
    const QString timeText = attrs.value(officeNs, QLatin1String("time-value")).toString();
    const QString booleanValue = attrs.value(officeNs, QLatin1String("boolean-value")).toString();
    const bool hasStringValue = !attrs.value(officeNs, QLatin1String("string-value")).isNull();
    const QString stringValue = attrs.value(officeNs, QLatin1String("string-value")).toString();
    const QString text = cellText(xml);

    if (type == u"float" || type == u"percentage" || type == u"currency") {
        bool ok = false;
        const double number = value.toDouble(&ok);
        return ok ? QVariant(number) : QVariant();
    }
    if (type == u"date") return dateValue(dateText);
    if (type == u"time") return durationValue(timeText);
    if (type == u"boolean") return booleanText(booleanValue == u"true" || booleanValue == u"1");
    if (type == u"string" && hasStringValue) return stringValue;
    return text;
}

struct RowCell {
    int column;
    int span;
    QVariant value;
};

// One table row, repeated as often as it says; an empty repeat costs
// nothing however long it is.
void readRow(QXmlStreamReader& xml, SheetBuilder& builder, int* row)
{
    const int repeat = repeatCount(xml, QLatin1String("number-rows-repeated"));
    QList<RowCell> cells;
    int column = 1;
    while (xml.readNextStartElement()) {
        if (isElement(xml, tableNs, u"table-cell") || isElement(xml, tableNs, u"covered-table-cell")) {
            const int span = repeatCount(xml, QLatin1String("number-columns-repeated"));
            QVariant value = cellValue(xml);
            if (value.isValid() && !(value.typeId() == QMetaType::QString && value.toString().isEmpty()))
                cells.append({column, span, std::move(value)});
            column = int(std::min<qint64>(qint64(column) + span, SheetBuilder::maxColumns + 1));
        } else {
            xml.skipCurrentElement();
        }
    }
    const int rows = std::min(repeat, SheetBuilder::maxRows - *row);
    for (const RowCell& cell : cells) {
        const int columns = std::min(cell.span, SheetBuilder::maxColumns + 1 - cell.column);
        for (int r = 1; r <= rows; ++r)
            for (int c = 0; c < columns; ++c) builder.set(*row + r, cell.column + c, cell.value);
    }
    *row = int(std::min<qint64>(qint64(*row) + repeat, SheetBuilder::maxRows));
}

// The rows of a table, also those inside header rows and row groups.
void readRows(QXmlStreamReader& xml, SheetBuilder& builder, int* row)
{
    while (xml.readNextStartElement()) {
        if (isElement(xml, tableNs, u"table-row"))
            readRow(xml, builder, row);
        else if (isElement(xml, tableNs, u"table-header-rows") || isElement(xml, tableNs, u"table-rows")
                 || isElement(xml, tableNs, u"table-row-group"))
            readRows(xml, builder, row);
        else
            xml.skipCurrentElement();
    }
}

// Calls `onTable` with the reader on each sheet's start, in order; the
// callback reads or skips the whole sheet element. False when the content
// is damaged.
bool forEachTable(QXmlStreamReader& xml, const std::function<bool(QXmlStreamReader&)>& onTable)
{
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (!isElement(xml, officeNs, u"spreadsheet")) continue;
        while (xml.readNextStartElement()) {
            if (!isElement(xml, tableNs, u"table")) {
                xml.skipCurrentElement();
            } else if (!onTable(xml)) {
                return !xml.hasError();
            }
        }
        break;
    }
    return !xml.hasError();
}

}  // namespace

OdsSpreadsheet::OdsSpreadsheet(const QString& path) : path_(path)
{
    const ZipArchive zip(path);
    content_ = zip.read(QStringLiteral("content.xml"));
    QXmlStreamReader xml(content_);
    const bool ok = forEachTable(xml, [this](QXmlStreamReader& table) {
        names_ << table.attributes().value(tableNs, QLatin1String("name")).toString();
        table.skipCurrentElement();
        return true;
    });
    if (!ok) throw Error(unreadableFileMessage(path));
}

SheetCells OdsSpreadsheet::sheet(const QString& name) const
{
    const qsizetype index = names_.indexOf(name);
    if (index < 0)
        throw Error(QStringLiteral("W pliku %1 nie ma arkusza \"%2\"")
                        .arg(QDir::toNativeSeparators(path_), name));
    SheetBuilder builder;
    qsizetype seen = 0;
    QXmlStreamReader xml(content_);
    const bool ok = forEachTable(xml, [&](QXmlStreamReader& table) {
        if (seen++ < index) {
            table.skipCurrentElement();
            return true;
        }
        int row = 0;
        readRows(table, builder, &row);
        return false;
    });
    if (!ok) throw Error(unreadableFileMessage(path_));
    return builder.finish();
}

}  // namespace import
