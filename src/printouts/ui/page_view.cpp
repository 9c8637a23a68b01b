#include "printouts/ui/page_view.h"

#include "printouts/page_painter.h"

#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kGap = 12;     // between pages and around them
constexpr int kShadow = 4;
}  // namespace

PageView::PageView(QWidget* parent) : QAbstractScrollArea(parent)
{
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(scrollStep());
    horizontalScrollBar()->setSingleStep(scrollStep());
}

double PageView::screenDpi() const
{
    return viewport()->logicalDpiY();
}

void PageView::setPages(const QList<report::Page>& pages)
{
    m_pages = pages;
    m_images.clear();
    m_current = m_pages.isEmpty() ? 0 : 1;
    relayout();
    setCurrentPage(m_current);
    viewport()->update();
    emit currentPageChanged(m_current);
}

void PageView::replacePages(const QList<report::Page>& pages)
{
    // The same pages finished: same sizes, so the user keeps the place.
    const int vertical = verticalScrollBar()->value();
    const int horizontal = horizontalScrollBar()->value();
    const int current = m_current;
    m_pages = pages;
    m_images.clear();
    relayout();
    m_scrollingToPage = true;
    verticalScrollBar()->setValue(vertical);
    horizontalScrollBar()->setValue(horizontal);
    m_scrollingToPage = false;
    m_current = m_pages.isEmpty() ? 0 : std::clamp(current, 1, int(m_pages.size()));
    viewport()->update();
    if (m_current != current)
        emit currentPageChanged(m_current);
}

void PageView::appendPage(const report::Page& page)
{
    m_pages.append(page);
    if (m_pages.size() == 1) {
        relayout();  // the first page sets the zoom
    } else {
        // Pages come one by one, thousands perhaps: only the new one is laid out.
        const int index = int(m_pages.size()) - 1;
        m_tops.append(m_contentHeight);
        const QSize s = pagePixels(index);
        m_contentHeight += s.height() + kGap;
        m_contentWidth = std::max(m_contentWidth, s.width() + 2 * kGap);
        verticalScrollBar()->setRange(0, std::max(0, m_contentHeight - viewport()->height()));
        horizontalScrollBar()->setRange(0, std::max(0, m_contentWidth - viewport()->width()));
    }
    if (m_current == 0) {
        m_current = 1;
        emit currentPageChanged(m_current);
    }
    // Only a page in sight costs a repaint.
    const QRect r = pageRect(int(m_pages.size()) - 1)
                        .translated(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    if (r.intersects(viewport()->rect()))
        viewport()->update(r.adjusted(0, 0, kShadow, kShadow));
}

void PageView::setCurrentPage(int page)
{
    if (m_pages.isEmpty()) {
        m_current = 0;
        return;
    }
    page = std::clamp(page, 1, int(m_pages.size()));
    const bool changed = page != m_current;
    m_current = page;
    m_scrollingToPage = true;
    verticalScrollBar()->setValue(m_tops.value(page - 1) - kGap);
    m_scrollingToPage = false;
    if (changed)
        emit currentPageChanged(m_current);
}

void PageView::setZoomMode(preview::ZoomMode mode)
{
    m_mode = mode;
    const int keep = m_current;
    relayout();
    if (keep > 0)
        setCurrentPage(keep);
    viewport()->update();
}

QSize PageView::pagePixels(int index) const
{
    const QSizeF units = m_pages.at(index).size;
    const double scale = m_zoom * screenDpi() / report::unitsPerInch;
    return QSize(int(std::lround(units.width() * scale)), int(std::lround(units.height() * scale)));
}

QRect PageView::pageRect(int index) const
{
    const QSize size = pagePixels(index);
    const int x = std::max(kGap, (m_contentWidth - size.width()) / 2);
    return QRect(QPoint(x, m_tops.value(index)), size);
}

void PageView::relayout()
{
    const double oldZoom = m_zoom;
    // Every page at the zoom of the first: a report's pages share a size.
    const QSizeF first = m_pages.isEmpty() ? report::a4Portrait() : m_pages.constFirst().size;
    m_zoom = preview::zoomFor(m_mode, first, viewport()->size(), screenDpi(), kGap);
    if (m_zoom != oldZoom)
        m_images.clear();

    m_tops.clear();
    int y = kGap;
    int widest = 0;
    for (int i = 0; i < m_pages.size(); ++i) {
        m_tops.append(y);
        const QSize s = pagePixels(i);
        y += s.height() + kGap;
        widest = std::max(widest, s.width());
    }
    m_contentHeight = y;
    m_contentWidth = std::max(widest + 2 * kGap, viewport()->width());

    const QSize vp = viewport()->size();
    verticalScrollBar()->setRange(0, std::max(0, m_contentHeight - vp.height()));
    verticalScrollBar()->setPageStep(vp.height());
    horizontalScrollBar()->setRange(0, std::max(0, m_contentWidth - vp.width()));
    horizontalScrollBar()->setPageStep(vp.width());
}

void PageView::updateCurrentFromScroll()
{
    if (m_pages.isEmpty() || m_scrollingToPage)
        return;
    // The page holding the line a third down the view is the one being read.
    const int line = verticalScrollBar()->value() + viewport()->height() / 3;
    const auto it = std::upper_bound(m_tops.cbegin(), m_tops.cend(), line);
    const int page = std::max(1, int(it - m_tops.cbegin()));
    if (page != m_current) {
        m_current = page;
        emit currentPageChanged(m_current);
    }
}

void PageView::scrollContentsBy(int, int)
{
    updateCurrentFromScroll();
    viewport()->update();
}

void PageView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    const int keep = m_current;
    relayout();
    if (keep > 0 && m_mode != preview::ZoomMode::Actual)
        setCurrentPage(keep);
}

