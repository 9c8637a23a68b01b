#include "page_painter.h"

#include "export_files.h"
#include "report_fonts.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPageSize>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QSaveFile>

#include <map>
#include <memory>
#include <tuple>

namespace report {

namespace {

// Small overhangs (a italic letter's tail, rounding) are not worth a clip
// path on every text of a PDF.
constexpr double clipTolerance = 0.5;

// A line as positioned glyphs of a face, and its width.
struct GlyphLine {
    QGlyphRun glyphs;
    double width = 0;
    bool complete = true;  // false when the face lacks a letter the painter takes from another face
};

// Lines turned into positioned glyphs once per face and text. PDF output
// spends most of its time in the toolkit's text drawing, which looks the face
// up and lays every line out again; report lines are unshaped and unkerned,
// so a glyph per letter at the face's own advances is the same drawing. Kept
// for the pages of one document, so repeated texts (dates, captions,
// descriptions) are prepared once.
class GlyphLines {
public:
    explicit GlyphLines(const QRawFont& face) : m_face(face) {}

    const QRawFont& face() const { return m_face; }

    const GlyphLine& operator[](const QString& text)
    {
        auto found = m_lines.constFind(text);
        if (found != m_lines.constEnd())
            return *found;
        // Distinct texts (codes, amounts) would otherwise fill memory on long lists.
        if (m_lines.size() >= maxLines)
            m_lines.clear();
        GlyphLine line;
        const QList<quint32> indexes = m_face.glyphIndexesForString(text);
        const QList<QPointF> advances = m_face.advancesForGlyphIndexes(indexes);
        QList<QPointF> positions;
        positions.reserve(indexes.size());
        QPointF pen;
        for (const QPointF& advance : advances) {
            positions.append(pen);
            pen += advance;
        }
        line.glyphs.setRawFont(m_face);
        line.glyphs.setGlyphIndexes(indexes);
        line.glyphs.setPositions(positions);
        line.width = pen.x();
        line.complete = !indexes.contains(0u);
        return *m_lines.insert(text, line);
    }

private:
    static constexpr qsizetype maxLines = 20000;
    QRawFont m_face;
    QHash<QString, GlyphLine> m_lines;
};

// Fonts resolved once per painting: resolving a family goes through the
// system's font configuration, far slower than drawing the text.
class FontCache {
public:
    struct Fonts {
        QFont painting;
        QFontMetricsF measuring;
        std::unique_ptr<GlyphLines> glyphLines;  // made on first use where text is drawn as glyphs
    };

    explicit FontCache(double deviceDpi) : m_deviceDpi(deviceDpi) {}

    Fonts& operator[](const TextFont& font)
    {
        auto found = m_fonts.find(font);
        if (found == m_fonts.end())
            found = m_fonts.emplace(font, Fonts{paintingFont(font, m_deviceDpi),
                                                QFontMetricsF(measuringFont(font), referenceDevice()), nullptr})
                        .first;
        return found->second;
    }

private:
    struct Less {
        bool operator()(const TextFont& a, const TextFont& b) const
        {
            return std::tie(a.family, a.pointSize, a.bold, a.italic, a.underline, a.strikeOut)
                < std::tie(b.family, b.pointSize, b.bold, b.italic, b.underline, b.strikeOut);
        }
    };
    double m_deviceDpi;
    std::map<TextFont, Fonts, Less> m_fonts;
};

// Texts of one face and colour that follow each other unclipped, gathered
// into one run: the PDF engine writes a text object with its own graphics
// state for every run, several times the size of a short cell's glyphs.
class GlyphBatch {
public:
    explicit GlyphBatch(QPainter& painter) : m_painter(painter) {}

    void add(const GlyphLines& lines, const QColor& colour, const QPointF& baseline, const QGlyphRun& glyphs)
    {
        if (&lines != m_lines || colour != m_colour)
            flush();
        m_lines = &lines;
        m_colour = colour;
        m_indexes.append(glyphs.glyphIndexes());
        for (const QPointF& position : glyphs.positions())
            m_positions.append(baseline + position);
    }

