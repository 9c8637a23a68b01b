#include "page_model.h"

#include <QTextStream>

namespace report {

namespace {

QString n(double v)
{
    return QString::number(qRound64(v * 100) / 100.0, 'f', 2);
}

QString rect(const QRectF& r)
{
    return n(r.x()) + QLatin1Char(' ') + n(r.y()) + QLatin1Char(' ') + n(r.width()) + QLatin1Char(' ') + n(r.height());
}

struct Dumper {
    QTextStream& out;
    void operator()(const TextBox& t) const
    {
        out << "text " << rect(t.rect) << ' ' << t.font.family << ' ' << n(t.font.pointSize)
            << (t.font.bold ? " bold" : "") << (t.font.italic ? " italic" : "") << " align=" << int(t.alignment)
            << " \"" << t.lines.join(QStringLiteral("|")) << "\"\n";
    }
    void operator()(const Line& l) const
    {
        out << "line " << n(l.from.x()) << ' ' << n(l.from.y()) << ' ' << n(l.to.x()) << ' ' << n(l.to.y()) << ' '
            << n(l.width) << '\n';
    }
    void operator()(const Box& b) const { out << "box " << rect(b.rect) << ' ' << n(b.width) << '\n'; }
    void operator()(const Picture& p) const
    {
        out << "picture " << rect(p.rect) << ' ' << p.image.width() << 'x' << p.image.height() << '\n';
    }
};

}  // namespace

QString dump(const Page& page)
{
    QString text;
    QTextStream out(&text);
    for (const Primitive& item : page.items)
        std::visit(Dumper{out}, item);
    return text;
}

}  // namespace report
