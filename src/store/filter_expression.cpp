#include "filter_expression.h"

#include "error.h"
#include "values.h"

namespace {

Error unreadable(const QString& text)
{
    return Error(QStringLiteral("Niepoprawny warunek filtru: %1").arg(text));
}

// A field value against a literal: numbers numerically, anything else as
// the text the store keeps (ISO dates, "HH:MM" times).
int compare(const QVariant& value, const QVariant& literal)
{
    if (literal.typeId() == QMetaType::Double) {
        bool ok = false;
        const double x = value.toDouble(&ok), y = literal.toDouble();
        if (ok)
            return x < y ? -1 : (x > y ? 1 : 0);
    }
    const QVariant stored = values::bindable(value);
    const QString text = stored.toString();
    const QString lit = literal.typeId() == QMetaType::Double ? QString::number(literal.toDouble()) : literal.toString();
    return QString::compare(text, lit);
}

}  // namespace

FilterExpression FilterExpression::parse(const QString& text)
{
    FilterExpression out;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skip = [&] {
        while (i < n && text[i].isSpace())
            ++i;
    };
    auto word = [&] {
        skip();
        const qsizetype b = i;
        while (i < n && (text[i].isLetterOrNumber() || text[i] == QLatin1Char('_')))
            ++i;
        return text.mid(b, i - b);
    };
    QList<Condition> group;
    skip();
    if (i == n)
        return out;
    while (true) {
        Condition c;
        c.field = word().toUpper();
        if (c.field.isEmpty())
            throw unreadable(text);
        skip();
        for (const char* op : {"<>", "<=", ">=", "=", "<", ">"}) {
            if (text.mid(i).startsWith(QLatin1String(op))) {
                c.op = QLatin1String(op);
                i += c.op.size();
                break;
            }
        }
        if (c.op.isEmpty())
            throw unreadable(text);
        skip();
        if (i < n && text[i] == QLatin1Char('\'')) {
            QString lit;
            ++i;
            while (i < n) {
                if (text[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('\'')) {
                        lit += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    break;
                }
                lit += text[i++];
            }
            if (i >= n)
                throw unreadable(text);
            ++i;
            c.literal = lit;
        } else {
            const qsizetype b = i;
            while (i < n && !text[i].isSpace())
                ++i;
            const QString tok = text.mid(b, i - b);
            if (tok.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0) {
                c.literal = QVariant();
            } else {
                bool ok = false;
                const double d = QString(tok).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
                if (!ok)
                    throw unreadable(text);
                c.literal = d;
            }
        }
        group << c;
        const QString joiner = word().toUpper();
        if (joiner.isEmpty()) {
            skip();
            if (i != n)
                throw unreadable(text);
            break;
        }
        if (joiner == QLatin1String("OR")) {
            out.m_terms << group;
            group.clear();
        } else if (joiner != QLatin1String("AND")) {
            throw unreadable(text);
        }
    }
    out.m_terms << group;
    return out;
}

bool FilterExpression::matches(const std::function<QVariant(const QString&)>& valueOf) const
{
    if (m_terms.isEmpty())
        return true;
    for (const QList<Condition>& group : m_terms) {
        bool all = true;
        for (const Condition& c : group) {
            const QVariant v = valueOf(c.field);
            bool ok;
            if (!c.literal.isValid()) {
                const bool empty = values::isEmpty(v);
                ok = c.op == QLatin1String("=") ? empty : (c.op == QLatin1String("<>") ? !empty : false);
            } else if (values::isEmpty(v)) {
                ok = c.op == QLatin1String("<>");
            } else {
                const int r = compare(v, c.literal);
                ok = (c.op == QLatin1String("=") && r == 0) || (c.op == QLatin1String("<>") && r != 0)
                    || (c.op == QLatin1String("<") && r < 0) || (c.op == QLatin1String(">") && r > 0)
                    || (c.op == QLatin1String("<=") && r <= 0) || (c.op == QLatin1String(">=") && r >= 0);
            }
            if (!ok) {
                all = false;
                break;
            }
        }
        if (all)
            return true;
    }
    return false;
}
