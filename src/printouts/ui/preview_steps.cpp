#include "printouts/ui/preview_steps.h"

#include "printouts/page_model.h"

#include <algorithm>

namespace preview {

const QString& ProgressPanel::update(int percent)
{
    if (percent <= 0 || percent >= 100) {
        m_lastShown = 0;
        m_text.clear();
    } else if (percent - m_lastShown >= 5) {
        m_lastShown = percent;
        m_text = QString::number(percent) + QLatin1Char('%');
    }
    return m_text;
}

int WheelSteps::add(int delta)
{
    m_remainder += delta;
    const int steps = m_remainder / 120;  // truncates toward zero in either direction
    m_remainder -= steps * 120;
    return steps;
}

int firstPage(int count)
{
    return count > 0 ? 1 : 0;
}

int previousPage(int current, int count)
{
    if (count <= 0)
        return 0;
    return std::clamp(current - 1, 1, count);
}

int nextPage(int current, int count)
{
    if (count <= 0)
        return 0;
    return std::clamp(current + 1, 1, count);
}

int lastPage(int count)
{
    return std::max(count, 0);
}

QString pageStatus(int current, int count)
{
    return QStringLiteral("Strona ") + QString::number(current) + QStringLiteral(" z ") + QString::number(count);
}

double zoomFor(ZoomMode mode, const QSizeF& page, const QSizeF& viewport, double dpi, double margin)
{
    if (mode == ZoomMode::Actual || page.isEmpty() || dpi <= 0)
        return 1.0;
    const double scale = dpi / report::unitsPerInch;  // pixels per unit at zoom 1
    const double byWidth = (viewport.width() - 2 * margin) / (page.width() * scale);
    const double byHeight = (viewport.height() - 2 * margin) / (page.height() * scale);
    const double zoom = mode == ZoomMode::PageWidth ? byWidth : std::min(byWidth, byHeight);
    return std::clamp(zoom, 0.05, 8.0);
}

}  // namespace preview
