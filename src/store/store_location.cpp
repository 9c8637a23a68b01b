#include "store_location.h"

#include "error.h"
#include "store_messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QUrl>

StoreLocation StoreLocation::parse(const QString& where)
{
    StoreLocation loc;
    const QString text = where.trimmed();
    if (text.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
        || text.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive)) {
        const QUrl url(text, QUrl::StrictMode);
        const QString db = url.path().mid(1);
        if (!url.isValid() || url.host().isEmpty() || db.isEmpty())
            throw Error(QStringLiteral("Niepoprawny adres bazy PostgreSQL: %1").arg(storemsg::withoutPassword(text)));
        loc.engine = Engine::PostgreSQL;
        loc.host = url.host();
        loc.port = url.port(5432);
        loc.database = db;
        loc.user = url.userName();
        loc.password = url.password();
        return loc;
    }
    loc.engine = Engine::SQLite;
    loc.folder = QDir::cleanPath(QDir(text).absolutePath());
    return loc;
}

QString StoreLocation::configuredAlias()
{
    QSettings machine(QSettings::SystemScope, QStringLiteral("Vendrix"), QStringLiteral("Lunawa"));
    return machine.value(QStringLiteral("Lunawa/store")).toString().trimmed();
}

StoreLocation StoreLocation::resolveDefault()
{
    const QString alias = configuredAlias();
    if (!alias.isEmpty())
        return parse(alias);
    return parse(QCoreApplication::applicationDirPath() + QStringLiteral("/Baza"));
}

QString StoreLocation::sqliteFile() const
{
    return folder + QStringLiteral("/lunawa.db");
}

QString StoreLocation::describe() const
{
    if (engine == Engine::SQLite)
        return QDir::toNativeSeparators(folder);
    return QStringLiteral("postgresql://%1@%2:%3/%4").arg(user, host).arg(port).arg(database);
}
