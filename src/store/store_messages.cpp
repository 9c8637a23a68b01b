#include "store_messages.h"

#include "schema.h"

#include <QRegularExpression>
#include <QSqlError>

#include <algorithm>

namespace storemsg {

QString busy()
{
    return QStringLiteral("Inna stacja wykonuje teraz operację na danych; spróbuj ponownie za chwilę.");
}

QString readOnly()
{
    return QStringLiteral("Baza danych jest dostępna tylko do odczytu; zmiany nie zostały zapisane.");
}

QString diskFull()
{
    return QStringLiteral("Brak miejsca na dysku dla bazy danych; zmiany nie zostały zapisane.");
}

QString damaged()
{
    return QStringLiteral("Baza danych jest uszkodzona; zmiany nie zostały zapisane.\r\n"
                          "Sprawdź ją poleceniem „lunawactl maintenance check”, napraw poleceniem "
                          "„lunawactl maintenance repair” albo odtwórz z kopii zapasowej.");
}

QString statementTimeout(int seconds)
{
    return QStringLiteral("Serwer bazy danych nie wykonał polecenia w ciągu %1 s; operację przerwano.").arg(seconds);
}

QString connectTimeout(const QString& where, int seconds)
{
    return QStringLiteral("Serwer bazy danych %1 nie odpowiedział w ciągu %2 s.").arg(where).arg(seconds);
}

namespace {

// "Pole "Dziecko"" when the schema knows the field, else its name.
QString fieldCaption(const QString& table, const QString& field)
{
    if (const TableDef* t = schema::table(table.toUpper()))
        if (const FieldDef* f = t->field(field.toUpper()))
            return f->displayCaption();
    return field.toUpper();
}

QString firstLine(const QString& text)
{
    QString t = text.trimmed();
    static const QRegularExpression severity(QStringLiteral("^(ERROR|FATAL|BŁĄD|PANIC):\\s+"));
    t.remove(severity);
    return t.section(QLatin1Char('\n'), 0, 0).trimmed();
}

QString fromPostgres(const QString& code, const QString& text, const StoreLocation& location)
{
    const QString line = firstLine(text);
    if (code == QLatin1String("55P03") || code == QLatin1String("40P01") || code == QLatin1String("40001"))
        return busy();
    if (code == QLatin1String("57014"))
        return line.contains(QLatin1String("statement timeout"))
            ? statementTimeout(std::max(1, (location.statementTimeoutMs + 999) / 1000))
            : QStringLiteral("Polecenie bazy danych zostało przerwane.");
    if (code == QLatin1String("25006"))
        return readOnly();
    if (code == QLatin1String("53100"))
        return diskFull();
    if (code == QLatin1String("XX001") || code == QLatin1String("XX002"))
        return damaged();
    if (code == QLatin1String("23505")) {
        static const QRegularExpression key(QStringLiteral("Key \\(([^)]*)\\)="));
        const auto m = key.match(text);
        const QString fields = m.hasMatch() ? m.captured(1).toUpper().remove(QLatin1Char(' ')) : QString();
        if (line.contains(QLatin1String("lw_fakt_numer")))
            return QStringLiteral("Numer faktury powtarza się w tym miesiącu; zmiany nie zostały zapisane.");
        return fields.isEmpty()
            ? QStringLiteral("Taki zapis już istnieje; wartości muszą być niepowtarzalne.")
            : QStringLiteral("Taki zapis już istnieje: wartości pól %1 muszą być niepowtarzalne.").arg(fields);
    }
    if (code == QLatin1String("23502")) {
        static const QRegularExpression column(
            QStringLiteral("column \"([^\"]+)\"(?: of relation \"([^\"]+)\")?"));
        const auto m = column.match(line);
        if (m.hasMatch())
            return QStringLiteral("Pole \"%1\" musi posiadać wartość").arg(fieldCaption(m.captured(2), m.captured(1)));
    }
    if (code == QLatin1String("22001")) {
        static const QRegularExpression width(QStringLiteral("varying\\((\\d+)\\)"));
        const auto m = width.match(line);
        return QStringLiteral("Wartość jest za długa: pole może mieć najwyżej %1 znaków.").arg(m.captured(1));
    }
    if (code == QLatin1String("23514"))
        return QStringLiteral("Wartość nie spełnia warunku bazy danych: %1").arg(line);
    return {};
}

QString fromConnection(const QString& text, const StoreLocation& location)
{
    const QString where = location.describe();
    if (text.contains(QLatin1String("timeout expired")))
        return connectTimeout(where, location.connectTimeoutSeconds);
    if (text.contains(QLatin1String("Connection refused")))
        return QStringLiteral("Serwer bazy danych %1 odmówił połączenia; sprawdź, czy działa i czy adres jest poprawny.")
            .arg(where);
    if (text.contains(QLatin1String("could not translate host name")) || text.contains(QLatin1String("Name or service not known")))
        return QStringLiteral("Nie znaleziono serwera bazy danych %1.").arg(where);
    if (text.contains(QLatin1String("password authentication failed")) || text.contains(QLatin1String("no password supplied")))
        return QStringLiteral("Serwer bazy danych %1 nie przyjął użytkownika lub hasła.").arg(where);
    static const QRegularExpression missing(QStringLiteral("database \"[^\"]+\" does not exist"));
    if (missing.match(text).hasMatch())
        return QStringLiteral("Na serwerze nie ma bazy danych %1.").arg(where);
    if (text.contains(QLatin1String("server closed the connection")) || text.contains(QLatin1String("no connection to the server"))
        || text.contains(QLatin1String("terminating connection")))
        return QStringLiteral("Połączenie z serwerem bazy danych %1 zostało przerwane.").arg(where);
    return {};
}

QString fromSqlite(const QString& text)
{
    const QString t = text.trimmed();
    if (t.contains(QLatin1String("database is locked")) || t.contains(QLatin1String("database table is locked"))
        || t.contains(QLatin1String("database schema is locked")))
        return busy();
    if (t.contains(QLatin1String("readonly database")) || t.contains(QLatin1String("read-only")))
        return readOnly();
    if (t.contains(QLatin1String("database or disk is full")))
        return diskFull();
    if (t.contains(QLatin1String("malformed")) || t.contains(QLatin1String("file is not a database"))
        || t.contains(QLatin1String("database corrupt")))
        return damaged();
    if (t.contains(QLatin1String("disk I/O error")))
        return QStringLiteral("Błąd zapisu lub odczytu pliku bazy danych; zmiany nie zostały zapisane.");
    if (t.contains(QLatin1String("unable to open database file")))
        return QStringLiteral("Nie można otworzyć pliku bazy danych.");
    static const QRegularExpression unique(QStringLiteral("UNIQUE constraint failed: (.+)$"));
    if (const auto m = unique.match(t); m.hasMatch()) {
        if (m.captured(1).contains(QLatin1String("FAKT.NUMER")))
            return QStringLiteral("Numer faktury powtarza się w tym miesiącu; zmiany nie zostały zapisane.");
        QStringList fields;
        for (const QString& f : m.captured(1).split(QLatin1Char(',')))
            fields << f.section(QLatin1Char('.'), -1).trimmed();
        return QStringLiteral("Taki zapis już istnieje: wartości pól %1 muszą być niepowtarzalne.").arg(fields.join(QLatin1Char(',')));
    }
    static const QRegularExpression notNull(QStringLiteral("NOT NULL constraint failed: (\\w+)\\.(\\w+)"));
    if (const auto m = notNull.match(t); m.hasMatch())
        return QStringLiteral("Pole \"%1\" musi posiadać wartość").arg(fieldCaption(m.captured(1), m.captured(2)));
    static const QRegularExpression length(QStringLiteral("CHECK constraint failed: length\\((\\w+)\\) <= (\\d+)"));
    if (const auto m = length.match(t); m.hasMatch())
        return QStringLiteral("Wartość pola %1 jest za długa: może mieć najwyżej %2 znaków.").arg(m.captured(1).toUpper(), m.captured(2));
    static const QRegularExpression check(QStringLiteral("CHECK constraint failed: (.+)$"));
    if (const auto m = check.match(t); m.hasMatch())
        return QStringLiteral("Wartość nie spełnia warunku bazy danych: %1").arg(m.captured(1));
    if (t == QLatin1String("not an error") || t.isEmpty())
        return QStringLiteral("Operacja na bazie danych nie powiodła się.");
    return {};
}

}  // namespace

QString translate(const QString& engineText, const StoreLocation& location)
{
    QString out;
    if (location.engine == Engine::PostgreSQL) {
        static const QRegularExpression state(QStringLiteral("\\(([0-9A-Z]{5})\\)\\s*$"));
        const auto m = state.match(engineText.trimmed());
        out = fromPostgres(m.hasMatch() ? m.captured(1) : QString(), engineText, location);
        if (out.isEmpty())
            out = fromConnection(engineText, location);
        if (out.isEmpty()) {
            // The state code Qt appends helps nobody reading the message.
            out = firstLine(engineText);
            out.remove(state);
            out = out.trimmed();
        }
    } else {
        out = fromSqlite(engineText);
        if (out.isEmpty())
            out = engineText.trimmed();
    }
    return withoutPassword(out, location);
}

QString fromSqlError(const QSqlError& error, const StoreLocation& location)
{
    QString text = error.databaseText().trimmed();
    if (location.engine == Engine::PostgreSQL) {
        const QString code = error.nativeErrorCode();
        if (!code.isEmpty()) {
            const QString mapped = fromPostgres(code, text, location);
            if (!mapped.isEmpty())
                return withoutPassword(mapped, location);
        }
    }
    // The SQLite driver refuses a second statement itself, beside an engine
    // text of "not an error".
    if (error.driverText().contains(QLatin1String("multiple statements")))
        return QStringLiteral("Można wykonać tylko jedno polecenie SQL naraz.");
    if (text.isEmpty())
        text = error.text().trimmed();
    return translate(text, location);
}

QString withoutPassword(const QString& text, const StoreLocation& location)
{
    QString out = text;
    static const QRegularExpression uri(QStringLiteral("(postgres(?:ql)?://[^:/@\\s]*):[^@\\s]*@"),
                                        QRegularExpression::CaseInsensitiveOption);
    out.replace(uri, QStringLiteral("\\1:***@"));
    if (location.password.size() >= 3)
        out.replace(location.password, QStringLiteral("***"));
    return out;
}

}  // namespace storemsg
