#include "group_transfer_flow.h"

#include "group_export.h"
#include "group_import.h"
#include "group_transfer.h"

#include "browser/key_value_settings.h"
#include "browser/message_log.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "store/error.h"

#include <QDir>
#include <QFileInfo>

namespace groupflow {

namespace {

QString finished() { return QStringLiteral("Koniec operacji"); }

// "OK" keeps the remembered folder, "Inny" asks for another; closing cancels.
enum class Keep { Use, Other, Cancel };
Keep keepFolder(Prompts& prompts, const QString& title, const QString& folder)
{
    const int button = prompts.askChoice(title, QDir::toNativeSeparators(folder), {QStringLiteral("OK"), QStringLiteral("Inny")});
    return button == -1 ? Keep::Use : button == -2 ? Keep::Other : Keep::Cancel;
}

void startLog(MessageLog* log, const QString& title)
{
    if (!log)
        return;
    log->setTitle(title);
    log->clearMessages();
    log->resetProgress();
    log->show(true);
}

}  // namespace

QString defaultFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Grupa");
#else
    return QDir(QDir::homePath()).filePath(QStringLiteral("Grupa"));
#endif
}

bool exportGroup(RunContext& context, KeyValueSettings& settings, const QString& defaultRoot)
{
    Prompts& prompts = context.prompts;
    Database& db = context.db();
    groupexport::Options options;
    QString groupName;
    try {
        const bool oneGroup = grouptransfer::oneGroupStore(db);
        const auto groups = grouptransfer::groups(db);
        if (groups.size() > 1) {
            QList<PickEntry> entries;
            for (const auto& [kod, name] : groups)
                entries << PickEntry{name, kod};
            QVariant chosen;
            if (!prompts.pickFromList(QStringLiteral("Wybierz grupę dzieci do wyeksportowania"), QString(), entries,
                                      chosen))
                return false;
            options.group = chosen.toInt();
            for (const auto& [kod, name] : groups)
                if (kod == *options.group)
                    groupName = name;
        }
        if (oneGroup) {
            QDate month = context.systemDate();
            if (month.day() <= 10)
                month = month.addMonths(-1);
            int year = month.year();
            int mon = month.month();
            if (prompts.pickMonth(QStringLiteral("Granica obecności"),
                                  QStringLiteral("Podaj dolną granicę dla eksportowanych obecności (\"Anuluj\" "
                                                 "wyeksportuje całą historię)"),
                                  year, mon))
                options.attendanceFrom = QDate(year, mon, 1);
        } else {
            options.skipGroupData = prompts.askYesNo(
                QStringLiteral("Pominąć obecności, obecności na zajęcach dodatkowych i płatności dodatkowe?\n"
                               "(które domyślnie przychodzą tylko z grup)"));
        }
        const QString group = settingsGroup();
        const QString groupKey = options.group ? exportKey() + QString::number(*options.group) : QString();
        QString folder = defaultRoot + (groupName.isEmpty() ? QString() : QStringLiteral("_") + groupName);
        if (!groupKey.isEmpty() && !oneGroup && settings.contains(group, groupKey))
            folder = settings.text(group, groupKey);
        else if (settings.contains(group, exportKey()))
            folder = settings.text(group, exportKey());
        Keep keep = Keep::Other;
        if (oneGroup)
            keep = keepFolder(prompts, QStringLiteral("Katalog docelowy eksportu dzieci"), folder);
        if (keep == Keep::Cancel)
            return false;
        if (keep == Keep::Other) {
            FileDialogOptions dialog;
            dialog.title = QStringLiteral("Określ nazwę katalogu");
            dialog.folder = QFileInfo(folder).absolutePath();
            dialog.fileName = folder;
            dialog.filter = QStringLiteral("Katalogi|*.");
            QString chosen;
            if (!prompts.saveFile(dialog, chosen))
                return false;
            // A file picked inside an earlier transfer folder means that folder.
            const QFileInfo picked(chosen);
            folder = QFileInfo::exists(grouptransfer::transferFile(picked.absolutePath())) && !picked.isDir()
                ? picked.absolutePath()
                : chosen;
            settings.setValue(group, exportKey(), folder);
            if (!groupKey.isEmpty())
                settings.setValue(group, groupKey, folder);
        }
        startLog(context.messages, QStringLiteral("Eksportuj grupę dzieci"));
        groupexport::run(db, folder, options, context.messages);
    } catch (const Error& e) {
        prompts.showError(e.message());
        return false;
    }
    if (context.messages)
        context.messages->step(0, finished(), false);
    return true;
}

bool importGroup(RunContext& context, KeyValueSettings& settings, const QString& defaultRoot)
{
    Prompts& prompts = context.prompts;
    Database& db = context.db();
    try {
        const bool oneGroup = grouptransfer::oneGroupStore(db);
        const QString group = settingsGroup();
        QString folder = settings.contains(group, importKey()) ? settings.text(group, importKey()) : defaultRoot;
        Keep keep = Keep::Other;
        if (oneGroup)
            keep = keepFolder(prompts, QStringLiteral("Katalog z danymi"), folder);
        if (keep == Keep::Cancel)
            return false;
        if (keep == Keep::Other) {
            FileDialogOptions dialog;
            dialog.title = QStringLiteral("Wybierz katalog z danymi");
            dialog.folder = folder;
            dialog.fileName = QStringLiteral("lunawa.db");
            dialog.filter = QStringLiteral("Pliki danych|*.db");
            QString chosen;
            if (!prompts.openFile(dialog, chosen))
                return false;
            folder = QFileInfo(chosen).absolutePath();
            if (!QFileInfo(folder).isDir()) {
                prompts.showError(grouptransfer::missingFolderMessage(folder));
                return false;
            }
            settings.setValue(group, importKey(), folder);
        }
        groupimport::checkSource(db, folder);
        groupimport::Options options;
        if (!oneGroup)
            options.groupDataOnly = prompts.askYesNo(groupimport::onlyGroupDataQuestion());
        startLog(context.messages, QStringLiteral("Importuj grupę dzieci"));
        groupimport::run(db, folder, prompts, options, context.messages);
    } catch (const Error& e) {
        prompts.showError(e.message());
        return false;
    }
    if (context.messages)
        context.messages->step(0, finished(), false);
    return true;
}

}  // namespace groupflow
