#pragma once
// The pages of the preview, one under the other on a grey background, each
// with a shadow; only the pages in sight are painted. The view keeps the
// current page, the zoom and the wheel movement not yet scrolled.

#include "printouts/page_model.h"
#include "printouts/ui/preview_steps.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QImage>
#include <QList>

class PageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);

    void setPages(const QList<report::Page>& pages);
    void appendPage(const report::Page& page);
    // The finished pages in place of those shown while they were prepared;
    // the view stays where it is.
    void replacePages(const QList<report::Page>& pages);
    const QList<report::Page>& pages() const { return m_pages; }
    int pageCount() const { return int(m_pages.size()); }

    // Counted from 1; 0 while there is no page.
    int currentPage() const { return m_current; }
    // Scrolls the page's top into sight; numbers out of range are clamped.
    void setCurrentPage(int page);

    void setZoomMode(preview::ZoomMode mode);
    preview::ZoomMode zoomMode() const { return m_mode; }
    double zoom() const { return m_zoom; }
    double screenDpi() const;

    // One scroll step, as the arrow keys and 120 units of wheel move.
    int scrollStep() const { return 40; }
    int wheelRemainder() const { return m_wheel.remainder(); }

signals:
    void currentPageChanged(int page);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // The page's rectangle in content pixels.
    QRect pageRect(int index) const;
    QSize pagePixels(int index) const;
    void relayout();
    void updateCurrentFromScroll();
    QImage pageImage(int index);

    QList<report::Page> m_pages;
    QHash<int, QImage> m_images;  // pages drawn at the current zoom, by index
    QList<int> m_tops;  // content y of every page
    int m_contentWidth = 0;
    int m_contentHeight = 0;
    int m_current = 0;
    preview::ZoomMode m_mode = preview::ZoomMode::PageWidth;
    double m_zoom = 1.0;
    preview::WheelSteps m_wheel;
    bool m_scrollingToPage = false;
};
