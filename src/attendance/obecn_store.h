#pragma once
// The writes of the attendance window: one child's day (OBECN, at most one
// row per child and day), monthly counts (OBECM), attendance at a held
// class (ZAJOBEC) and a held class made from a column of the day view.
// Statements are bound, never pasted together.

#include <QDate>
#include <QString>
#include <QTime>
#include <QVariant>

class Database;

namespace obecn {

struct StoredDay {
    bool exists = false;
    QString code;  // "T", "N", "Z" or ""
    QTime arrival;
    QTime departure;
    bool hasTime() const { return arrival.isValid() || departure.isValid(); }
};

StoredDay readDay(Database& db, int child, QDate day);
// Adds the row or replaces its values.
void writeDay(Database& db, int child, QDate day, const StoredDay& values);
void deleteDay(Database& db, int child, QDate day);

// An empty count deletes the child's row of the month and code.
void writeCount(Database& db, int child, int year, int month, QChar code, const QVariant& count);

// ZAJOBEC of a held class: the child's mark, or empty when it has no row.
QString classMark(Database& db, const QVariant& group, int id, int child);
void writeClassMark(Database& db, const QVariant& group, int id, int child, const QString& mark);
void deleteClassMark(Database& db, const QVariant& group, int id, int child);

// A held class of the day for the class and group, numbered next in its
// group, with the scheduled times; returns its number.
int createHeldClass(Database& db, int classCode, const QVariant& group, QDate day, QTime start, QTime end);

// "Czas przyjścia - przekroczona granica dolna (06:30)"; empty within the limits.
QString limitWarning(const QString& label, QTime value, QTime low, QTime high);

}  // namespace obecn
