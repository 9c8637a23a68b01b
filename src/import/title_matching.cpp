#include "title_matching.h"

#include "code_pages.h"

#include <QSet>

namespace import {

QString searchableText(const QString& text)
{
    const QString plain = withoutDiacritics(text.toUpper()).normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(plain.size());
    bool blank = true;
    for (const QChar c : plain) {
        if (c.isMark())
            continue;
        if (c.isLetterOrNumber()) {
            out += c;
            blank = false;
        } else if (!blank) {
            out += QLatin1Char(' ');
            blank = true;
        }
    }
    if (out.endsWith(QLatin1Char(' ')))
        out.chop(1);
    return out;
}

namespace {

// The name's words in every rotation ("NOWAK ZUZANNA" and "ZUZANNA NOWAK";
// a two-word surname moves as a whole), and for a name of three or more
// words also the surname with the first given name alone, in either order.
QStringList phrasesOf(const QString& name)
{
    const QStringList words = searchableText(name).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList out;
    if (words.isEmpty())
        return out;
    for (int r = 0; r < words.size(); ++r)
        out << (words.mid(r) + words.mid(0, r)).join(QLatin1Char(' '));
    if (name.simplified().count(QLatin1Char(' ')) >= 2) {
        out << words[0] + QLatin1Char(' ') + words[1] << words[1] + QLatin1Char(' ') + words[0];
    }
    out.removeDuplicates();
    return out;
}

bool containsPhrase(const QString& text, const QSet<QString>& words, const QString& phrase)
{
    const QString first = phrase.section(QLatin1Char(' '), 0, 0);
    if (!words.contains(first))
        return false;
    const QString padded = QLatin1Char(' ') + text + QLatin1Char(' ');
    return padded.contains(QLatin1Char(' ') + phrase + QLatin1Char(' '));
}

}  // namespace

TitleSearch::TitleSearch(const ChildDirectory& children)
{
    for (const ImportChild& c : children.children()) {
        Phrases p;
        p.kod = c.kod;
        p.pesel = c.pesel.trimmed();
        p.names = phrasesOf(c.name);
        p.correspondence = phrasesOf(c.correspondenceName);
        for (const QString& person : c.collectors)
            p.collectors << phrasesOf(person);
        m_children << p;
    }
}

ChildMatch TitleSearch::find(const QStringList& texts, const MatchOptions& options) const
{
    enum Rule { Pesel, Name, Correspondence, Collector };
    for (const QString& source : texts) {
        const QString text = searchableText(source);
        if (text.isEmpty())
            continue;
        const QStringList list = text.split(QLatin1Char(' '));
        const QSet<QString> words(list.begin(), list.end());
        for (const Rule rule : {Pesel, Name, Correspondence, Collector}) {
            if (rule == Collector && !options.withCollectors)
                continue;
            QList<int> found;
            for (const Phrases& p : m_children) {
                bool hit = false;
                if (rule == Pesel) {
                    hit = !p.pesel.isEmpty() && words.contains(p.pesel);
                } else {
                    const QStringList& phrases =
                        rule == Name ? p.names : rule == Correspondence ? p.correspondence : p.collectors;
                    for (const QString& phrase : phrases)
                        if ((hit = containsPhrase(text, words, phrase)))
                            break;
                }
                if (hit && !found.contains(p.kod))
                    found << p.kod;
            }
            if (found.isEmpty())
                continue;
            ChildMatch m;
            m.child = found.first();
            m.confirm = rule == Collector || found.size() > 1 || !options.okForName;
            m.inTitle = true;
            return m;
        }
    }
    return {};
}

}  // namespace import
