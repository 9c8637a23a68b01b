#pragma once
// "&Eksportuj": the backup copy of the store into a new folder chosen by
// the user, with the program file when asked for.

#include <QString>

#include <functional>

class Database;
class MessageLog;
class Prompts;

struct BackupEnvironment {
    QString currentFolder;  // where the default target is looked for
    QString programFile;    // copied when the user asks for it
    std::function<void(const QString& programName)> programCopied;
    std::function<void(bool on)> waitCursor;
};

// False when the user cancelled or a message ended the command; true when
// the copy was made. A failure of the copy itself throws Error.
bool runBackupCopy(Database& db, Prompts& prompts, MessageLog& log, const BackupEnvironment& environment);

namespace backuptexts {
inline QString dialogTitle() { return QStringLiteral("Kopiuj bazę do"); }
inline QString includeProgram() { return QStringLiteral("Uwzględnić plik wykonywalny?"); }
inline QString progressTitle() { return QStringLiteral("Kopiowanie zbiorów"); }
inline QString finished() { return QStringLiteral("Koniec operacji"); }
}  // namespace backuptexts
