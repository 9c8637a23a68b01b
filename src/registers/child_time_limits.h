#pragma once
// The declared time of stay (DZIECZAS) against the limits of arrival and
// departure (CZASGRAN): the warning for a time outside them and the refusal
// of a departure before the arrival.

#include <QDate>
#include <QString>
#include <QTime>

class Database;

namespace stay_limits {

struct Limits {
    QTime lower;  // invalid = no limit
    QTime upper;
};

// The limits in force on `day` (the CZASGRAN row with the latest ODDATY not
// after it) for the field CZASP or CZASW; none when no row is in force.
Limits inForce(Database& db, const QString& field, const QDate& day);

// "Czas przyjścia - przekroczona granica dolna (06:30)"; empty when the
// value keeps within the limits. `label` is the field's caption.
QString warning(const QString& label, const QTime& value, const Limits& limits);

// The refusal of a row whose departure is earlier than its arrival.
QString orderMessage();

}  // namespace stay_limits
