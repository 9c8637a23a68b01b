#include "template_sheet.h"

#include "printouts/report_fonts.h"
#include "printouts/template_design.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

using namespace printouts;

namespace {

constexpr int nearX = 3;
constexpr int nearY = 4;
const QColor selectedColour(128, 128, 128);  // 8421504

int snapUnlessFree(int value, bool free)
{
    return free ? value : TemplateDesign::snapped(value);
}

}  // namespace

TemplateSheet::TemplateSheet(TemplateDesign& design, QWidget* parent) : QWidget(parent), m_design(design)
{
    setFixedSize(sizeHint());
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(false);
}

QSize TemplateSheet::sizeHint() const
{
    return {sheetWidth + origin, sheetHeight + origin};
}

void TemplateSheet::setTool(std::optional<ElementKind> tool)
{
    m_tool = tool;
    setCursor(tool ? Qt::CrossCursor : Qt::ArrowCursor);
}

void TemplateSheet::setPictures(const QHash<int, QImage>& pictures)
{
    m_pictures = pictures;
    update();
}

int TemplateSheet::edgesNear(const QRect& box, QPoint p)
{
    const int left = box.left();
    const int right = box.left() + box.width();
    const int top = box.top();
    const int bottom = box.top() + box.height();
    if (p.x() < left - nearX || p.x() > right + nearX || p.y() < top - nearY || p.y() > bottom + nearY)
        return 0;
    int edges = 0;
    if (std::abs(p.x() - left) <= nearX)
        edges |= Qt::LeftEdge;
    else if (std::abs(p.x() - right) <= nearX)
        edges |= Qt::RightEdge;
    if (std::abs(p.y() - top) <= nearY)
        edges |= Qt::TopEdge;
    else if (std::abs(p.y() - bottom) <= nearY)
        edges |= Qt::BottomEdge;
    return edges;
}

// --- painting -----------------------------------------------------------------

void TemplateSheet::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), QColor(236, 236, 236));
    p.fillRect(QRect(toWidget({0, 0}), QSize(sheetWidth, sheetHeight)), Qt::white);

    const QSize area = m_design.layout().printableSize();
    p.translate(origin, origin);
    // A faint grid every 8 design pixels inside the printable area.
    p.setPen(QColor(242, 242, 248));
    for (int x = 0; x < area.width(); x += 4 * TemplateDesign::grid)
        p.drawLine(x, 0, x, area.height());
    for (int y = 0; y < area.height(); y += 4 * TemplateDesign::grid)
        p.drawLine(0, y, area.width(), y);
    // The printable area's right edge; its bottom is marked lightly too.
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawLine(area.width(), 0, area.width(), area.height());
    p.setPen(QPen(QColor(160, 160, 160), 1, Qt::DotLine));
    p.drawLine(0, area.height(), area.width(), area.height());

    for (int i = 0; i < m_design.count(); ++i)
        paintElement(p, i);
}

