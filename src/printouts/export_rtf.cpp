#include "export_writers.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr double twipsPerUnit = 1440.0 / unitsPerInch;

int twips(double units)
{
    return int(std::lround(units * twipsPerUnit));
}

// The code page 1250 byte of each Polish letter: what readers without
// Unicode show in place of the \u escape.
char fallbackOf(QChar ch)
{
    static const QHash<char16_t, char> polish = {
        {u'ą', '\xB9'}, {u'ć', '\xE6'}, {u'ę', '\xEA'}, {u'ł', '\xB3'}, {u'ń', '\xF1'}, {u'ó', '\xF3'},
        {u'ś', '\x9C'}, {u'ź', '\x9F'}, {u'ż', '\xBF'}, {u'Ą', '\xA5'}, {u'Ć', '\xC6'}, {u'Ę', '\xCA'},
        {u'Ł', '\xA3'}, {u'Ń', '\xD1'}, {u'Ó', '\xD3'}, {u'Ś', '\x8C'}, {u'Ź', '\x8F'}, {u'Ż', '\xAF'},
    };
    return polish.value(ch.unicode(), '?');
}

QByteArray escaped(const QString& text)
{
    QByteArray out;
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        if (code == '\\' || code == '{' || code == '}') {
            out += '\\';
            out += char(code);
        } else if (code == '\t') {
            out += "\\tab ";
        } else if (code >= 0x20 && code < 0x80) {
            out += char(code);
        } else if (code >= 0x80) {
            // Signed 16-bit, one escape per UTF-16 unit.
            out += "\\u" + QByteArray::number(int(qint16(code)));
            const char fallback = fallbackOf(ch);
            if (fallback == '?') {
                out += '?';
            } else {
                out += "\\'" + QByteArray::number(uchar(fallback), 16).rightJustified(2, '0');
            }
        }
    }
    return out;
}

class Tables {
public:
    int font(const QString& family)
    {
        const int index = int(m_fonts.indexOf(family));
        if (index >= 0)
            return index;
        m_fonts.append(family);
        return int(m_fonts.size()) - 1;
    }
    int colour(const QColor& colour)
    {
        const QRgb rgb = colour.isValid() ? colour.rgb() : QColor(Qt::black).rgb();
        const int index = int(m_colours.indexOf(rgb));
        if (index >= 0)
            return index + 1;
        m_colours.append(rgb);
        return int(m_colours.size());
    }
    QByteArray header() const
    {
        QByteArray out = "{\\fonttbl";
        for (int i = 0; i < m_fonts.size(); ++i)
            out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset238 " + escaped(m_fonts.at(i)) + ";}";
        out += "}\r\n{\\colortbl;";
        for (QRgb rgb : m_colours) {
            out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb)) + "\\blue"
                + QByteArray::number(qBlue(rgb)) + ';';
        }
        out += "}\r\n";
        return out;
    }

private:
    QStringList m_fonts;
    QList<QRgb> m_colours;
};

}  // namespace

QByteArray rtfExport(const QList<TableRow>& rows, const PreparedPages& pages)
{
    const QSizeF paper = pages.pages.isEmpty() ? a4Portrait() : pages.pages.first().size;
    const int margin = twips(defaultMargin);
    Tables tables;
    tables.font(QStringLiteral("Arial"));

    QByteArray body;
    int page = rows.isEmpty() ? 0 : rows.first().page;
    for (const TableRow& row : rows) {
        if (row.page != page) {
            body += "\\page\r\n";
            page = row.page;
        }
        // Tab stops where the texts stand on the page.
        QList<QPair<int, QByteArray>> stops;
        QList<bool> tabbed;
        for (int i = 0; i < row.cells.size(); ++i) {
            const TableCell& cell = row.cells.at(i);
            QByteArray stop;
            int position = 0;
            if (cell.alignment & Qt::AlignRight) {
                stop = "\\tqr";
                position = twips(cell.rect.right()) - margin;
            } else if (cell.alignment & Qt::AlignHCenter) {
                stop = "\\tqc";
                position = twips(cell.rect.center().x()) - margin;
            } else {
                position = twips(cell.rect.left()) - margin;
            }
            // A left text at the margin starts the line without a tab.
            const bool needsTab = position > 0 && !(i == 0 && stop.isEmpty() && position < 15);
            tabbed.append(needsTab);
            if (needsTab)
                stops.append({position, stop});
        }
        // Readers expect the stops in ascending order.
        std::sort(stops.begin(), stops.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        QByteArray tabs;
        for (const auto& [position, stop] : std::as_const(stops))
            tabs += stop + "\\tx" + QByteArray::number(position);
        for (int lineIndex = 0; lineIndex < qMax(1, row.lineCount()); ++lineIndex) {
            body += "\\pard\\plain" + tabs + ' ';
            for (int i = 0; i < row.cells.size(); ++i) {
                const TableCell& cell = row.cells.at(i);
                if (tabbed.at(i))
                    body += "\\tab";
                const QString text = lineIndex < cell.lines.size() ? cell.lines.at(lineIndex) : QString();
                if (text.isEmpty()) {
                    body += ' ';
                    continue;
                }
                body += "{\\f" + QByteArray::number(tables.font(cell.font.family)) + "\\fs"
                    + QByteArray::number(qMax(2, int(std::lround(cell.font.pointSize * 2))));
                if (cell.font.bold)
                    body += "\\b";
                if (cell.font.italic)
                    body += "\\i";
                if (cell.font.underline)
                    body += "\\ul";
                if (cell.font.strikeOut)
                    body += "\\strike";
                body += "\\cf" + QByteArray::number(tables.colour(cell.colour)) + ' ' + escaped(text) + '}';
            }
            body += "\\par\r\n";
        }
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\uc1\r\n";
    out += tables.header();
    if (!pages.title.isEmpty())
        out += "{\\info{\\title " + escaped(pages.title) + "}}\r\n";
    out += "\\paperw" + QByteArray::number(twips(paper.width())) + "\\paperh"
        + QByteArray::number(twips(paper.height())) + "\\margl" + QByteArray::number(margin) + "\\margr"
        + QByteArray::number(margin) + "\\margt" + QByteArray::number(margin) + "\\margb"
        + QByteArray::number(margin);
    if (paper.width() > paper.height())
        out += "\\landscape";
    out += "\r\n" + body + "}\r\n";
    return out;
}

}  // namespace report
