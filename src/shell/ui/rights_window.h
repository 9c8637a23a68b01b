#pragma once
// The rights window of the users and user groups registers ("Prawa
// dostępu " + the row's name): every table of the store with the level the
// row's credential has on it, each table's fields below it, "&Dane praw" on
// the selected node and "Prawa &wybranych tabel". It follows the register's
// current row.

#include "browser/ui/tfm_podstawa.h"
#include "shell/rights_editor.h"
#include "shell/rights_window_opener.h"

#include <QPointer>

class QAction;
class QTreeWidget;
class QTreeWidgetItem;
class Table;
struct RunContext;

class TFmPrawa : public TFmPodstawa {
    Q_OBJECT
public:
    // `letter` is 'U' for the users register, 'G' for the groups register.
    TFmPrawa(RunContext& context, Table& registerRows, QChar letter, QWidget* parent = nullptr);

    QTreeWidget* tree() const { return m_tree; }
    QAction* rightsAction() const { return m_rights; }
    QAction* selectedTablesAction() const { return m_selectedTables; }
    // The node of a table; null when it is not shown.
    QTreeWidgetItem* tableNode(const QString& table) const;

    // The icon of a tree image (rights_levels' numbering).
    static QIcon levelIcon(int image);

    // Reads the register's current row and every table again.
    void reloadAll();

    // The level dialog the window asks with; the desktop's TDlPrawa unless a
    // test gives another.
    void setLevelDialog(RightsEditor::LevelDialog dialog);

private:
    void showTable(QTreeWidgetItem* node, const rights_editing::TableLevels& levels, bool withFields);
    void readTable(QTreeWidgetItem* node);
    void editSelected();
    void editSelectedTables();

    RunContext& m_context;
    QPointer<Table> m_rows;
    QChar m_letter;
    RightsEditor m_editor;
    QTreeWidget* m_tree;
    QAction* m_rights;
    QAction* m_selectedTables;
};

// The desktop's opener for the registers: one window per register, raised
// when it is open already.
RightsWindowOpener rightsWindowOpener();
