#include "inform_addressees.h"

#include "mail_link.h"

#include "registers/child_caption.h"
#include "shell/access_rules.h"
#include "store/database.h"
#include "store/query.h"

#include <QCollator>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace inform {

QString boardRefusal()
{
    return QStringLiteral("Informacja główna jest \"tablicą\" i nie może mieć powiązań z dziećmi");
}

QString noAddressesMessage()
{
    return QStringLiteral("Brak dresów E-mail w podanym zakresie");
}

int addresseeCount(Database& db, int information)
{
    return Query(db, QStringLiteral("SELECT COUNT(*) FROM DZIEINF WHERE INFORM = :I"))
        .bind(QStringLiteral("I"), information)
        .scalar()
        .toInt();
}

QList<PickEntry> visibleGroups(Database& db, const QStringList& visibleGroupCodes)
{
    QList<PickEntry> groups;
    Query q(db, QStringLiteral("SELECT KOD, NAZWA FROM KLASY ORDER BY KOLEJ, KOD"));
    q.exec();
    while (q.next()) {
        const QString code = q.value(0).toString();
        if (permissions::groupVisible(visibleGroupCodes, code))
            groups << PickEntry{q.value(1).toString(), q.value(0).toInt()};
    }
    return groups;
}

QList<PickEntry> activeChildrenOf(Database& db, const QList<PickEntry>& groups)
{
    struct Child {
        int code;
        QString name;
        QString caption;
    };
    QCollator collator{QLocale(QLocale::Polish)};
    QList<PickEntry> out;
    for (const PickEntry& group : groups) {
        QList<Child> children;
        Query q(db, QStringLiteral("SELECT KOD, NAZWA, ULICA, PESEL FROM DZIECI WHERE KLASA = :K AND AKTYWNY = 'T'"));
        q.bind(QStringLiteral("K"), group.value.toInt()).exec();
        while (q.next())
            children.append({q.value(0).toInt(), q.value(1).toString(),
                             childCaption(q.value(1).toString(), q.value(2).toString(), q.value(3).toString())});
        std::stable_sort(children.begin(), children.end(), [&collator](const Child& a, const Child& b) {
            const int c = collator.compare(a.name, b.name);
            return c != 0 ? c < 0 : a.code < b.code;
        });
        for (const Child& c : children)
            out << PickEntry{c.caption + QStringLiteral(" - grupa ") + group.text, c.code};
    }
    return out;
}

QList<int> addresseesOf(Database& db, int information, const QStringList& visibleGroupCodes)
{
    QList<int> children;
    Query q(db, QStringLiteral("SELECT D.OSOBA, C.KLASA FROM DZIEINF D JOIN DZIECI C ON C.KOD = D.OSOBA "
                               "WHERE D.INFORM = :I ORDER BY D.OSOBA"));
    q.bind(QStringLiteral("I"), information).exec();
    while (q.next())
        if (permissions::groupVisible(visibleGroupCodes, q.value(1).toString()))
            children << q.value(0).toInt();
    return children;
}

int addAddressees(Database& db, int information, const QList<int>& children)
{
    QSet<int> present;
    Query existing(db, QStringLiteral("SELECT OSOBA FROM DZIEINF WHERE INFORM = :I"));
    existing.bind(QStringLiteral("I"), information).exec();
    while (existing.next())
        present.insert(existing.value(0).toInt());

    int added = 0;
    Transaction tx(db);
    Query insert(db, QStringLiteral("INSERT INTO DZIEINF (INFORM, OSOBA) VALUES (:I, :O)"));
    for (int child : children) {
        if (present.contains(child))
            continue;
        present.insert(child);
        insert.bind(QStringLiteral("I"), information).bind(QStringLiteral("O"), child).exec();
        ++added;
    }
    tx.commit();
    return added;
}

QStringList emailsOf(Database& db, const QList<int>& children)
{
    QStringList addresses;
    Query q(db, QStringLiteral("SELECT EMAIL FROM DZIECI WHERE KOD = :K"));
    static const QRegularExpression separators(QStringLiteral("[;,]"));
    for (int child : children) {
        q.bind(QStringLiteral("K"), child).exec();
        if (q.next())
            addresses << q.value(0).toString().split(separators, Qt::SkipEmptyParts);
    }
    return mail::uniqueAddresses(addresses);
}

}  // namespace inform