    // Draws what was gathered; called before anything else is drawn, so
    // the page keeps its painting order.
    void flush()
    {
        if (m_indexes.isEmpty())
            return;
        QGlyphRun run;
        run.setRawFont(m_lines->face());
        run.setGlyphIndexes(m_indexes);
        run.setPositions(m_positions);
        m_painter.setPen(m_colour);
        m_painter.drawGlyphRun(QPointF(0, 0), run);
        m_indexes.clear();
        m_positions.clear();
    }

private:
    QPainter& m_painter;
    const GlyphLines* m_lines = nullptr;
    QColor m_colour;
    QList<quint32> m_indexes;
    QList<QPointF> m_positions;
};

struct ItemPainter {
    QPainter& painter;
    double deviceDpi;
    FontCache& fonts;
    GlyphBatch* batch;  // set where text is drawn as prepared glyphs rather than laid out by the painter

    void operator()(const TextBox& text) const
    {
        if (text.lines.isEmpty())
            return;
        FontCache::Fonts& font = fonts[text.font];
        const QFontMetricsF& metrics = font.measuring;
        const double lineHeight = text.lineHeight > 0 ? text.lineHeight : metrics.lineSpacing();
        const double ascent = text.ascent > 0 ? text.ascent : metrics.ascent();
        const QRectF& box = text.rect;

        const double block = lineHeight * text.lines.size();
        double top = box.top();
        if (text.alignment & Qt::AlignBottom)
            top = box.bottom() - block;
        else if (text.alignment & Qt::AlignVCenter)
            top = box.top() + (box.height() - block) / 2;

        GlyphLines* glyphLines = nullptr;
        if (batch) {
            if (!font.glyphLines)
                font.glyphLines = std::make_unique<GlyphLines>(QRawFont::fromFont(QFont(font.painting, painter.device())));
            glyphLines = font.glyphLines.get();
            for (const QString& line : text.lines) {
                if (!(*glyphLines)[line].complete) {
                    glyphLines = nullptr;
                    break;
                }
            }
        }

        // Where each line starts, measured as it was laid out.
        QList<double> starts;
        starts.reserve(text.lines.size());
        bool overflows = top < box.top() - clipTolerance || top + block > box.bottom() + clipTolerance;
        const bool leftAligned = !(text.alignment & (Qt::AlignRight | Qt::AlignHCenter));
        for (const QString& line : text.lines) {
            double width = 0;
            if (!leftAligned || text.clip)
                width = glyphLines ? (*glyphLines)[line].width : metrics.horizontalAdvance(line);
            double x = box.left();
            if (text.alignment & Qt::AlignRight)
                x = box.right() - width;
            else if (text.alignment & Qt::AlignHCenter)
                x = box.left() + (box.width() - width) / 2;
            starts.append(x);
            if (x < box.left() - clipTolerance || x + width > box.right() + clipTolerance)
                overflows = true;
        }

        // Saving the state costs the PDF output a state change per text;
        // only a clip needs undoing (pen and font are set by every item).
        const bool clipped = text.clip && overflows;
        const bool decorated = text.font.underline || text.font.strikeOut;
        if (glyphLines && !clipped && !decorated) {
            for (int i = 0; i < text.lines.size(); ++i) {
                const double lineTop = top + i * lineHeight;
                if (text.clip && lineTop >= box.bottom())
                    break;
                batch->add(*glyphLines, text.colour, QPointF(starts.at(i), lineTop + ascent),
                           (*glyphLines)[text.lines.at(i)].glyphs);
            }
            return;
        }
        if (batch)
            batch->flush();
        if (clipped) {
            painter.save();
            painter.setClipRect(box, Qt::IntersectClip);
        }
        painter.setPen(text.colour);
        if (!glyphLines)
            painter.setFont(font.painting);
        for (int i = 0; i < text.lines.size(); ++i) {
            const double lineTop = top + i * lineHeight;
            if (text.clip && lineTop >= box.bottom())
                break;
            const QPointF baseline(starts.at(i), lineTop + ascent);
            if (!glyphLines) {
                painter.drawText(baseline, text.lines.at(i));
            } else if (decorated) {
                QGlyphRun decorated = (*glyphLines)[text.lines.at(i)].glyphs;
                decorated.setUnderline(text.font.underline);
                decorated.setStrikeOut(text.font.strikeOut);
                painter.drawGlyphRun(baseline, decorated);
            } else {
                painter.drawGlyphRun(baseline, (*glyphLines)[text.lines.at(i)].glyphs);
            }
        }
        if (clipped)
            painter.restore();
    }

