#include "terminal_rules.h"

#include "printouts/child_code.h"
#include "store/polish_dates.h"

#include <cmath>
#include <limits>

namespace terminal {

QString fieldLabel(Mode mode)
{
    return mode == Mode::Arrival ? QStringLiteral("Czas przyjścia") : QStringLiteral("Czas wyjścia");
}

QString fieldName(Mode mode)
{
    return mode == Mode::Arrival ? QStringLiteral("CZASP") : QStringLiteral("CZASW");
}

QString modeCaption(Mode mode)
{
    return mode == Mode::Arrival ? QStringLiteral("Czas przyjścia w dniu:") : QStringLiteral("Czas wyjścia w dniu:");
}

QString toggleCaption(Mode mode)
{
    return mode == Mode::Arrival ? QStringLiteral("&Zmień na czas wyjścia") : QStringLiteral("&Zmień na czas przyjścia");
}

Mode other(Mode mode)
{
    return mode == Mode::Arrival ? Mode::Departure : Mode::Arrival;
}

bool isNumber(const QString& code)
{
    if (code.isEmpty())
        return false;
    for (QChar c : code)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

int childKod(const QString& code, int clientNumber)
{
    if (!isNumber(code) || clientNumber < 0)
        return 0;
    const QString client = QString::number(clientNumber);
    // At least one digit of the child between the client and the check digit.
    if (code.size() < client.size() + 2 || !code.startsWith(client))
        return 0;
    const QString body = code.left(code.size() - 1);
    if (code.back().digitValue() != printouts::childCodeCheckDigit(body))
        return 0;
    bool ok = false;
    const qlonglong kod = body.mid(client.size()).toLongLong(&ok);
    if (!ok || kod < 1 || kod > std::numeric_limits<int>::max())
        return 0;
    return int(kod);
}

QTime roundedTime(QTime time, int step)
{
    int minutes = time.hour() * 60 + time.minute();
    if (step >= 2) {
        minutes = int(std::lround(double(minutes) / step)) * step;
        // Rounding up late in the evening must not give 24:00.
        if (minutes > 23 * 60 + 59)
            minutes = (23 * 60 + 59) / step * step;
    }
    return QTime(minutes / 60, minutes % 60);
}

std::optional<Mode> idleSwitch(Mode current, QTime now, const DayLimits& limits)
{
    const QTime arrivalLow = limits.arrival.lower;
    const QTime arrivalHigh = limits.arrival.upper;
    const QTime departureLow = limits.departure.lower;
    const QTime departureHigh = limits.departure.upper;
    if (current == Mode::Departure) {
        if (arrivalLow.isValid() && arrivalHigh.isValid() && departureLow.isValid() && now > arrivalLow
            && now < arrivalHigh && now < departureLow)
            return Mode::Arrival;
    } else if (departureLow.isValid() && departureHigh.isValid() && now > departureLow && now < departureHigh) {
        return Mode::Departure;
    }
    return std::nullopt;
}

QString declaredLine(Mode mode, QTime stored, QTime declared)
{
    if (!stored.isValid() || !declared.isValid())
        return {};
    if (mode == Mode::Arrival && stored < declared)
        return QStringLiteral("przyjście przed czasem deklarowanym!");
    if (mode == Mode::Departure && stored > declared)
        return QStringLiteral("wyjście po czasie deklarowanym!");
    return {};
}

QString weekdayText(QDate day, bool freeDay)
{
    const QString name = polish::weekdayName(day.dayOfWeek());
    return freeDay ? name + QStringLiteral(" (dzień wolny)") : name;
}

namespace texts {

QString noChild() { return QStringLiteral("Brak określenia dziecka"); }

QString freeDayQuestion() { return QStringLiteral("Jesteś pewien, że chcesz wprowadzić obecność na dzień wolny?"); }

QString alreadySet(Mode mode)
{
    return fieldLabel(mode)
           + QStringLiteral(" jest już określony\r\nJeżeli chcesz go zmienić, podaj hasło aktualnego użytkownika");
}

QString absenceSet()
{
    return QStringLiteral("Została już określona nieobecność\r\nJeżeli chcesz zmienić, podaj hasło aktualnego użytkownika");
}

QString wrongPassword() { return QStringLiteral("Nieprawidłowe hasło aktualnego użytkownika"); }

QString noArrival() { return QStringLiteral("Brak czasu przyjścia"); }

QString order() { return fieldLabel(Mode::Arrival) + QStringLiteral(" nie może być większy niż ") + fieldLabel(Mode::Departure); }

QString nameSearchPassword()
{
    return QStringLiteral("Jeżeli chcesz przeglądać kartotekę dzieci, podaj hasło aktualnego użytkownika");
}

QString cleared(Mode mode) { return fieldLabel(mode) + QStringLiteral(":\r\nBrak"); }

QString stored(Mode mode, QTime time, const QString& declaredLine)
{
    return fieldLabel(mode) + QStringLiteral(":\r\n") + polish::time(time) + QStringLiteral("\r\n") + declaredLine;
}

}  // namespace texts

}  // namespace terminal
