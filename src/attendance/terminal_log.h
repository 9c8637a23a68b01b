#pragma once
// The terminal's log: one plain-text file a month, "O" + yymm + ".txt", in
// the folder OBEC beside the program, with a line for every press of "OK"
// made for a child: "dd hh:mm:ss", a tab and the code as it was typed.
// Writing it never stops an entry: its errors are ignored.

#include <QDateTime>
#include <QString>

namespace terminal {

// OBEC beside the program file.
QString defaultLogFolder();
// "O0703.txt" for March 2007.
QString logFileName(QDate day);
// "05 07:31:02\t570123"
QString logLine(const QDateTime& moment, const QString& code);
// Makes the folder when missing; false when it cannot be made.
bool prepareLogFolder(const QString& folder);
// Appends the line to the month's file in the folder (code page 1250, CR LF).
void appendLog(const QString& folder, const QDateTime& moment, const QString& code);

}  // namespace terminal
