#include "backup_command.h"

#include "browser/message_log.h"
#include "browser/prompts.h"
#include "store/backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

class WaitCursor {
public:
    explicit WaitCursor(const std::function<void(bool)>& set) : m_set(set)
    {
        if (m_set)
            m_set(true);
    }
    ~WaitCursor()
    {
        if (m_set)
            m_set(false);
    }

private:
    const std::function<void(bool)>& m_set;
};

}  // namespace

bool runBackupCopy(Database& db, Prompts& prompts, MessageLog& log, const BackupEnvironment& env)
{
    FileDialogOptions options;
    options.title = backuptexts::dialogTitle();
    const QFileInfo suggested(backup::defaultTarget(env.currentFolder));
    options.folder = QDir::toNativeSeparators(suggested.absolutePath());
    options.fileName = suggested.fileName();
    QString chosen = QDir::toNativeSeparators(suggested.absoluteFilePath());
    if (!prompts.saveFile(options, chosen) || chosen.trimmed().isEmpty())
        return false;

    const QString folder = QDir::cleanPath(QDir::fromNativeSeparators(chosen.trimmed()));
    const QString shown = QDir::toNativeSeparators(folder);
    if (QFileInfo::exists(folder)) {
        prompts.showError(QStringLiteral("Folder o nazwie ") + shown + QStringLiteral(" już istnieje"));
        return false;
    }
    if (!QDir().mkpath(folder)) {
        prompts.showError(QStringLiteral("Nie można utworzyć ") + shown);
        return false;
    }

    if (prompts.askYesNo(backuptexts::includeProgram()) && !env.programFile.isEmpty()) {
        const QString name = QFileInfo(env.programFile).fileName();
        const QString copy = QDir(folder).filePath(name);
        if (!QFileInfo::exists(copy))
            QFile::copy(env.programFile, copy);
        if (env.programCopied)
            env.programCopied(name);
    }

    const QString baza = QDir(folder).filePath(QStringLiteral("Baza"));
    if (!QDir().mkpath(baza)) {
        prompts.showError(QStringLiteral("Nie można utworzyć ") + QDir::toNativeSeparators(baza));
        return false;
    }

    WaitCursor wait(env.waitCursor);
    log.setTitle(backuptexts::progressTitle());
    log.clearMessages();
    log.resetProgress();
    log.show(true);
    int steps = 0;
    backup::copyStore(db, baza, [&](int total, const QString& entry) {
        steps = total;
        log.step(total, entry);
    });
    log.step(steps, backuptexts::finished(), false);
    return true;
}
