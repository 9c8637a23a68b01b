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

#include <functional>
#include <optional>

namespace groupflow {

namespace {

QString finished() { return QStringLiteral("Koniec operacji"); }

// In one-group mode the remembered folder is offered first: "OK" keeps it,
// "Inny" asks through `dialog`, closing cancels. Elsewhere `dialog` asks at
// once. Nothing when cancelled.
std::optional<QString> chooseFolder(Prompts& prompts, bool oneGroup, const QString& choiceTitle,
                                    const QString& remembered, const std::function<bool(QString&)>& dialog)
{
    if (oneGroup) {
        const int button = prompts.askChoice(choiceTitle, QDir::toNativeSeparators(remembered),
                                             {QStringLiteral("OK"), QStringLiteral("Inny")});
        if (button == -1)
            return remembered;
        if (button != -2)
            return std::nullopt;
    }
    QString chosen;
    if (!dialog(chosen))
        return std::nullopt;
    return chosen;
}

// The message window for the transfer; a refusal or failure is shown as
// an error, a transfer run to its end ends with "Koniec operacji".
bool runLogged(RunContext& context, const QString& title, const std::function<void(MessageLog*)>& transfer)
{
    MessageLog* log = context.messages;
    if (log) {
        log->setTitle(title);
        log->clearMessages();
        log->resetProgress();
        log->show(true);
    }
    try {
        transfer(log);
    } catch (const Error& e) {
        context.prompts.showError(e.message());
        return false;
    }
    if (log)
        log->step(0, finished(), false);
    return true;
}

// The group to export (all rows when the store has one group); false when
// the choice was cancelled.
bool chooseGroup(Prompts& prompts, const QList<QPair<int, QString>>& groups, groupexport::Options& options,
                 QString& groupName)
{
    if (groups.size() <= 1)
        return true;
    QList<PickEntry> entries;
    for (const auto& [kod, name] : groups)
        entries << PickEntry{name, kod};
    QVariant chosen;
    if (!prompts.pickFromList(QStringLiteral("Wybierz grupę dzieci do wyeksportowania"), QString(), entries, chosen))
        return false;
    options.group = chosen.toInt();
    for (const auto& [kod, name] : groups)
        if (kod == *options.group)
            groupName = name;
    return true;
}

// A group installation sends attendance from a month on (cancel: all of
// it); the main installation may leave the group data out.
void chooseAttendance(RunContext& context, bool oneGroup, groupexport::Options& options)
{
    Prompts& prompts = context.prompts;
    if (!oneGroup) {
        options.skipGroupData = prompts.askYesNo(skipGroupDataQuestion());
        return;
    }
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
    const bool oneGroup = grouptransfer::oneGroupStore(db);
    groupexport::Options options;
    QString groupName;
    if (!chooseGroup(prompts, grouptransfer::groups(db), options, groupName))
        return false;
    chooseAttendance(context, oneGroup, options);

    const QString group = settingsGroup();
    const QString groupKey = options.group ? exportKey() + QString::number(*options.group) : QString();
    QString remembered = defaultRoot + (groupName.isEmpty() ? QString() : QStringLiteral("_") + groupName);
    if (!groupKey.isEmpty() && !oneGroup && settings.contains(group, groupKey))
        remembered = settings.text(group, groupKey);
    else if (settings.contains(group, exportKey()))
        remembered = settings.text(group, exportKey());
    const auto folder = chooseFolder(prompts, oneGroup, QStringLiteral("Katalog docelowy eksportu dzieci"), remembered,
                                     [&](QString& chosen) {
        FileDialogOptions dialog;
        dialog.title = QStringLiteral("Określ nazwę katalogu");
        dialog.folder = QFileInfo(remembered).absolutePath();
        dialog.fileName = QFileInfo(remembered).fileName();
        dialog.filter = QStringLiteral("Katalogi|*.");
        if (!prompts.saveFile(dialog, chosen))
            return false;
        // A file picked inside an earlier transfer folder means that folder.
        const QFileInfo picked(chosen);
        if (!picked.isDir() && QFileInfo::exists(grouptransfer::transferFile(picked.absolutePath())))
            chosen = picked.absolutePath();
        settings.setValue(group, exportKey(), chosen);
        if (!groupKey.isEmpty())
            settings.setValue(group, groupKey, chosen);
        return true;
    });
    if (!folder)
        return false;
    return runLogged(context, QStringLiteral("Eksportuj grupę dzieci"),
                     [&](MessageLog* log) { groupexport::run(db, *folder, options, log); });
}

bool importGroup(RunContext& context, KeyValueSettings& settings, const QString& defaultRoot)
{
    Prompts& prompts = context.prompts;
    Database& db = context.db();
    const bool oneGroup = grouptransfer::oneGroupStore(db);
    const QString group = settingsGroup();
    const QString remembered = settings.contains(group, importKey()) ? settings.text(group, importKey()) : defaultRoot;
    const auto folder =
        chooseFolder(prompts, oneGroup, QStringLiteral("Katalog z danymi"), remembered, [&](QString& chosen) {
            FileDialogOptions dialog;
            dialog.title = QStringLiteral("Wybierz katalog z danymi");
            dialog.folder = remembered;
            dialog.fileName = QStringLiteral("lunawa.db");
            dialog.filter = QStringLiteral("Pliki danych|*.db");
            if (!prompts.openFile(dialog, chosen))
                return false;
            chosen = QFileInfo(chosen).absolutePath();
            if (QFileInfo(chosen).isDir())
                settings.setValue(group, importKey(), chosen);
            return true;
        });
    if (!folder)
        return false;
    try {
        groupimport::checkSource(db, *folder);
    } catch (const Error& e) {
        prompts.showError(e.message());
        return false;
    }
    groupimport::Options options;
    if (!oneGroup)
        options.groupDataOnly = prompts.askYesNo(groupimport::onlyGroupDataQuestion());
    return runLogged(context, QStringLiteral("Importuj grupę dzieci"),
                     [&](MessageLog* log) { groupimport::run(db, *folder, prompts, options, log); });
}

}  // namespace groupflow
