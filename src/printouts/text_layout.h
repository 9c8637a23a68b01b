#pragma once
// Breaking a text into lines once, when a report is laid out, on the 96-dpi
// reference device: painters then draw the stored lines as they are.

#include "page_model.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>

namespace report {

// The measurements of one report font.
class MeasuredFont {
public:
    explicit MeasuredFont(const TextFont& font);

    double lineHeight() const { return m_lineHeight; }
    double ascent() const { return m_ascent; }
    double width(const QString& text) const { return m_metrics.horizontalAdvance(text); }

    // The lines of `text`: its own line breaks ("\n", "\r\n") always, and
    // with `wordWrap` breaks at word boundaries so that no line is wider
    // than `width` (a word longer than a line is broken inside).
    QStringList lines(const QString& text, double width, bool wordWrap) const;

private:
    QFont m_font;
    QFontMetricsF m_metrics;
    double m_lineHeight = 0;
    double m_ascent = 0;
};

// Measured fonts by font, made on first use; one per run, not shared
// between threads.
class FontCache {
public:
    const MeasuredFont& operator[](const TextFont& font);

private:
    std::map<QString, std::unique_ptr<MeasuredFont>> m_fonts;
};

}  // namespace report
