#include "mt940_reader.h"

#include <QMap>
#include <QRegularExpression>

namespace import {

QStringList mt940Headings()
{
    return {QStringLiteral("Data waluty"), QStringLiteral("Kwota"), QStringLiteral("Kontrahent"),
            QStringLiteral("Tytuł"), QStringLiteral("Referencja")};
}

namespace {

struct Field {
    QString tag;
    QStringList lines;  // the first holds the text after the tag
};

// The text after `label` up to the next ";" (or the end), trimmed.
QString labelled(const QString& text, const QString& label)
{
    // The label as a word of its own: "OD:" is not the end of "KOD:".
    qsizetype at = -1;
    for (qsizetype from = 0; (at = text.indexOf(label, from, Qt::CaseInsensitive)) > 0; from = at + 1)
        if (!text[at - 1].isLetterOrNumber())
            break;
    if (at < 0)
        return {};
    const qsizetype from = at + label.size();
    const qsizetype end = text.indexOf(QLatin1Char(';'), from);
    return text.mid(from, end < 0 ? -1 : end - from).simplified();
}

void describe(Mt940Transaction& t, const QString& description)
{
    static const QRegularExpression subfield(QStringLiteral("~(\\d\\d)"));
    QMap<int, QString> parts;
    auto it = subfield.globalMatch(description);
    QRegularExpressionMatch previous;
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (previous.hasMatch())
            parts[previous.captured(1).toInt()] +=
                description.mid(previous.capturedEnd(), m.capturedStart() - previous.capturedEnd());
        previous = m;
    }
    if (previous.hasMatch())
        parts[previous.captured(1).toInt()] += description.mid(previous.capturedEnd());

    auto joined = [&](int from, int to, const QString& glue) {
        QStringList pieces;
        for (int code = from; code <= to; ++code)
            if (!parts.value(code).trimmed().isEmpty())
                pieces << parts.value(code);
        return pieces.join(glue).simplified();
    };
    // Title and name subfields are cut at fixed widths, mid-word: they are
    // joined as they stand. ~27–~29 are separate lines of name and address.
    t.counterparty = joined(32, 33, QString());
    if (t.counterparty.isEmpty())
        t.counterparty = joined(27, 29, QStringLiteral(" "));
    if (t.counterparty.isEmpty())
        t.counterparty = labelled(description, QStringLiteral("OD:"));
    t.title = joined(20, 25, QString());
    if (t.title.isEmpty())
        t.title = labelled(description, QStringLiteral("TYT.:"));
    if (t.title.isEmpty() && parts.isEmpty())
        t.title = description.simplified();
    const QString iph = labelled(description, QStringLiteral("ID IPH:"));
    if (!iph.isEmpty())
        t.reference = iph.section(QLatin1Char(' '), 0, 0);
}

bool readStatementLine(Mt940Transaction& t, const QString& line)
{
    // YYMMDD [MMDD] C|D|RC|RD [funds code] amount type [reference] [//bank reference]
    static const QRegularExpression form(
        QStringLiteral("^(\\d{2})(\\d{2})(\\d{2})(?:\\d{4})?(RC|RD|EC|ED|C|D)([A-Z])?(\\d+(?:,\\d*)?)(.*)$"));
    const QRegularExpressionMatch m = form.match(line.trimmed());
    if (!m.hasMatch())
        return false;
    t.valueDate = QDate(2000 + m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    QString amount = m.captured(6).replace(QLatin1Char(','), QLatin1Char('.'));
    if (amount.endsWith(QLatin1Char('.')))
        amount.chop(1);
    t.amount = amount.toDouble();
    const QString mark = m.captured(4);
    if (mark == QLatin1String("D") || mark == QLatin1String("RC") || mark == QLatin1String("ED"))
        t.amount = -t.amount;
    const QString rest = m.captured(7);
    const qsizetype slashes = rest.indexOf(QStringLiteral("//"));
    if (slashes >= 0)
        t.reference = rest.mid(slashes + 2).trimmed();
    return true;
}

Mt940Transaction transactionOf(const QList<Field>& fields)
{
    Mt940Transaction t;
    QString bankReference;
    for (const Field& f : fields) {
        if (f.tag == QLatin1String("61")) {
            readStatementLine(t, f.lines.value(0));
            bankReference = t.reference;
        } else if (f.tag == QLatin1String("86")) {
            describe(t, f.lines.join(QString()));
        }
    }
    if (t.reference.isEmpty())
        t.reference = bankReference;
    return t;
}

}  // namespace

QList<Mt940Transaction> mt940Transactions(const QString& source)
{
    QString text = source;
    text.remove(QChar(0x01));
    text.remove(QChar(0x03));
    static const QRegularExpression tag(QStringLiteral("^:(\\d\\d[A-Z]?):(.*)$"));

    QList<Mt940Transaction> out;
    QList<Field> current;  // the fields of the open transaction
    bool open = false;
    auto close = [&] {
        if (open)
            out << transactionOf(current);
        current.clear();
        open = false;
    };
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QRegularExpressionMatch m = tag.match(line);
        if (m.hasMatch()) {
            const QString name = m.captured(1);
            if (name == QLatin1String("61")) {
                close();
                open = true;
            } else if (name.startsWith(QLatin1String("62")) || name == QLatin1String("64")) {
                close();
            }
            if (open)
                current << Field{name, {m.captured(2)}};
            continue;
        }
        if (line.startsWith(QLatin1Char('-'))) {
            close();
            continue;
        }
        if (open && !current.isEmpty())
            current.last().lines << line;
    }
    close();
    return out;
}

}  // namespace import
