#include "window_placement.h"

#include <algorithm>

namespace placement {

QRect initial(const QRect& screen, const std::optional<QRect>& ownerWindow)
{
    QRect r(screen.topLeft(), QSize(std::max(screen.width() - 175, 100), std::max(screen.height() - 175, 100)));
    if (ownerWindow) {
        r.moveTopLeft(ownerWindow->topLeft() + QPoint(25, 25));
        if (r.bottom() > screen.bottom() - 25)
            r.moveBottom(screen.bottom() - 25);
        if (r.right() > screen.right())
            r.moveRight(screen.right());
        if (r.top() < screen.top())
            r.moveTop(screen.top());
        if (r.left() < screen.left())
            r.moveLeft(screen.left());
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
