#include "child_time_limits.h"

#include "store/polish_dates.h"
#include "store/query.h"
#include "store/values.h"

namespace stay_limits {

Limits inForce(Database& db, const QString& field, const QDate& day)
{
    if (!day.isValid())
        return {};
    const QString f = field.toUpper();
    if (f != QLatin1String("CZASP") && f != QLatin1String("CZASW"))
        return {};
    // The limit columns are the field's name followed by D (lower) and G (upper).
    Query q(db, QStringLiteral("select %1D, %1G from CZASGRAN where ODDATY <= :D order by ODDATY desc").arg(f));
    q.bind(QStringLiteral("D"), day).exec();
    if (!q.next())
        return {};
    return {values::toTime(q.value(0)), values::toTime(q.value(1))};
}

QString warning(const QString& label, const QTime& value, const Limits& limits)
{
    if (!value.isValid())
        return {};
    QString text;
    if (limits.lower.isValid() && value < limits.lower)
        text += QStringLiteral(", dolna (") + polish::time(limits.lower) + QLatin1Char(')');
    if (limits.upper.isValid() && value > limits.upper)
        text += QStringLiteral(", górna (") + polish::time(limits.upper) + QLatin1Char(')');
    if (text.isEmpty())
        return {};
    return label + QStringLiteral(" - przekroczona granica") + text.mid(1);
}

QString orderMessage()
{
    return QStringLiteral("Czas przyjścia nie może być większy niż Czas wyjścia");
}

}  // namespace stay_limits
