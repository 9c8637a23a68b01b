#include "report_fonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QImage>
#include <QMutex>

namespace report {

namespace {

QString lookUpInstalledFamily(const QString& requested)
{
    static const QHash<QString, QString> metricTwins = {
        {QStringLiteral("arial"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("helvetica"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("ms sans serif"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("times new roman"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("times"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("courier new"), QStringLiteral("Liberation Mono")},
        {QStringLiteral("courier"), QStringLiteral("Liberation Mono")},
    };
    const QString twin = metricTwins.value(requested.trimmed().toLower());
    if (!twin.isEmpty() && QFontDatabase::hasFamily(twin))
        return twin;
    if (twin.isEmpty() && !requested.isEmpty() && QFontDatabase::hasFamily(requested))
        return requested;
    // A face we cannot match still needs one with Polish letters and a file
    // the PDF writer can embed.
    for (const char* fallback : {"Liberation Sans", "DejaVu Sans"}) {
        if (QFontDatabase::hasFamily(QLatin1String(fallback)))
            return QLatin1String(fallback);
    }
    return requested;
}

}  // namespace

QString installedFamily(const QString& requested)
{
    // Asking the font database goes through the system's font configuration,
    // far slower than measuring or drawing; pages ask for a handful of faces,
    // from any thread.
    static QMutex mutex;
    static QHash<QString, QString> resolved;
    const QMutexLocker lock(&mutex);
    auto found = resolved.constFind(requested);
    if (found == resolved.constEnd())
        found = resolved.insert(requested, lookUpInstalledFamily(requested));
    return *found;
}

const QPaintDevice* referenceDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        const int dotsPerMeter = qRound(unitsPerInch / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return &device;
}

static QFont baseFont(const TextFont& font)
{
    QFont f(installedFamily(font.family));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferNoShaping | QFont::ForceOutline));
    return f;
}

QFont measuringFont(const TextFont& font)
{
    QFont f = baseFont(font);
    f.setPointSizeF(font.pointSize);
    return f;
}

QFont paintingFont(const TextFont& font, double deviceDpi)
{
    QFont f = baseFont(font);
    f.setPointSizeF(font.pointSize * unitsPerInch / (deviceDpi > 0 ? deviceDpi : unitsPerInch));
    return f;
}

}  // namespace report
