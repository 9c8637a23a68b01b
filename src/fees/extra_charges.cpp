#include "extra_charges.h"

#include "store/database.h"
#include "store/money.h"
#include "store/query.h"
#include "store/values.h"

#include <algorithm>

namespace extra {

namespace {

QString key(const QVariant& group, int code)
{
    return (group.isNull() ? QString() : group.toString()) + QLatin1Char(':') + QString::number(code);
}

// NALKLA and NALDOD keep "Brak" as a null group, which "=" never matches.
QString groupTest(const QVariant& group)
{
    return group.isNull() ? QStringLiteral("KLASA IS NULL") : QStringLiteral("KLASA = :G");
}

Query& bindGroup(Query& q, const QVariant& group)
{
    if (!group.isNull())
        q.bind(QStringLiteral("G"), group);
    return q;
}

}  // namespace

QString Charge::label() const
{
    return shortName + QStringLiteral(" (") + money::format(amount, 2, false) + QLatin1Char(')');
}

bool Charge::appliesTo(const QVariant& childGroup) const
{
    return group.isNull() || (!childGroup.isNull() && childGroup.toInt() == group.toInt());
}

Charge overpayment()
{
    return Charge{};
}

void Payments::load(Database& db)
{
    m_rows.clear();
    Query q(db, QStringLiteral("SELECT KLASA, KOD, OSOBA, WPLATA, OPIS FROM NALDOD"));
    q.exec();
    while (q.next()) {
        const QVariant amount = q.value(3).isNull() ? QVariant() : QVariant(q.value(3).toDouble());
        m_rows[q.value(2).toInt()].insert(key(q.value(0), q.value(1).toInt()), Payment{amount, q.value(4).toString()});
    }
}

const Payment* Payments::find(int child, const Charge& charge) const
{
    const auto rows = m_rows.constFind(child);
    if (rows == m_rows.cend())
        return nullptr;
    const auto it = rows->constFind(key(charge.group, charge.code));
    return it == rows->cend() ? nullptr : &*it;
}

QVariant Payments::cell(int child, const QVariant& childGroup, const Charge& charge) const
{
    if (const Payment* p = find(child, charge))
        return p->amount;
    if (!charge.appliesTo(childGroup))
        return {};
    return 0.0;
}

QList<Charge> chargesFrom(Database& db, const QDate& from, const std::function<bool(const QString& group)>& shown)
{
    QList<Charge> charges;
    Query q(db, QStringLiteral("SELECT KLASA, KOD, DATA, SKROT, KWOTA FROM NALKLA WHERE DATA >= :D "
                               "ORDER BY DATA, KLASA, KOD"));
    q.bind(QStringLiteral("D"), from).exec();
    while (q.next()) {
        Charge c{q.value(0).isNull() ? QVariant() : QVariant(q.value(0).toInt()), q.value(1).toInt(),
                 values::toDate(q.value(2)), q.value(3).toString(), q.value(4).toDouble()};
        if (!shown || shown(c.groupText()))
            charges << c;
    }
    // The engines disagree on where a null group sorts: "Brak" goes first.
    std::stable_sort(charges.begin(), charges.end(), [](const Charge& a, const Charge& b) {
        if (a.date != b.date)
            return a.date < b.date;
        const int ga = a.group.isNull() ? -1 : a.group.toInt();
        const int gb = b.group.isNull() ? -1 : b.group.toInt();
        return ga != gb ? ga < gb : a.code < b.code;
    });
    return charges;
}

int nextCode(Database& db, const QVariant& group)
{
    Query q(db, QStringLiteral("SELECT MAX(KOD) FROM NALKLA WHERE ") + groupTest(group));
    return bindGroup(q, group).scalar().toInt() + 1;
}

bool hasPayments(Database& db, const QVariant& group, int code)
{
    Query q(db, QStringLiteral("SELECT COUNT(*) FROM NALDOD WHERE KOD = :K AND ") + groupTest(group));
    q.bind(QStringLiteral("K"), code);
    return bindGroup(q, group).scalar().toInt() > 0;
}

void savePayment(Database& db, const Charge& charge, int child, const QVariant& amount,
                 const std::optional<QString>& description)
{
    const QVariant stored = amount.isNull() || !amount.isValid() ? QVariant() : QVariant(money::round(amount.toDouble()));
    db.batch([&] {
        Query exists(db, QStringLiteral("SELECT COUNT(*) FROM NALDOD WHERE KOD = :K AND OSOBA = :O AND ")
                             + groupTest(charge.group));
        exists.bind(QStringLiteral("K"), charge.code).bind(QStringLiteral("O"), child);
        if (bindGroup(exists, charge.group).scalar().toInt() == 0) {
            Query add(db, QStringLiteral("INSERT INTO NALDOD (KLASA, KOD, OSOBA, WPLATA, OPIS) VALUES (:G, :K, :O, :W, :P)"));
            add.bind(QStringLiteral("G"), charge.group)
                .bind(QStringLiteral("K"), charge.code)
                .bind(QStringLiteral("O"), child)
                .bind(QStringLiteral("W"), stored)
                .bind(QStringLiteral("P"), description.value_or(QString()))
                .exec();
            return;
        }
        Query set(db, QStringLiteral("UPDATE NALDOD SET WPLATA = :W%1 WHERE KOD = :K AND OSOBA = :O AND ")
                              .arg(description ? QStringLiteral(", OPIS = :P") : QString())
                          + groupTest(charge.group));
        set.bind(QStringLiteral("W"), stored).bind(QStringLiteral("K"), charge.code).bind(QStringLiteral("O"), child);
        if (description)
            set.bind(QStringLiteral("P"), *description);
        bindGroup(set, charge.group).exec();
    });
}

void deletePayment(Database& db, const Charge& charge, int child)
{
    Query q(db, QStringLiteral("DELETE FROM NALDOD WHERE KOD = :K AND OSOBA = :O AND ") + groupTest(charge.group));
    q.bind(QStringLiteral("K"), charge.code).bind(QStringLiteral("O"), child);
    bindGroup(q, charge.group).exec();
}

QString editText(const QVariant& amount)
{
    if (amount.isNull() || !amount.isValid())
        return {};
    bool number = false;
    const double v = amount.toDouble(&number);
    if (!number)
        return amount.toString();
    QString text = money::format(v, 2, false);
    if (text.contains(QLatin1Char(','))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char(',')))
            text.chop(1);
    }
    return text;
}

}  // namespace extra
