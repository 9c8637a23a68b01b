#pragma once
// The small rules of the preview window that need no window: which progress
// value the status bar shows, how wheel movement turns into scroll steps,
// how the page number moves, and the zoom of each zoom mode.

#include <QSizeF>
#include <QString>

namespace preview {

// The progress panel: a value is shown only when it has grown by at least
// 5 since the last one shown; 0 and 100 clear the panel.
class ProgressPanel {
public:
    // The text to show after `percent`; unchanged when the rule says so.
    const QString& update(int percent);
    const QString& text() const { return m_text; }

private:
    int m_lastShown = 0;
    QString m_text;
};

// Wheel movement comes in units of 1/8 degree; 120 units make one scroll
// step, the rest is carried to the next movement.
class WheelSteps {
public:
    // The whole steps in `delta` plus what was carried (positive: up).
    int add(int delta);
    int remainder() const { return m_remainder; }
    void reset() { m_remainder = 0; }

private:
    int m_remainder = 0;
};

// Page numbers count from 1; moving past either end stays on it.
int firstPage(int count);
int previousPage(int current, int count);
int nextPage(int current, int count);
int lastPage(int count);

// "Strona " + n + " z " + count.
QString pageStatus(int current, int count);

enum class ZoomMode { WholePage, Actual, PageWidth };

// The zoom factor (1 = the paper's real size on the screen) at which a page
// of `page` size in report units fits `viewport` (device pixels at `dpi`)
// with `margin` pixels around it.
double zoomFor(ZoomMode mode, const QSizeF& page, const QSizeF& viewport, double dpi, double margin);

}  // namespace preview