void TemplateSheet::paintElement(QPainter& p, int index)
{
    const TemplateElement& e = m_design.element(index);
    const QRect box = e.box;
    const bool current = index == m_design.current();
    const bool selected = m_design.isSelected(index);
    const QColor mark = current ? palette().color(QPalette::Highlight) : selectedColour;

    p.save();
    switch (e.kind) {
    case ElementKind::Shape: {
        if (current || selected) {
            QColor fill = mark;
            fill.setAlpha(60);
            p.fillRect(box, fill);
        }
        QColor line = colourOf(e.font.colour);
        if (!line.isValid())
            line = Qt::black;
        QPen pen(line, std::max(1, e.font.size));
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        const int r = box.left() + box.width();
        const int b = box.top() + box.height();
        switch (shapeVariantOf(e.content)) {
        case ShapeVariant::LeftAndRight:
            p.drawLine(box.left(), box.top(), box.left(), b);
            p.drawLine(r, box.top(), r, b);
            break;
        case ShapeVariant::TopAndBottom:
            p.drawLine(box.left(), box.top(), r, box.top());
            p.drawLine(box.left(), b, r, b);
            break;
        case ShapeVariant::Frame: p.drawRect(QRect(box.topLeft(), QSize(box.width(), box.height()))); break;
        }
        break;
    }
    case ElementKind::Picture: {
        const std::optional<int> code = e.pictureCode();
        if (code && m_pictures.contains(*code))
            p.drawImage(box, m_pictures.value(*code));
        p.setPen(QPen(current || selected ? mark : QColor(180, 180, 180), 1, Qt::DashLine));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        if (current || selected) {
            QColor fill = mark;
            fill.setAlpha(50);
            p.fillRect(box, fill);
        }
        break;
    }
    case ElementKind::FixedText:
    case ElementKind::DataField: {
        p.fillRect(box, current ? mark : selected ? selectedColour : QColor(Qt::white));
        p.setPen(QPen(QColor(200, 200, 200), 1, Qt::DotLine));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        QColor ink = colourOf(e.font.colour);
        if (!ink.isValid())
            ink = Qt::black;
        if (current)
            ink = palette().color(QPalette::HighlightedText);
        p.setPen(ink);
        p.setFont(report::paintingFont(textFont(e.font), 96));
        // Data fields show their name in angle quotes, so that they are told
        // from fixed texts at a glance.
        const QString text = e.kind == ElementKind::DataField ? QStringLiteral("«") + e.content + QStringLiteral("»")
                                                              : e.content;
        p.setClipRect(box);
        p.drawText(box, int(qtAlignment(e.alignment)) | Qt::AlignTop | Qt::TextWordWrap, text);
        break;
    }
    }
    p.restore();
}

// --- mouse and keys -------------------------------------------------------------

void TemplateSheet::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    const QPoint at = toDesign(event->position().toPoint());
    const bool free = event->modifiers() & Qt::AltModifier;
    if (event->button() == Qt::LeftButton && m_tool) {
        const ElementKind kind = *m_tool;
        m_design.create(kind, {snapUnlessFree(at.x(), free), snapUnlessFree(at.y(), free)});
        setTool(std::nullopt);
        emit toolUsed();
        emit designChanged();
        update();
        return;
    }
    int index = m_design.elementAt(at);
    // The current element's edges win over whatever lies on top of it.
    int edges = 0;
    if (m_design.current() >= 0) {
        edges = edgesNear(m_design.element(m_design.current()).box, at);
        if (edges)
            index = m_design.current();
    }
    if (event->button() == Qt::RightButton) {
        if (index >= 0) {
            // One of several chosen elements becomes current and the others stay chosen.
            if (index != m_design.current())
                m_design.click(index, m_design.targets().contains(index) ? TemplateDesign::ClickMode::Ctrl
                                                                         : TemplateDesign::ClickMode::Plain);
            emit designChanged();
            update();
            emit popupRequested(event->globalPosition().toPoint());
        }
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;

    Drag drag;
    drag.start = at;
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (mods & Qt::ControlModifier) {
        m_design.click(index, TemplateDesign::ClickMode::Ctrl);
    } else if (mods & Qt::ShiftModifier) {
        m_design.click(index, TemplateDesign::ClickMode::Shift);
    } else if (index >= 0 && m_design.targets().contains(index) && m_design.targets().size() > 1 && !edges) {
        // Pressed on one of several chosen elements: they move together; a
        // press without a drag chooses it alone.
        drag.pendingPlainClick = index;
    } else if (index != m_design.current() || !m_design.selection().isEmpty()) {
        m_design.click(index, TemplateDesign::ClickMode::Plain);
    }
    if (index >= 0 && !(mods & (Qt::ControlModifier | Qt::ShiftModifier))) {
        drag.edges = index == m_design.current() ? edgesNear(m_design.element(index).box, at) : 0;
        drag.elements = drag.edges || drag.pendingPlainClick < 0 ? QList<int>{index} : m_design.targets();
        for (int i : std::as_const(drag.elements))
            drag.boxes << m_design.element(i).box;
        m_design.beginGesture();
        m_drag = drag;
    }
    emit designChanged();
    update();
}

