#include "text_rows.h"

#include <QStringDecoder>

namespace import {

QList<QByteArray> fileLines(const QByteArray& content)
{
    QList<QByteArray> lines;
    if (content.isEmpty())
        return lines;
    qsizetype from = 0;
    while (from < content.size()) {
        qsizetype nl = content.indexOf('\n', from);
        if (nl < 0)
            nl = content.size();
        QByteArray line = content.mid(from, nl - from);
        if (line.endsWith('\r'))
            line.chop(1);
        lines << line;
        from = nl + 1;
    }
    return lines;
}

bool looksLikeUtf8(const QByteArray& content)
{
    if (content.startsWith("\xEF\xBB\xBF"))
        return true;
    bool beyondAscii = false;
    for (const char c : content)
        if (static_cast<unsigned char>(c) >= 0x80) {
            beyondAscii = true;
            break;
        }
    if (!beyondAscii)
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(content);
    return !decoder.hasError();
}

QList<ImportCell> cutLine(const QString& line, const QString& separator, const QList<int>& widths, int columnCount)
{
    QList<ImportCell> cells;
    cells.reserve(columnCount);
    qsizetype at = 0;
    for (int c = 0; c < columnCount; ++c) {
        ImportCell cell;
        if (at <= line.size()) {
            if (!separator.isEmpty()) {
                const qsizetype next = c + 1 < columnCount ? line.indexOf(separator, at) : -1;
                if (next < 0) {
                    cell.text = line.mid(at);
                    at = line.size() + 1;
                } else {
                    cell.text = line.mid(at, next - at);
                    at = next + separator.size();
                }
            } else {
                const int width = c < widths.size() ? qMax(0, widths[c]) : 0;
                cell.text = line.mid(at, width);
                at += width;
            }
        }
        cells << cell;
    }
    return cells;
}

}  // namespace import
