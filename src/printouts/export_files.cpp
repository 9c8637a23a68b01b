#include "export_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cstdio>

namespace report {

namespace {

QString reason(const QString& fileName, QFileDevice::FileError error)
{
    const QFileInfo info(fileName);
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists())
        return QStringLiteral("folder %1 nie istnieje").arg(QDir::toNativeSeparators(folder.absoluteFilePath()));
    if (!folder.isDir())
        return QStringLiteral("%1 nie jest folderem").arg(QDir::toNativeSeparators(folder.absoluteFilePath()));
    if (info.exists() && info.isDir())
        return QStringLiteral("istnieje folder o tej nazwie");
    if (!folder.isWritable() || (info.exists() && !info.isWritable()))
        return QStringLiteral("brak uprawnień do zapisu");
    switch (error) {
    case QFileDevice::WriteError:
    case QFileDevice::ResizeError:
        return QStringLiteral("błąd zapisu (być może brak miejsca na dysku)");
    case QFileDevice::RenameError:
        return QStringLiteral("nie można zastąpić istniejącego pliku");
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return QStringLiteral("nie można otworzyć pliku do zapisu");
    default:
        return QStringLiteral("błąd zapisu");
    }
}

}  // namespace

QString cannotWriteMessage(const QString& fileName, QFileDevice::FileError error)
{
    return QStringLiteral("Nie można zapisać pliku %1: %2")
        .arg(QDir::toNativeSeparators(QFileInfo(fileName).fileName()), reason(fileName, error));
}

QString saveBytes(const QString& fileName, const QByteArray& data)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return cannotWriteMessage(fileName, file.error());
    if (file.write(data) != data.size()) {
        const QFileDevice::FileError error = file.error();
        file.cancelWriting();
        return cannotWriteMessage(fileName, error == QFileDevice::NoError ? QFileDevice::WriteError : error);
    }
    if (!file.commit())
        return cannotWriteMessage(fileName, file.error());
    return {};
}

StagedFiles::~StagedFiles()
{
    for (const Staged& staged : std::as_const(m_files))
        QFile::remove(staged.temporary);
}

QString StagedFiles::add(const QString& fileName, const QByteArray& data)
{
    QString error;
    const QString temporary = temporaryFileBeside(fileName, error);
    if (temporary.isEmpty())
        return error;
    m_files.append({fileName, temporary});
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return cannotWriteMessage(fileName, file.error());
    if (file.write(data) != data.size() || !file.flush())
        return cannotWriteMessage(fileName, QFileDevice::WriteError);
    file.close();
    if (file.error() != QFileDevice::NoError)
        return cannotWriteMessage(fileName, QFileDevice::WriteError);
    return {};
}

QString StagedFiles::commit()
{
    while (!m_files.isEmpty()) {
        const Staged staged = m_files.takeFirst();
        const QString error = replaceFile(staged.temporary, staged.target);
        if (!error.isEmpty()) {
            QFile::remove(staged.temporary);
            return error;
        }
    }
    return {};
}

QString temporaryFileBeside(const QString& fileName, QString& error)
{
    const QFileInfo info(fileName);
    QTemporaryFile file(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open()) {
        error = cannotWriteMessage(fileName, QFileDevice::OpenError);
        return {};
    }
    // Readable like any file the user saves, not only by the owner.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                        | QFileDevice::ReadOther);
    return file.fileName();
}

QString replaceFile(const QString& temporary, const QString& fileName)
{
    // std::rename replaces an existing target in one step on POSIX systems;
    // elsewhere the old file has to go first.
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(fileName).constData()) == 0)
        return {};
    if (QFileInfo(fileName).isFile() && !QFileInfo(fileName).isDir() && QFile::remove(fileName)
        && QFile::rename(temporary, fileName))
        return {};
    return cannotWriteMessage(fileName, QFileDevice::RenameError);
}

}  // namespace report