void TemplateSheet::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = toDesign(event->position().toPoint());
    if (!m_drag) {
        updateCursor(at);
        return;
    }
    const bool free = event->modifiers() & Qt::AltModifier;
    const QPoint delta = at - m_drag->start;
    if (!m_drag->moved && delta.manhattanLength() < 2)
        return;
    m_drag->moved = true;
    if (m_drag->edges) {
        QRect b = m_drag->boxes.first();
        int left = b.left(), top = b.top(), right = b.left() + b.width(), bottom = b.top() + b.height();
        if (m_drag->edges & Qt::LeftEdge)
            left = std::min(snapUnlessFree(left + delta.x(), free), right);
        if (m_drag->edges & Qt::RightEdge)
            right = std::max(snapUnlessFree(right + delta.x(), free), left);
        if (m_drag->edges & Qt::TopEdge)
            top = std::min(snapUnlessFree(top + delta.y(), free), bottom);
        if (m_drag->edges & Qt::BottomEdge)
            bottom = std::max(snapUnlessFree(bottom + delta.y(), free), top);
        m_design.setBox(m_drag->elements.first(), QRect(left, top, right - left, bottom - top));
    } else {
        // The element pressed lands on the grid; the others keep their distance to it.
        const QRect lead = m_drag->boxes.first();
        const QPoint moved(snapUnlessFree(lead.left() + delta.x(), free), snapUnlessFree(lead.top() + delta.y(), free));
        const QPoint shift = moved - lead.topLeft();
        for (int k = 0; k < m_drag->elements.size(); ++k)
            m_design.setBox(m_drag->elements.at(k), m_drag->boxes.at(k).translated(shift));
    }
    emit designChanged();
    update();
}

void TemplateSheet::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_drag)
        return;
    const Drag drag = *m_drag;
    m_drag.reset();
    m_design.endGesture();
    if (!drag.moved && drag.pendingPlainClick >= 0)
        m_design.click(drag.pendingPlainClick, TemplateDesign::ClickMode::Plain);
    emit designChanged();
    update();
}

void TemplateSheet::updateCursor(QPoint at)
{
    if (m_tool)
        return;
    int edges = 0;
    if (m_design.current() >= 0)
        edges = edgesNear(m_design.element(m_design.current()).box, at);
    if (!edges) {
        const int index = m_design.elementAt(at);
        if (index >= 0)
            edges = edgesNear(m_design.element(index).box, at);
        if (index >= 0 && index != m_design.current())
            edges = 0;  // only the current element is resized
        if (index >= 0 && !edges) {
            setCursor(Qt::SizeAllCursor);
            return;
        }
    }
    const bool h = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool v = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (h && v) {
        const bool mainDiagonal = ((edges & Qt::LeftEdge) && (edges & Qt::TopEdge))
                                  || ((edges & Qt::RightEdge) && (edges & Qt::BottomEdge));
        setCursor(mainDiagonal ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
    } else if (h) {
        setCursor(Qt::SizeHorCursor);
    } else if (v) {
        setCursor(Qt::SizeVerCursor);
    } else {
        setCursor(Qt::ArrowCursor);
    }
}

void TemplateSheet::keyPressEvent(QKeyEvent* event)
{
    const int step = event->modifiers() & Qt::ControlModifier ? 10 : 1;
    int dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left: dx = -step; break;
    case Qt::Key_Right: dx = step; break;
    case Qt::Key_Up: dy = -step; break;
    case Qt::Key_Down: dy = step; break;
    case Qt::Key_Escape:
        if (m_tool) {
            setTool(std::nullopt);
            emit toolUsed();
            return;
        }
        QWidget::keyPressEvent(event);
        return;
    default: QWidget::keyPressEvent(event); return;
    }
    m_design.moveTargets(dx, dy);
    emit designChanged();
    update();
}
