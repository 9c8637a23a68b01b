#include "text_layout.h"

#include "report_fonts.h"

#include <QTextLayout>

#include <cstring>

namespace report {

MeasuredFont::MeasuredFont(const TextFont& font)
    : m_font(measuringFont(font))
    , m_metrics(m_font, referenceDevice())
    , m_lineHeight(m_metrics.lineSpacing())
    , m_ascent(m_metrics.ascent())
{
}

static QString withoutTrailingBlanks(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    text.truncate(end);
    return text;
}

QStringList MeasuredFont::lines(const QString& text, double width, bool wordWrap) const
{
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList paragraphs = normalised.split(QLatin1Char('\n'));
    if (!wordWrap)
        return paragraphs;

    QStringList result;
    for (const QString& paragraph : paragraphs) {
        // Most texts fit: measuring one advance is far cheaper than a layout.
        if (paragraph.isEmpty() || m_metrics.horizontalAdvance(paragraph) <= width) {
            result.append(paragraph);
            continue;
        }
        QTextLayout layout(paragraph, m_font, referenceDevice());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(qMax(width, 1.0));
            result.append(withoutTrailingBlanks(paragraph.mid(line.textStart(), line.textLength())));
        }
        layout.endLayout();
    }
    return result;
}

const MeasuredFont& FontCache::operator[](const TextFont& font)
{
    // Asked for every text laid out: the size goes into the key as its bits,
    // formatting it as a number was most of the time spent laying texts out.
    QString key = font.family;
    key += QChar(u'|');
    key += QChar(char16_t(int(font.bold) | int(font.italic) << 1 | int(font.underline) << 2 | int(font.strikeOut) << 3));
    quint64 size = 0;
    static_assert(sizeof(size) == sizeof(font.pointSize));
    std::memcpy(&size, &font.pointSize, sizeof(size));
    for (int shift = 0; shift < 64; shift += 16)
        key += QChar(char16_t(size >> shift));
    auto& slot = m_fonts[key];
    if (!slot)
        slot = std::make_unique<MeasuredFont>(font);
    return *slot;
}

}  // namespace report