void PageView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), QColor(128, 128, 128));
    const int dx = horizontalScrollBar()->value();
    const int dy = verticalScrollBar()->value();
    const QRect visible = event->rect().translated(dx, dy);

    // The tops are sorted: start at the first page reaching into sight.
    auto it = std::upper_bound(m_tops.cbegin(), m_tops.cend(), visible.top());
    int first = std::max(0, int(it - m_tops.cbegin()) - 1);
    for (int i = first; i < m_pages.size(); ++i) {
        const QRect r = pageRect(i);
        if (r.top() > visible.bottom())
            break;
        if (!r.adjusted(0, 0, kShadow, kShadow).intersects(visible))
            continue;
        const QRect onScreen = r.translated(-dx, -dy);
        painter.fillRect(onScreen.translated(kShadow, kShadow), QColor(64, 64, 64));
        painter.drawImage(onScreen.topLeft(), pageImage(i));
    }
    // Pages far from sight give their pictures back.
    if (m_images.size() > 8) {
        const QRect near = QRect(QPoint(dx, dy), viewport()->size()).adjusted(0, -viewport()->height(), 0,
                                                                               viewport()->height());
        for (auto image = m_images.begin(); image != m_images.end();) {
            if (!pageRect(image.key()).intersects(near))
                image = m_images.erase(image);
            else
                ++image;
        }
    }
}

QImage PageView::pageImage(int index)
{
    // A page is drawn once per zoom; scrolling only moves the picture.
    auto it = m_images.constFind(index);
    if (it != m_images.constEnd())
        return *it;
    const double ratio = viewport()->devicePixelRatioF();
    const QSize size = pagePixels(index);
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    const double dpi = screenDpi();
    // The picture counts as a device of the screen's resolution, so that
    // fonts come out as large as on the screen itself.
    const int dotsPerMeter = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    const double scale = m_zoom * dpi / report::unitsPerInch;
    painter.scale(scale, scale);
    report::paintPage(painter, m_pages.at(index), dpi);
    painter.end();
    m_images.insert(index, image);
    return image;
}

void PageView::wheelEvent(QWheelEvent* event)
{
    const int steps = m_wheel.add(event->angleDelta().y());
    if (steps != 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - steps * scrollStep());
    event->accept();
}

void PageView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        verticalScrollBar()->setValue(verticalScrollBar()->value() - scrollStep());
        break;
    case Qt::Key_Down:
        verticalScrollBar()->setValue(verticalScrollBar()->value() + scrollStep());
        break;
    case Qt::Key_Left:
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - scrollStep());
        break;
    case Qt::Key_Right:
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + scrollStep());
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}
