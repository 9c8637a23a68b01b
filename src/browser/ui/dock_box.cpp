#include "dock_box.h"

#include "browser/docking_rules.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

DockBox::DockBox(const QString& title, QWidget* owner) : QGroupBox(title, owner), m_owner(owner)
{
    setObjectName(QStringLiteral("Pojemnik"));
    setMouseTracking(true);
}

DockBox* DockBox::holding(QWidget* w)
{
    for (; w; w = w->parentWidget())
        if (auto* box = qobject_cast<DockBox*>(w))
            return box;
    return nullptr;
}

void DockBox::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton && docking::inGrabZone(event->position().toPoint(), title());
    m_pressedAt = event->position().toPoint();
    QGroupBox::mousePressEvent(event);
}

void DockBox::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (docking::inGrabZone(at, title()))
        setCursor(Qt::DragMoveCursor);
    else
        unsetCursor();
    if (m_pressed && (event->buttons() & Qt::LeftButton)
        && (at - m_pressedAt).manhattanLength() >= QApplication::startDragDistance()) {
        m_pressed = false;
        startDrag();
        return;
    }
    QGroupBox::mouseMoveEvent(event);
}

void DockBox::mouseReleaseEvent(QMouseEvent* event)
{
    m_pressed = false;
    QGroupBox::mouseReleaseEvent(event);
}

void DockBox::leaveEvent(QEvent* event)
{
    unsetCursor();
    QGroupBox::leaveEvent(event);
}

void DockBox::startDrag()
{
    unsetCursor();
    auto* drag = new QDrag(this);
    auto* data = new QMimeData;
    data->setData(docking::mimeType(), m_payload);
    drag->setMimeData(data);
    drag->setPixmap(grab().scaledToWidth(std::min(width(), 200), Qt::SmoothTransformation));
    // Whatever the drop, the window stays: a box dropped on another window
    // has moved there by now, one dropped elsewhere or abandoned stays put.
    drag->exec(Qt::MoveAction);
}
