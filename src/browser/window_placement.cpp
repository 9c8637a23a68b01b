#include "window_placement.h"

#include <algorithm>

namespace placement {

namespace {
int desk = 0;
}

void setDeskTop(int y) { desk = y; }

int deskTop() { return desk; }

QRect initial(const QRect& screen, const std::optional<QRect>& ownerWindow, const QSize& content)
{
    QRect area = screen;
    // A desk line low on the screen would leave no room: ignored then.
    if (desk > area.top() && desk < area.bottom() - 200)
        area.setTop(desk);
    QSize size(std::max(screen.width() - 175, 100), std::max(screen.height() - 175, 100));
    if (content.isValid())
        size = QSize(std::clamp(content.width(), std::min(480, area.width()), area.width()),
                     std::clamp(content.height(), std::min(320, area.height()), area.height()));
    QRect r(area.topLeft(), size);
    if (ownerWindow) {
        r.moveTopLeft(ownerWindow->topLeft() + QPoint(25, 25));
        if (r.bottom() > area.bottom() - 25)
            r.moveBottom(area.bottom() - 25);
        if (r.right() > area.right())
            r.moveRight(area.right());
        if (r.top() < area.top())
            r.moveTop(area.top());
        if (r.left() < area.left())
            r.moveLeft(area.left());
    }
    return r;
}

Stored load(const KeyValueSettings& settings, const QString& key)
{
    Stored s;
    const auto has = [&](const char* k) { return settings.contains(key, QString::fromLatin1(k)); };
    if (has("Top") && has("Left") && has("Width") && has("Height")) {
        const int w = settings.number(key, QStringLiteral("Width"), 0);
        const int h = settings.number(key, QStringLiteral("Height"), 0);
        if (w > 0 && h > 0)
            s.geometry = QRect(settings.number(key, QStringLiteral("Left"), 0), settings.number(key, QStringLiteral("Top"), 0), w, h);
    }
    s.maximized = settings.flag(key, QStringLiteral("Maximized"), false);
    return s;
}

void save(KeyValueSettings& settings, const QString& key, const QRect& g, bool maximized, bool normal)
{
    if (normal) {
        settings.setValue(key, QStringLiteral("Top"), g.top());
        settings.setValue(key, QStringLiteral("Height"), g.height());
        settings.setValue(key, QStringLiteral("Left"), g.left());
        settings.setValue(key, QStringLiteral("Width"), g.width());
    }
    settings.setValue(key, QStringLiteral("Maximized"), maximized);
}

QRect onScreen(const QRect& wanted, const QRect& screen)
{
    QRect r = wanted;
    r.setWidth(std::min(r.width(), screen.width()));
    r.setHeight(std::min(r.height(), screen.height()));
    if (r.right() > screen.right())
        r.moveRight(screen.right());
    if (r.bottom() > screen.bottom())
        r.moveBottom(screen.bottom());
    if (r.left() < screen.left())
        r.moveLeft(screen.left());
    if (r.top() < screen.top())
        r.moveTop(screen.top());
    return r;
}

}  // namespace placement
