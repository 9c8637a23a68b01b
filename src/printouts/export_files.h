#pragma once
// Writing export files safely: the content goes to a temporary file beside
// the target and replaces it only when complete, and failures read as Polish
// messages saying what went wrong (folder missing, no rights, disk full).

#include <QByteArray>
#include <QFileDevice>
#include <QList>
#include <QString>

namespace report {

// "Nie można zapisać pliku NAME: reason", the reason from the error and the
// state of the target's folder.
QString cannotWriteMessage(const QString& fileName, QFileDevice::FileError error);

// Writes `data` under `fileName` through a save file. Empty text on success.
QString saveBytes(const QString& fileName, const QByteArray& data);

// A set of files written together (the pictures of a report, one per page):
// each is staged under a temporary name in its folder and all are renamed
// only by commit(); a set destroyed uncommitted removes what it staged.
class StagedFiles {
public:
    StagedFiles() = default;
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;
    ~StagedFiles();

    QString add(const QString& fileName, const QByteArray& data);
    QString commit();

private:
    struct Staged {
        QString target;
        QString temporary;
    };
    QList<Staged> m_files;
};

// A fresh, empty file beside `fileName` for a writer that names its own
// output (the spreadsheet library); empty when none could be made, with
// `error` set to the message.
QString temporaryFileBeside(const QString& fileName, QString& error);

// Replaces `fileName` by `temporary` in one step. Empty text on success.
QString replaceFile(const QString& temporary, const QString& fileName);

}  // namespace report
