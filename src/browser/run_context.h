#pragma once
// What every data module sees of the run: the store session, the login,
// the parameters and institution, the run-wide settings, the user's
// prompts and the way windows are opened.

#include "shell/current_login.h"
#include "store/institution.h"
#include "store/params.h"

#include <QDate>

class AreaRegistry;
class Database;
class MessageLog;
class Prompts;
class TDMBaza;
class Table;
class WindowOpener;

// Settings of the run kept by the main window.
struct RunSettings {
    bool modalWindows = false;   // "Okna modalne"
    bool autoEdit = true;        // "Auto edycja"
    bool raisedButtons = false;  // "Wypukle przyciski"
    bool stayOnTop = false;
    bool oneGroupMode = false;
};

struct RunContext {
    TDMBaza& baza;
    Prompts& prompts;
    WindowOpener& opener;
    AreaRegistry& areas;
    CurrentLogin login;
    Parameters params;
    Institution institution;
    RunSettings settings;
    // The message window of long operations; null where there is none.
    MessageLog* messages = nullptr;

    Database& db() const;
    QDate systemDate() const;
    bool systemDateFilter() const;
    // Dated rows more than a year away from the system date are hidden while
    // the system-date filter is on.
    bool passesSystemDateFilter(const QDate& from, const QDate& to) const;
    // Gives a dated list (ODDATY, DODATY) that filter as its row test.
    void filterBySystemDate(Table& table) const;
};
