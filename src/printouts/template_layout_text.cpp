#include "template_layout_text.h"

#include "store/error.h"

#include <QStringList>

namespace printouts {

namespace {

const QString crlf = QStringLiteral("\r\n");
const QString landscapeMark = QStringLiteral("POZIOMO");
const QString columnsMark = QStringLiteral("KOLUMNY");
constexpr int groupLines = 15;

// Lines of the text; LF-only and mixed line ends are taken alike.
QStringList splitLines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

qint32 number(const QStringList& lines, int index)
{
    bool ok = false;
    const qint32 value = lines[index].trimmed().toInt(&ok, 10);
    if (!ok)
        throw Error(notANumberMessage(index + 1, lines[index]));
    return value;
}

void readHeader(const QString& header, PrintTemplate& layout)
{
    layout.landscape = header.contains(landscapeMark);
    const int at = header.indexOf(columnsMark);
    if (at >= 0 && at + columnsMark.size() < header.size()) {
        const QChar digit = header.at(at + columnsMark.size());
        if (digit >= QLatin1Char('0') && digit <= QLatin1Char('9'))
            layout.columns = qMax(1, digit.digitValue());
    }
}

TemplateElement readElement(const QStringList& lines, int a)
{
    TemplateElement e;
    const auto kind = elementKindOf(lines[a]);
    if (!kind)
        throw Error(unknownKindMessage(a + 1, lines[a]));
    e.kind = *kind;
    e.content = contentFromStored(lines[a + 1]);
    e.box = QRect(number(lines, a + 2), number(lines, a + 3), number(lines, a + 4), number(lines, a + 5));
    e.background = number(lines, a + 6);
    e.alignment = TextAlignment(number(lines, a + 7));
    e.font.name = lines[a + 8];
    e.font.charset = number(lines, a + 9);
    e.font.colour = number(lines, a + 10);
    e.font.height = number(lines, a + 11);
    e.font.pitch = number(lines, a + 12);
    e.font.size = number(lines, a + 13);
    const QString& style = lines[a + 14];
    e.font.bold = style.contains(QLatin1Char('0'));
    e.font.italic = style.contains(QLatin1Char('1'));
    e.font.underline = style.contains(QLatin1Char('2'));
    e.font.strikeOut = style.contains(QLatin1Char('3'));
    return e;
}

QString styleLine(const TemplateFont& font)
{
    QString s = QStringLiteral(" ");
    if (font.bold)
        s += QLatin1Char('0');
    if (font.italic)
        s += QLatin1Char('1');
    if (font.underline)
        s += QLatin1Char('2');
    if (font.strikeOut)
        s += QLatin1Char('3');
    return s;
}

QStringList elementLines(const TemplateElement& e)
{
    const int charset = e.keepsOwnCharset() ? e.font.charset : eastEuropeanCharset;
    return {
        elementKindName(e.kind),
        contentToStored(e.content),
        QString::number(e.box.left()),
        QString::number(e.box.top()),
        QString::number(e.box.width()),
        QString::number(e.box.height()),
        QString::number(e.background),
        QString::number(int(e.alignment)),
        e.font.name,
        QString::number(charset),
        QString::number(e.font.colour),
        QString::number(e.font.height),
        QString::number(e.font.pitch),
        QString::number(e.font.size),
        styleLine(e.font),
    };
}

}  // namespace

QString notANumberMessage(int lineNumber, const QString& line)
{
    return QStringLiteral("Błędny układ szablonu: w wierszu %1 „%2” nie jest liczbą całkowitą")
        .arg(QString::number(lineNumber), line);
}

QString unknownKindMessage(int lineNumber, const QString& line)
{
    return QStringLiteral("Błędny układ szablonu: w wierszu %1 nieznany rodzaj elementu „%2”")
        .arg(QString::number(lineNumber), line);
}

QString contentToStored(const QString& content)
{
    QString s = content;
    s.replace(QStringLiteral("\r\n"), QString(storedLineBreak));
    s.replace(QLatin1Char('\n'), storedLineBreak);
    s.replace(QLatin1Char('\r'), storedLineBreak);
    return s;
}

QString contentFromStored(const QString& stored)
{
    QString s = stored;
    s.replace(storedLineBreak, crlf);
    return s;
}

PrintTemplate readLayout(const QString& text)
{
    PrintTemplate layout;
    const QStringList lines = splitLines(text);
    readHeader(lines.first(), layout);
    for (int a = 1; a + groupLines - 1 < lines.size(); a += groupLines)
        layout.elements.append(readElement(lines, a));
    return layout;
}

QString writeLayout(const PrintTemplate& layout)
{
    QString text;
    if (layout.landscape)
        text += landscapeMark;
    if (layout.columns > 1 && layout.columns <= 9)
        text += columnsMark + QString::number(layout.columns);
    for (const TemplateElement& e : layout.elements)
        text += crlf + elementLines(e).join(crlf);
    return text;
}

}  // namespace printouts
