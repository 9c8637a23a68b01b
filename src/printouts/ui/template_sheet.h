#pragma once
// The designer's sheet: the page at one screen pixel per design pixel with
// the right edge of the printable area dotted, every element of the
// template drawn in its box, and the mouse: clicks select (Ctrl, Shift),
// the element tools create, dragging moves or resizes on the grid (Alt
// drags freely), the arrows move the chosen elements.

#include "printouts/print_template.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QWidget>

#include <optional>

namespace printouts {
class TemplateDesign;
}

class TemplateSheet : public QWidget {
    Q_OBJECT
public:
    // The sheet's size in design pixels; the page starts `origin` in, so
    // that elements a little left of or above the printable area show.
    static constexpr int sheetWidth = 1100;
    static constexpr int sheetHeight = 2000;
    static constexpr int origin = 32;

    TemplateSheet(printouts::TemplateDesign& design, QWidget* parent = nullptr);

    // The element tool for the next click; none: selecting.
    void setTool(std::optional<printouts::ElementKind> tool);
    std::optional<printouts::ElementKind> tool() const { return m_tool; }
    // The pictures of the template's picture elements, by OBRAZY.KOD.
    void setPictures(const QHash<int, QImage>& pictures);

    // The edges of `box` a point is near (3 pixels left and right, 4 above
    // and below), as a mask of Qt::Edge; 0 inside or outside.
    static int edgesNear(const QRect& box, QPoint point);
    // The widget point of a design point and back.
    static QPoint toWidget(QPoint design) { return design + QPoint(origin, origin); }
    static QPoint toDesign(QPoint widget) { return widget - QPoint(origin, origin); }

    QSize sizeHint() const override;

signals:
    // The current element, the selection or a box changed.
    void designChanged();
    // An element tool was used; the tool is selection again.
    void toolUsed();
    // A right click on an element (made current first).
    void popupRequested(const QPoint& globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintElement(QPainter& painter, int index);
    void updateCursor(QPoint designPoint);

    printouts::TemplateDesign& m_design;
    std::optional<printouts::ElementKind> m_tool;
    QHash<int, QImage> m_pictures;

    // A drag under way.
    struct Drag {
        QPoint start;            // design point pressed
        int edges = 0;           // resize: the edges held; 0: moving
        QList<int> elements;     // what moves (the element pressed, or every target)
        QList<QRect> boxes;      // their boxes at the press
        bool moved = false;
        int pendingPlainClick = -1;  // a plain press on a chosen element selects it alone if not dragged
    };
    std::optional<Drag> m_drag;
};
