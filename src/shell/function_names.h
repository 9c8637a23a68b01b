#pragma once
// The function-name table: which function a command belongs to. An entry's
// identifier is the class of the window or module holding the command, a
// point and the command's name ("TFmMain.Dzieci1").

#include <QList>
#include <QString>
#include <QStringList>

namespace functions {

struct Entry {
    QString identifier;
    QString caption;
    QString function;
};

// Every entry, in order.
const QList<Entry>& table();

// The function names of the table, once per entry (the service account's
// grant).
QStringList allFunctionNames();

// The function of a command, empty when the command has none (always shown).
QString functionOf(const QString& identifier);

}  // namespace functions
