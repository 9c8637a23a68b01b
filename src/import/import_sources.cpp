#include "import_sources.h"

#include "code_pages.h"
#include "html_tables.h"
#include "mt940_reader.h"
#include "quoted_fields.h"
#include "text_rows.h"

#include "browser/prompts.h"
#include "store/cp1250.h"
#include "store/error.h"

#include <QFile>

namespace import {

QString htmlTableTitle() { return QStringLiteral("Import pliku"); }
QString htmlTablePrompt() { return QStringLiteral("Wybierz tabelę"); }
QString sheetTitle() { return QStringLiteral("Wybierz arkusz"); }

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Nie można otworzyć pliku „%1”: %2").arg(path, file.errorString()));
    return file.readAll();
}

}  // namespace

ImportRows ImportRows::fromText(const QByteArray& content)
{
    ImportRows rows;
    rows.m_utf8 = looksLikeUtf8(content);
    QByteArray body = content;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    rows.m_lines = fileLines(body);
    return rows;
}

ImportRows ImportRows::open(const QString& path, const ImportFormat& format, Prompts& prompts)
{
    switch (format.fileKind) {
    case FileKind::Text:
        return fromText(readFile(path));
    case FileKind::Mt940:
        return fromMt940(readFile(path), format, ValueFormat::of(format).decimal);
    case FileKind::Html: {
        const QByteArray page = readFile(path);
        const QList<QByteArray> listing = htmlTableListing(page);
        // A page without a table has no table number to read.
        if (listing.isEmpty())
            throw Error(notWholeNumberMessage(QString()));
        QList<PickEntry> entries;
        for (int i = 0; i < listing.size(); ++i)
            entries << PickEntry{cp1250::decode(listing[i]), i + 1};
        QVariant chosen = format.htmlTable <= listing.size() ? format.htmlTable : 1;
        if (!prompts.pickFromList(htmlTableTitle(), htmlTablePrompt(), entries, chosen))
            chosen = 1;
        ImportRows rows;
        rows.m_html = true;
        rows.m_separator = QStringLiteral("\t");
        rows.m_lines = htmlTableRows(page, chosen.toInt());
        return rows;
    }
    case FileKind::Spreadsheet: {
        const auto book = Spreadsheet::open(path);
        const QStringList names = book->sheetNames();
        QList<PickEntry> entries;
        for (const QString& n : names)
            entries << PickEntry{n, n};
        QVariant chosen = names.contains(format.sheetName) ? QVariant(format.sheetName)
                          : names.isEmpty()                 ? QVariant()
                                                            : QVariant(names.first());
        if (!prompts.pickFromList(sheetTitle(), QString(), entries, chosen))
            chosen = format.sheetName;
        ImportRows rows;
        rows.m_sheet = true;
        rows.m_cells = book->sheet(chosen.toString());
        return rows;
    }
    }
    return {};
}

int ImportRows::rowCount() const
{
    if (m_sheet)
        return m_cells.rowCount();
    if (!m_cellRows.isEmpty())
        return int(m_cellRows.size());
    return int(m_lines.size());
}

QString ImportRows::lineText(int row, const ImportFormat& format) const
{
    const QByteArray& bytes = m_lines[row - 1];
    if (format.utf8)
        return decodeUtf8Leniently(bytes);
    if (format.codePage && *format.codePage != kNoDiacriticsPage)
        return cp1250::decode(toWindows1250(bytes, *format.codePage));
    return m_utf8 ? QString::fromUtf8(bytes) : cp1250::decode(bytes);
}

QList<ImportCell> ImportRows::cut(int row, const ImportFormat& format, int columns) const
{
    if (!m_cellRows.isEmpty()) {
        QList<ImportCell> out = m_cellRows[row - 1];
        if (columns >= 0)
            out.resize(columns);
        return out;
    }
    if (m_sheet) {
        const int count = columns >= 0 ? columns : qMax(int(format.columns.size()), m_cells.columnCount(row));
        QList<ImportCell> out;
        out.reserve(count);
        for (int c = 1; c <= count; ++c) {
            const QVariant v = m_cells.cell(row, c);
            ImportCell cell;
            if (v.typeId() == QMetaType::QString)
                cell.text = v.toString();
            else
                cell.value = v;
            out << cell;
        }
        return out;
    }
    const QString text = lineText(row, format);
    const QString& separator = m_html ? m_separator : format.separator;
    if (format.quote && !m_html && !separator.isEmpty())
        return cutQuoted(text, separator, *format.quote, columns);
    if (columns < 0 && !separator.isEmpty()) {
        QList<ImportCell> out;
        for (const QString& piece : text.split(separator))
            out << ImportCell{piece, {}};
        return out;
    }
    return cutLine(text, separator, format.widths, columns < 0 ? int(format.columns.size()) : columns);
}

QList<ImportCell> ImportRows::cells(int row, const ImportFormat& format) const
{
    return cut(row, format, int(format.columns.size()));
}

QList<ImportCell> ImportRows::allCells(int row, const ImportFormat& format) const
{
    return cut(row, format, -1);
}

int ImportRows::firstRowBeginning(const QString& prefix, const ImportFormat& format) const
{
    const int count = rowCount();
    for (int row = 1; row <= count; ++row) {
        QString text;
        if (m_sheet || !m_cellRows.isEmpty()) {
            const QList<ImportCell> first = cut(row, format, 1);
            text = first.isEmpty() ? QString() : first[0].text;
        } else {
            text = lineText(row, format);
        }
        if (text.startsWith(prefix))
            return row;
    }
    return 0;
}

ImportRows ImportRows::fromMt940(const QByteArray& content, const ImportFormat& format, QChar decimal)
{
    const ImportRows source = fromText(content);
    QStringList lines;
    for (int row = 1; row <= source.rowCount(); ++row)
        lines << source.lineText(row, format);
    ImportRows rows;
    QList<ImportCell> headings;
    for (const QString& h : mt940Headings())
        headings << ImportCell{h, {}};
    rows.m_cellRows << headings;
    for (const Mt940Transaction& t : mt940Transactions(lines.join(QLatin1Char('\n')))) {
        QString amount = QString::number(t.amount, 'f', 2);
        amount.replace(QLatin1Char('.'), decimal);
        rows.m_cellRows << QList<ImportCell>{
            ImportCell{t.valueDate.toString(QStringLiteral("yyyy-MM-dd")), t.valueDate},
            ImportCell{amount, {}},
            ImportCell{t.counterparty, {}},
            ImportCell{t.title, {}},
            ImportCell{t.reference, {}},
        };
    }
    return rows;
}

}  // namespace import
