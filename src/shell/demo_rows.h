#pragma once
// What every part of the demonstration store is written with: a repeatable
// dice, plain row inserts and the few facts the parts share (the children,
// their daily attendance, the months shown).

#include <QDate>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QTime>
#include <QVariant>

#include <random>

class Database;

namespace demo {

using Row = QList<QPair<QString, QVariant>>;

// The engines' own distributions differ between libraries; the generator's
// output does not, so the store comes out the same everywhere.
class Dice {
public:
    explicit Dice(quint32 seed) : m_engine(seed) {}
    int between(int lo, int hi) { return lo + int(m_engine() % quint32(hi - lo + 1)); }
    bool percent(int p) { return between(0, 99) < p; }
    template <class T> const T& pick(const QList<T>& list) { return list[between(0, int(list.size()) - 1)]; }

private:
    std::mt19937 m_engine;
};

void insert(Database& db, const QString& table, const Row& row);
// Inserts and returns the key the store gave the row.
int insertKeyed(Database& db, const QString& table, const Row& row, const QString& key = QStringLiteral("KOD"));
int count(Database& db, const QString& sql);

inline QTime at(int hour, int minute) { return QTime(hour, minute); }

struct Child {
    int kod = 0;
    int group = 0;  // KLASY.KOD
    QDate admitted;
    QTime arrival;
    QTime departure;
    bool rhythmics = false;  // declared for the extra class
};

// One child's day as the attendance register holds it.
struct Day {
    QString mark;  // T, N, Z
    QTime in, out;
};

// Every child's days, by child code and date.
using Attendance = QHash<int, QHash<QDate, Day>>;

// The months the store shows: two settled, the current one under way.
struct Months {
    QDate first;    // computed and approved
    QDate second;   // computed, settling the first
    QDate current;  // attendance until yesterday, not computed
    QDate today;
};

}  // namespace demo
