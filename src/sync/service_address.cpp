#include "service_address.h"

#include "store/params.h"
#include "store/query.h"
#include "store/values.h"

namespace service_address {

namespace {

bool isSection(const QString& line)
{
    return line.startsWith(QLatin1Char('['));
}

bool isParametersHeader(const QString& line)
{
    return line.toUpper() == QLatin1String("[PARAMETRY]");
}

bool isKeyLine(const QString& line)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return (eq < 0 ? line : line.left(eq)).toUpper() == key();
}

}  // namespace

QString missingMessage()
{
    return QStringLiteral("Brak adresu serwisu internetowego (SERWIS INTERNETOWY w [PARAMETRY])");
}

QString read(const QString& configurationText)
{
    const QStringList lines = memoLines(configurationText);
    qsizetype i = 0;
    while (i < lines.size() && !isParametersHeader(lines[i]))
        ++i;
    for (++i; i < lines.size() && !isSection(lines[i]); ++i)
        if (isKeyLine(lines[i]))
            return lines[i].mid(lines[i].indexOf(QLatin1Char('=')) + 1).trimmed();
    return {};
}

QString write(const QString& configurationText, const QString& value)
{
    QStringList lines = memoLines(configurationText);
    const QString line = key() + QLatin1Char('=') + value.trimmed();
    qsizetype i = 0;
    while (i < lines.size() && !isParametersHeader(lines[i]))
        ++i;
    if (i == lines.size()) {
        if (value.trimmed().isEmpty())
            return configurationText;
        lines << QStringLiteral("[PARAMETRY]") << line;
    } else {
        qsizetype j = i + 1;
        while (j < lines.size() && !isSection(lines[j]) && !isKeyLine(lines[j]))
            ++j;
        if (j < lines.size() && isKeyLine(lines[j])) {
            if (value.trimmed().isEmpty())
                lines.removeAt(j);
            else
                lines[j] = line;
        } else if (!value.trimmed().isEmpty()) {
            lines.insert(i + 1, line);
        }
    }
    return lines.join(QStringLiteral("\r\n"));
}

QUrl toUrl(const QString& configured)
{
    QString text = configured.trimmed();
    if (text.isEmpty())
        return {};
    const bool https = text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
    if (https)
        text = text.mid(8);
    else if (text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive))
        text = text.mid(7);
    QUrl url(QString::fromLatin1(https ? "https://" : "http://") + text, QUrl::TolerantMode);
    if (url.path().isEmpty() || url.path() == QLatin1String("/"))
        url.setPath(QStringLiteral("/lunawas.php"));
    return url;
}

QString load(Database& db)
{
    return read(Query(db, QStringLiteral("SELECT PARAMS FROM OPCJE")).scalar().toString());
}

void save(Database& db, const QString& value)
{
    const QString text = Query(db, QStringLiteral("SELECT PARAMS FROM OPCJE")).scalar().toString();
    Query(db, QStringLiteral("UPDATE OPCJE SET PARAMS = :P")).bind(QStringLiteral("P"), write(text, value)).exec();
}

}  // namespace service_address