    void operator()(const Line& line) const
    {
        if (line.width <= 0)
            return;
        if (batch)
            batch->flush();
        painter.setPen(QPen(line.colour, line.width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(line.from, line.to);
    }

    void operator()(const Box& box) const
    {
        const bool outline = box.width > 0;
        if (!outline && !box.fill.isValid())
            return;
        if (batch)
            batch->flush();
        painter.setPen(outline ? QPen(box.colour, box.width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin)
                               : QPen(Qt::NoPen));
        painter.setBrush(box.fill.isValid() ? QBrush(box.fill) : QBrush(Qt::NoBrush));
        painter.drawRect(box.rect);
    }

    void operator()(const Picture& picture) const
    {
        if (picture.image.isNull() || picture.rect.isEmpty())
            return;
        if (batch)
            batch->flush();
        QRectF target = picture.rect;
        if (picture.keepAspect) {
            const QSizeF fitted = QSizeF(picture.image.size()).scaled(target.size(), Qt::KeepAspectRatio);
            target = QRectF(QPointF(0, 0), fitted);
            target.moveCenter(picture.rect.center());
        }
        painter.drawImage(target, picture.image);
    }
};

QPageSize pageSizeOf(const Page& page)
{
    // Fuzzy matching names A4 as A4, so printers and viewers see the paper.
    return QPageSize(QSizeF(page.size.width() * 72.0 / unitsPerInch, page.size.height() * 72.0 / unitsPerInch),
                     QPageSize::Point, QString(), QPageSize::FuzzyMatch);
}

void paintWithFonts(QPainter& painter, const Page& page, double deviceDpi, FontCache& fonts)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setBrush(Qt::NoBrush);
    // The PDF engines (QPdfWriter, and QPrinter on this platform) draw
    // prepared glyphs as they draw laid-out text; others keep the painter's
    // own text drawing (SVG writes the text itself, not glyphs).
    const bool asGlyphs = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf;
    GlyphBatch batch(painter);
    const ItemPainter itemPainter{painter, deviceDpi, fonts, asGlyphs ? &batch : nullptr};
    for (const Primitive& item : page.items)
        std::visit(itemPainter, item);
    batch.flush();
    painter.restore();
}

}  // namespace

void paintPage(QPainter& painter, const Page& page, double deviceDpi)
{
    FontCache fonts(deviceDpi);
    paintWithFonts(painter, page, deviceDpi, fonts);
}

QImage renderPage(const Page& page, double dpi)
{
    const double scale = dpi / unitsPerInch;
    QImage image(qMax(1, qRound(page.size.width() * scale)), qMax(1, qRound(page.size.height() * scale)),
                 QImage::Format_RGB32);
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    paintPage(painter, page, dpi);
    painter.end();
    return image;
}

QString writePdf(const PreparedPages& pages, const QString& fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return cannotWriteMessage(fileName, file.error());

    // Text positions were checked against measurement at this resolution.
    constexpr int resolution = 1200;
    QPdfWriter writer(&file);
    writer.setResolution(resolution);
    writer.setTitle(pages.title);
    writer.setCreator(QStringLiteral("Lunawa"));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    const Page blank;
    const Page& first = pages.pages.isEmpty() ? blank : pages.pages.first();
    writer.setPageSize(pageSizeOf(first));

    QPainter painter;
    if (!painter.begin(&writer)) {
        file.cancelWriting();
        return QStringLiteral("Nie można utworzyć dokumentu PDF %1").arg(QFileInfo(fileName).fileName());
    }
    const double scale = resolution / unitsPerInch;
    FontCache fonts(resolution);
    for (int i = 0; i < pages.pages.size(); ++i) {
        const Page& page = pages.pages.at(i);
        if (i > 0) {
            writer.setPageSize(pageSizeOf(page));
            writer.newPage();
        }
        painter.save();
        painter.scale(scale, scale);
        paintWithFonts(painter, page, resolution, fonts);
        painter.restore();
    }
    painter.end();

    if (!file.commit())
        return cannotWriteMessage(fileName, file.error());
    return {};
}

}  // namespace report
