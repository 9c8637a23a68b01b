#pragma once
// The main window's "Eksportuj grupę dzieci" and "Importuj grupę dzieci":
// the questions and folder dialogs around the export and import, with the
// folders remembered per user (group "Synchronizacja": EksportGrupy,
// EksportGrupy + group code, ImportGrupy).

#include <QString>

class KeyValueSettings;
struct RunContext;

namespace groupflow {

inline QString settingsGroup() { return QStringLiteral("Synchronizacja"); }
inline QString exportKey() { return QStringLiteral("EksportGrupy"); }
inline QString importKey() { return QStringLiteral("ImportGrupy"); }

inline QString skipGroupDataQuestion()
{
    return QStringLiteral("Pominąć obecności, obecności na zajęcach dodatkowych i płatności dodatkowe?\n"
                          "(które domyślnie przychodzą tylko z grup)");
}

// C:\Grupa on Windows, the folder Grupa in the user's home elsewhere.
QString defaultFolder();

// Both return true when the transfer ran to its end.
bool exportGroup(RunContext& context, KeyValueSettings& settings, const QString& defaultRoot = defaultFolder());
bool importGroup(RunContext& context, KeyValueSettings& settings, const QString& defaultRoot = defaultFolder());

}  // namespace groupflow
