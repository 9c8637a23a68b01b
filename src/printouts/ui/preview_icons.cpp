#include "printouts/ui/preview_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace previewicons {

namespace {

constexpr int kSize = 24;

// A sheet of paper with its corner turned, the outline of the drawings.
void drawSheet(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - 4, r.top());
    path.lineTo(r.right(), r.top() + 4);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(path);
}

void drawArrowHead(QPainter& p, QPointF tip, bool right)
{
    const double d = right ? -3 : 3;
    p.drawLine(tip, tip + QPointF(d, -3));
    p.drawLine(tip, tip + QPointF(d, 3));
}

void drawPrinter(QPainter& p)
{
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 3, 10, 7));  // the sheet going in
    p.setBrush(QColor(160, 160, 170));
    p.drawRoundedRect(QRectF(3, 9, 18, 8), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 15, 10, 6));  // the sheet coming out
}

QIcon drawn(Icon which)
{
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    switch (which) {
    case Icon::WholePage:
        drawSheet(p, QRectF(6.5, 2.5, 11, 19));
        break;
    case Icon::ActualSize: {
        QFont f = p.font();
        f.setPixelSize(10);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("1:1"));
        break;
    }
    case Icon::PageWidth:
        drawSheet(p, QRectF(1.5, 4.5, 21, 17));
        p.drawLine(QPointF(4, 13), QPointF(20, 13));
        drawArrowHead(p, QPointF(4, 13), false);
        drawArrowHead(p, QPointF(20, 13), true);
        break;
    case Icon::PrinterSetup:
        drawPrinter(p);
        p.setBrush(QColor(60, 110, 200));
        p.drawEllipse(QRectF(14, 13, 9, 9));
        break;
    case Icon::Print:
        drawPrinter(p);
        break;
    case Icon::Send: {
        p.setBrush(QColor(250, 240, 200));
        p.drawRect(QRectF(2.5, 6.5, 19, 12));
        p.drawLine(QPointF(2.5, 6.5), QPointF(12, 13));
        p.drawLine(QPointF(21.5, 6.5), QPointF(12, 13));
        break;
    }
    default:
        break;
    }
    return QIcon(pm);
}

}  // namespace

QIcon icon(Icon which, const QStyle* style)
{
    switch (which) {
    case Icon::First:
        return style->standardIcon(QStyle::SP_MediaSkipBackward);
    case Icon::Previous:
        return style->standardIcon(QStyle::SP_MediaSeekBackward);
    case Icon::Next:
        return style->standardIcon(QStyle::SP_MediaSeekForward);
    case Icon::Last:
        return style->standardIcon(QStyle::SP_MediaSkipForward);
    case Icon::Save:
        return style->standardIcon(QStyle::SP_DialogSaveButton);
    case Icon::Load:
        return style->standardIcon(QStyle::SP_DialogOpenButton);
    case Icon::Close:
        return style->standardIcon(QStyle::SP_DialogCloseButton);
    default:
        return drawn(which);
    }
}

}  // namespace previewicons
