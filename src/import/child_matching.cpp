#include "child_matching.h"

#include "code_pages.h"

#include "shell/access_rules.h"
#include "store/query.h"
#include "store/values.h"
#include "registers/child_caption.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace import {

void ChildDirectory::load(Database& db, const QStringList& visibleGroups, const QDate& today, bool withCollectors,
                          const QString& referenceField)
{
    QList<ImportChild> list;
    // The reference column is one of four fixed names, never the user's text.
    static const QStringList referenceColumns{QStringLiteral("DANE1"), QStringLiteral("DANE2"), QStringLiteral("DANE3"),
                                              QStringLiteral("DANE4")};
    const bool withReference = referenceColumns.contains(referenceField);
    Query q(db, QStringLiteral("select KOD, NAZWA, NAZWAKOR, PESEL, KLASA, ULICA%1 from DZIECI where AKTYWNY = 'T'")
                    .arg(withReference ? QStringLiteral(", ") + referenceField : QString()));
    q.exec();
    while (q.next()) {
        if (!permissions::groupVisible(visibleGroups, q.value(4).toString()))
            continue;
        ImportChild c;
        c.kod = q.value(0).toInt();
        c.name = q.value(1).toString();
        c.correspondenceName = q.value(2).toString();
        c.pesel = q.value(3).toString();
        c.caption = childCaption(c.name, q.value(5).toString(), c.pesel);
        if (withReference)
            for (const QChar ch : q.value(6).toString())
                if (ch.isDigit())
                    c.reference += ch;
        list << c;
    }
    QCollator polish{QLocale(QLocale::Polish)};
    std::stable_sort(list.begin(), list.end(), [&](const ImportChild& a, const ImportChild& b) {
        const int byName = polish.compare(a.name, b.name);
        return byName != 0 ? byName < 0 : a.kod < b.kod;
    });
    setChildren(list);
    if (!withCollectors)
        return;
    Query o(db, QStringLiteral("select OSOBA, ODBIERA, ODDATY, DODATY from ODBIERA order by OSOBA, ODDATY"));
    o.exec();
    while (o.next()) {
        const auto it = m_byKod.constFind(o.value(0).toInt());
        if (it == m_byKod.cend())
            continue;
        const QDate from = values::toDate(o.value(2));
        const QDate to = values::toDate(o.value(3));
        if ((from.isValid() && from > today) || (to.isValid() && to < today))
            continue;
        m_children[*it].collectors << o.value(1).toString();
    }
}

void ChildDirectory::setChildren(QList<ImportChild> children)
{
    m_children = std::move(children);
    index();
}

void ChildDirectory::index()
{
    m_byKod.clear();
    m_byPesel.clear();
    for (int i = 0; i < m_children.size(); ++i) {
        m_byKod.insert(m_children[i].kod, i);
        if (!m_children[i].pesel.isEmpty() && !m_byPesel.contains(m_children[i].pesel))
            m_byPesel.insert(m_children[i].pesel, i);
    }
}

const ImportChild* ChildDirectory::byKod(int kod) const
{
    const auto it = m_byKod.constFind(kod);
    return it == m_byKod.cend() ? nullptr : &m_children[*it];
}

const ImportChild* ChildDirectory::byPesel(const QString& pesel) const
{
    const auto it = m_byPesel.constFind(pesel);
    return it == m_byPesel.cend() ? nullptr : &m_children[*it];
}

bool namesAgree(const QString& fileName, const QString& childText)
{
    if (fileName.isEmpty() || childText.isEmpty())
        return false;
    const QString a = fileName.toUpper();
    const QString b = childText.toUpper();
    if (fileName.contains(QLatin1Char(' '))) {
        const qsizetype l = qMin(a.size(), b.size());
        return QStringView(a).left(l) == QStringView(b).left(l);
    }
    return QStringView(a).left(100) == QStringView(b).left(100);
}

ChildMatch matchChild(const ChildDirectory& children, const QString& name, const QString& pesel,
                      const MatchOptions& options, const QString& reference)
{
    if (!pesel.isEmpty())
        if (const ImportChild* c = children.byPesel(pesel))
            return {c->kod, !options.okForPesel};
    if (!reference.isEmpty()) {
        // A virtual account ends with the child's number: the longest
        // reference that is the tail of the digits wins.
        const ImportChild* best = nullptr;
        for (const ImportChild& c : children.children())
            if (!c.reference.isEmpty() && reference.endsWith(c.reference)
                && (!best || c.reference.size() > best->reference.size()))
                best = &c;
        if (best)
            return {best->kod, !options.okForPesel};
    }
    if (name.isEmpty())
        return {};

    // The whole name, letter case ignored; then the correspondence name.
    // Several candidates are always confirmed.
    for (const bool correspondence : {false, true}) {
        int found = 0, count = 0;
        for (const ImportChild& c : children.children()) {
            const QString& text = correspondence ? c.correspondenceName : c.name;
            if (!text.isEmpty() && text.compare(name, Qt::CaseInsensitive) == 0) {
                if (count++ == 0)
                    found = c.kod;
            }
        }
        if (count > 0)
            return {found, !(options.okForName && count == 1)};
    }

    for (const ImportChild& c : children.children()) {
        for (const QString* text : {&c.name, &c.correspondenceName}) {
            if (namesAgree(name, *text)
                || (options.withoutDiacritics && namesAgree(name, withoutDiacritics(*text))))
                return {c.kod, !options.okForName};
        }
        if (options.withCollectors)
            for (const QString& person : c.collectors)
                if (namesAgree(name, person))
                    return {c.kod, true};
    }
    return {};
}

}  // namespace import
