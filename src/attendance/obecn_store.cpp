#include "obecn_store.h"

#include "registers/held_classes.h"
#include "store/database.h"
#include "store/polish_dates.h"
#include "store/query.h"
#include "store/values.h"

namespace obecn {

namespace {

QVariant timeValue(QTime t)
{
    return t.isValid() ? QVariant(t) : QVariant();
}

// The group of a held class: NULL for none, so a class without a group is
// matched by IS NULL rather than by a value.
QString groupCondition(const QVariant& group)
{
    return group.isValid() ? QStringLiteral("KLASA = :K") : QStringLiteral("KLASA IS NULL");
}

void bindGroup(Query& q, const QVariant& group)
{
    if (group.isValid())
        q.bind(QStringLiteral("K"), group);
}

}  // namespace

StoredDay readDay(Database& db, int child, QDate day)
{
    StoredDay d;
    Query q(db, QStringLiteral("SELECT OBECNY, CZASP, CZASW FROM OBECN WHERE OSOBA = :O AND DATA = :D"));
    q.bind(QStringLiteral("O"), child).bind(QStringLiteral("D"), day).exec();
    if (q.next()) {
        d.exists = true;
        d.code = q.value(0).toString().trimmed().toUpper();
        d.arrival = values::toTime(q.value(1));
        d.departure = values::toTime(q.value(2));
    }
    return d;
}

void writeDay(Database& db, int child, QDate day, const StoredDay& v)
{
    const bool exists = readDay(db, child, day).exists;
    Query q(db, exists ? QStringLiteral("UPDATE OBECN SET OBECNY = :C, CZASP = :P, CZASW = :W WHERE OSOBA = :O AND DATA = :D")
                       : QStringLiteral("INSERT INTO OBECN (OSOBA, DATA, OBECNY, CZASP, CZASW) VALUES (:O, :D, :C, :P, :W)"));
    q.bind(QStringLiteral("O"), child)
        .bind(QStringLiteral("D"), day)
        .bind(QStringLiteral("C"), v.code.isEmpty() ? QVariant() : QVariant(v.code))
        .bind(QStringLiteral("P"), timeValue(v.arrival))
        .bind(QStringLiteral("W"), timeValue(v.departure))
        .exec();
}

void deleteDay(Database& db, int child, QDate day)
{
    Query(db, QStringLiteral("DELETE FROM OBECN WHERE OSOBA = :O AND DATA = :D"))
        .bind(QStringLiteral("O"), child)
        .bind(QStringLiteral("D"), day)
        .exec();
}

void writeCount(Database& db, int child, int year, int month, QChar code, const QVariant& count)
{
    Transaction tx(db);
    Query(db, QStringLiteral("DELETE FROM OBECM WHERE OSOBA = :O AND ROK = :R AND MIES = :M AND OBECNY = :C"))
        .bind(QStringLiteral("O"), child)
        .bind(QStringLiteral("R"), year)
        .bind(QStringLiteral("M"), month)
        .bind(QStringLiteral("C"), QString(code))
        .exec();
    if (count.isValid())
        Query(db, QStringLiteral("INSERT INTO OBECM (OSOBA, ROK, MIES, OBECNY, ILE) VALUES (:O, :R, :M, :C, :I)"))
            .bind(QStringLiteral("O"), child)
            .bind(QStringLiteral("R"), year)
            .bind(QStringLiteral("M"), month)
            .bind(QStringLiteral("C"), QString(code))
            .bind(QStringLiteral("I"), count)
            .exec();
    tx.commit();
}

QString classMark(Database& db, const QVariant& group, int id, int child)
{
    Query q(db, QStringLiteral("SELECT OBECNY FROM ZAJOBEC WHERE %1 AND ID = :I AND OSOBA = :O").arg(groupCondition(group)));
    bindGroup(q, group);
    q.bind(QStringLiteral("I"), id).bind(QStringLiteral("O"), child).exec();
    if (!q.next())
        return QString();
    const QString m = q.value(0).toString().trimmed();
    return m.isEmpty() ? QStringLiteral("T") : m;  // an empty mark reads as present
}

void writeClassMark(Database& db, const QVariant& group, int id, int child, const QString& mark)
{
    Transaction tx(db);
    deleteClassMark(db, group, id, child);
    Query q(db, QStringLiteral("INSERT INTO ZAJOBEC (KLASA, ID, OSOBA, OBECNY) VALUES (:K, :I, :O, :C)"));
    q.bind(QStringLiteral("K"), group.isValid() ? group : QVariant())
        .bind(QStringLiteral("I"), id)
        .bind(QStringLiteral("O"), child)
        .bind(QStringLiteral("C"), mark)
        .exec();
    tx.commit();
}

void deleteClassMark(Database& db, const QVariant& group, int id, int child)
{
    Query q(db, QStringLiteral("DELETE FROM ZAJOBEC WHERE %1 AND ID = :I AND OSOBA = :O").arg(groupCondition(group)));
    bindGroup(q, group);
    q.bind(QStringLiteral("I"), id).bind(QStringLiteral("O"), child).exec();
}

int createHeldClass(Database& db, int classCode, const QVariant& group, QDate day, QTime start, QTime end)
{
    int id = 0;
    db.batch([&] {
        id = heldclasses::nextNumber(db, group);
        Query(db, QStringLiteral("INSERT INTO ZAJODB (ZAJECIE, DATA, CZASP, CZASW, KLASA, ID) VALUES (:Z, :D, :P, :W, :K, :I)"))
            .bind(QStringLiteral("Z"), classCode)
            .bind(QStringLiteral("D"), day)
            .bind(QStringLiteral("P"), timeValue(start))
            .bind(QStringLiteral("W"), timeValue(end))
            .bind(QStringLiteral("K"), group.isValid() ? group : QVariant())
            .bind(QStringLiteral("I"), id)
            .exec();
    });
    return id;
}

QString limitWarning(const QString& label, QTime value, QTime low, QTime high)
{
    if (!value.isValid())
        return QString();
    QString text;
    if (low.isValid() && value < low)
        text += QStringLiteral(", dolna (") + polish::time(low) + QLatin1Char(')');
    if (high.isValid() && value > high)
        text += QStringLiteral(", górna (") + polish::time(high) + QLatin1Char(')');
    if (text.isEmpty())
        return QString();
    return label + QStringLiteral(" - przekroczona granica") + text.mid(1);
}

}  // namespace obecn
