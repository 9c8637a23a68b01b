#include "reminders.h"

#include "deadline_occurrences.h"

#include "registers/child_caption.h"
#include "shell/access_rules.h"
#include "store/database.h"
#include "store/polish_dates.h"
#include "store/query.h"

#include <QCollator>
#include <QHash>
#include <QLocale>

namespace reminders {

namespace {

struct Child {
    QString caption;
    QString group;
};

QHash<int, Child> readChildren(Database& db)
{
    const bool pesel = db.hasColumn(QStringLiteral("DZIECI"), QStringLiteral("PESEL"));
    Query q(db, pesel ? QStringLiteral("SELECT KOD, NAZWA, ULICA, KLASA, PESEL FROM DZIECI")
                      : QStringLiteral("SELECT KOD, NAZWA, ULICA, KLASA FROM DZIECI"));
    q.exec();
    QHash<int, Child> out;
    while (q.next())
        out.insert(q.value(0).toInt(),
                   {childCaption(q.value(1).toString(), q.value(2).toString(), pesel ? q.value(4).toString() : QString()),
                    q.value(3).isNull() ? QString() : q.value(3).toString()});
    return out;
}

QHash<int, QString> readUsers(Database& db)
{
    Query q(db, QStringLiteral("SELECT KOD, OPIS FROM UZYT"));
    q.exec();
    QHash<int, QString> out;
    while (q.next())
        out.insert(q.value(0).toInt(), q.value(1).toString());
    return out;
}

// The sorted list without repeated texts.
class SortedList {
public:
    SortedList()
    {
        m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    }
    void add(Entry entry)
    {
        const auto at = std::lower_bound(m_entries.begin(), m_entries.end(), entry, [this](const Entry& a, const Entry& b) {
            return m_collator.compare(a.text, b.text) < 0;
        });
        if (at != m_entries.end() && m_collator.compare(at->text, entry.text) == 0)
            return;
        m_entries.insert(at, std::move(entry));
    }
    QList<Entry> take() { return std::move(m_entries); }

private:
    QCollator m_collator{QLocale(QLocale::Polish)};
    QList<Entry> m_entries;
};

}  // namespace

QList<Entry> collect(Database& db, const CurrentLogin& login, const QDate& today)
{
    const QHash<int, Child> children = readChildren(db);
    const QHash<int, QString> users = readUsers(db);
    SortedList list;

    Query requests(db, QStringLiteral("SELECT ZGLID, DATAPRZY, OSOBA, OPIS, KTOPRZY, KTOZAL FROM ZGLOSZ "
                                      "WHERE DATAZAL IS NULL"));
    requests.exec();
    while (requests.next()) {
        const int child = requests.value(2).toInt();
        const Child c = children.value(child);
        if (!permissions::groupVisible(login.visibleGroups, c.group))
            continue;
        const int receiver = requests.value(4).toInt();
        const int dealer = requests.value(5).toInt();
        if (receiver != login.userCode && dealer != login.userCode && (receiver != 0 || dealer != 0))
            continue;
        Entry e;
        e.kind = Entry::Kind::Request;
        e.id = requests.value(0).toInt();
        e.child = child;
        e.text = QStringLiteral("Zgłoszenie z dnia ") + polish::shortDate(requests.value(1).toDate())
            + QStringLiteral(": ") + c.caption + QStringLiteral(" - ") + requests.value(3).toString()
            + QStringLiteral(", (przyjął ") + users.value(receiver) + QStringLiteral(" , załatwia ")
            + users.value(dealer) + QStringLiteral(")");
        list.add(std::move(e));
    }

    Query terms(db, QStringLiteral("SELECT TERMID, OSOBA, OPIS, DATA, ILOKRESOW, OKRES, DNIPRZED FROM TERMINY"));
    terms.exec();
    QHash<int, QDate> lastDone;
    Query done(db, QStringLiteral("SELECT TERMID, MAX(DATAZAL) FROM TERMWYK GROUP BY TERMID"));
    done.exec();
    while (done.next())
        lastDone.insert(done.value(0).toInt(), done.value(1).toDate());
    while (terms.next()) {
        const int child = terms.value(1).toInt();
        // A deadline of nobody in particular concerns every user; one of a
        // child those who see the child's group.
        Child c;
        if (child != 0) {
            c = children.value(child);
            if (!permissions::groupVisible(login.visibleGroups, c.group))
                continue;
        }
        const deadlines::Occurrences o = deadlines::occurrences(
            terms.value(3).toDate(), terms.value(4).toInt(), terms.value(5).toString(), today);
        if (!o.next.isValid())
            continue;
        const int id = terms.value(0).toInt();
        const int daysBefore = terms.value(6).toInt();
        const QString tail = QStringLiteral(": ") + c.caption + QStringLiteral(" - ") + terms.value(2).toString();
        if (today.daysTo(o.next) < daysBefore)
            list.add({QStringLiteral("Nadchodzący termin ") + polish::shortDate(o.next) + tail, Entry::Kind::Deadline,
                      id, child});
        // An execution up to the reminding days before an occurrence, or
        // later, covers it.
        const QDate last = lastDone.value(id);
        if (o.previous.isValid() && (!last.isValid() || last.daysTo(o.previous) > daysBefore))
            list.add({QStringLiteral("Niewykonany termin ") + polish::shortDate(o.previous) + tail,
                      Entry::Kind::Deadline, id, child});
    }
    return list.take();
}

}  // namespace reminders
