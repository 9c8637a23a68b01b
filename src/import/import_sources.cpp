#include "import_sources.h"

#include "code_pages.h"
#include "html_tables.h"
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

QList<ImportCell> ImportRows::cells(int row, const ImportFormat& format) const
{
    const int columns = int(format.columns.size());
    if (m_sheet) {
        QList<ImportCell> out;
        out.reserve(columns);
        for (int c = 1; c <= columns; ++c) {
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
    QByteArray bytes = m_lines[row - 1];
    QString text;
    if (format.codePage && *format.codePage != kNoDiacriticsPage) {
        text = cp1250::decode(toWindows1250(bytes, *format.codePage));
    } else {
        text = m_utf8 ? QString::fromUtf8(bytes) : cp1250::decode(bytes);
    }
    return cutLine(text, m_html ? m_separator : format.separator, format.widths, columns);
}

}  // namespace import
