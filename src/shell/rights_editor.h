#pragma once
// What the rights window does, without the window: the subject whose
// rights are shown (a user or a user group, from the register's current
// row), reading every table's levels, and writing a chosen level for a
// table, a field or several tables. The window shows the results as a tree.

#include "rights_descriptors.h"

#include <functional>
#include <optional>

class Database;
class Prompts;

class RightsEditor {
public:
    // Asks for a level: the dialog's title, field levels ("Nic", "Czyta",
    // "Wszystko") or table levels, the preset level (-1 for none) and the
    // chosen one on OK (a field level as 0, 1 or 5).
    using LevelDialog = std::function<bool(const QString& title, bool fieldLevels, int& level)>;

    RightsEditor(Database& db, Prompts& prompts, LevelDialog levelDialog);
    void setLevelDialog(LevelDialog levelDialog) { m_levelDialog = std::move(levelDialog); }

    // The row's code (0 when the row is not saved yet: nothing is written
    // then) and its caption.
    void setSubject(rights_editing::Subject subject, const QString& caption);
    const rights_editing::Subject& subject() const { return m_subject; }
    QString title() const;  // "Prawa dostępu " + caption

    static QString readErrorMessage();  // "Wystąpiły błędy przy pobieraniu informacji"
    static QString selectedTablesName();  // "Wybrane tabele"
    static QString chooseTablesTitle();   // "Wybierz tabele"

    // The levels on every table of the store, in the store's order; a table
    // that cannot be read is left out and the error shown once.
    QList<rights_editing::TableLevels> readAll();
    // One table; nothing when it cannot be read (nothing is shown).
    std::optional<rights_editing::TableLevels> read(const QString& table);

    // "&Dane praw" on a table node at `current`; true when a level was written.
    bool chooseTableLevel(const QString& table, int current);
    // "&Dane praw" on a field node.
    bool chooseFieldLevel(const QString& table, const QString& field, int current);
    // "Prawa &wybranych tabel": the level, then the tables. `before` runs for
    // each checked table before it is written, `after` once it is; an error
    // on one table is shown and the next one follows. The tables written.
    QStringList chooseSelectedTables(const std::function<void(const QString&)>& before = {},
                                     const std::function<void(const QString&)>& after = {});

private:
    bool writable() const { return m_subject.code > 0; }
    bool guarded(const std::function<void()>& write);

    Database& m_db;
    Prompts& m_prompts;
    LevelDialog m_levelDialog;
    rights_editing::Subject m_subject;
    QString m_caption;
};
