#include "docking_rules.h"

#include "browser/module.h"

#include <algorithm>
#include <numeric>

namespace docking {

namespace {
const QString kLineBreak = QStringLiteral("\r\n");
}

bool inGrabZone(const QPoint& at, const QString& caption)
{
    return caption == undockedCaption() && at.x() >= 0 && at.y() >= 0 && at.x() < 30 && at.y() < 20;
}

int dockedHeight(int formerHeight)
{
    return std::max(formerHeight, 0) / 2;
}

QList<int> sizesWithDocked(const QList<int>& sizes, int total, int height, int minimum)
{
    QList<int> out = sizes;
    if (out.isEmpty())
        out << total;
    out << std::max(height, 0);
    // What is left for the body once every docked box has its height; the
    // newest box, then the older ones, shrink when the body would go under
    // its minimum.
    int docked = std::accumulate(out.begin() + 1, out.end(), 0);
    for (int i = out.size() - 1; i > 0 && total - docked < minimum; --i) {
        const int over = minimum - (total - docked);
        const int take = std::min(over, out[i]);
        out[i] -= take;
        docked -= take;
    }
    out[0] = std::max(total - docked, 0);
    return out;
}

QString insideToStored(const QStringList& captions)
{
    return captions.join(kLineBreak);
}

QStringList insideFromStored(const QString& stored)
{
    QStringList out;
    for (const QString& line : stored.split(QLatin1Char('\n'))) {
        QString caption = line;
        if (caption.endsWith(QLatin1Char('\r')))
            caption.chop(1);
        if (!caption.isEmpty())
            out << caption;
    }
    return out;
}

QList<Redock> redockPlan(const QList<Command*>& commands, const QStringList& captions)
{
    QList<Redock> out;
    QStringList seen;
    for (const QString& caption : captions) {
        if (seen.contains(caption))
            continue;
        seen << caption;
        Redock step{caption, nullptr};
        bool named = false;
        for (Command* c : commands) {
            if (!c || c->separator || c->caption != caption)
                continue;
            named = true;
            if (c->opensWindow && c->shown() && c->handler)
                step.command = c;
            break;
        }
        // A command of the window that may not run now is not looked for elsewhere.
        if (!named || step.command)
            out << step;
    }
    return out;
}

}  // namespace docking
