#include "terminal_log.h"

#include "store/cp1250.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace terminal {

QString defaultLogFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/OBEC");
}

QString logFileName(QDate day)
{
    return QStringLiteral("O") + day.toString(QStringLiteral("yyMM")) + QStringLiteral(".txt");
}

QString logLine(const QDateTime& moment, const QString& code)
{
    return moment.toString(QStringLiteral("dd HH:mm:ss")) + QLatin1Char('\t') + code;
}

bool prepareLogFolder(const QString& folder)
{
    return !folder.isEmpty() && QDir().mkpath(folder);
}

void appendLog(const QString& folder, const QDateTime& moment, const QString& code)
{
    if (folder.isEmpty())
        return;
    QFile file(QDir(folder).filePath(logFileName(moment.date())));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(cp1250::encode(logLine(moment, code) + QStringLiteral("\r\n")));
}

}  // namespace terminal
