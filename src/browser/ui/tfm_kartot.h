#pragma once
// The record browser: one data set of a module in a grid, with its data
// sheet, navigator, quick searches and filters, and the module's commands
// in "&Dane", the grid's popup and the toolbar (one action each).

#include "browser/browser_controller.h"
#include "browser/clipboard_text.h"
#include "browser/pick_assignment.h"
#include "browser/ui/tfm_podstawa.h"

#include <QHash>
#include <QPointer>
#include <QList>
#include <functional>
#include <memory>
#include <optional>

class ColumnSizer;
class SumFooter;
class KeyValueSettings;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTableView;
class QToolBar;
class QToolButton;
class QWidget;
class RecordModel;
class TDMDane;
class TFmFiltr;
struct Command;
struct DataSet;
struct RunContext;

class TFmKartot : public TFmPodstawa {
    Q_OBJECT
public:
    // Operations of later parts (printout, calculator). Their menu items
    // stay hidden while no hook is installed.
    struct Hooks {
        std::function<void(TFmKartot&)> print;
        std::function<void(TFmKartot&, const QString& value)> calculator;
        // While the calculator is shown a double-click feeds it the cell.
        std::function<bool()> calculatorShown;
        std::function<void(const QString& value)> feedCalculator;
        // The main window's part in "Inside": the caption of its command
        // whose window this is (empty for none), and running the command of
        // a caption, giving the window it opened (null for none).
        std::function<QString(const TFmKartot&)> mainCommandCaption;
        std::function<TFmKartot*(const QString& caption)> runMainCommand;
    };
    static Hooks& hooks();

    TFmKartot(TDMDane* module, DataSet& dataSet, RunContext& context, KeyValueSettings& settings,
              const browser::OpenRequest& request, Command* owner, QWidget* openedFrom = nullptr);
    ~TFmKartot() override;

    browser::Controller& controller() { return *m_controller; }
    DataSet& dataSet() const;
    Table& table() const;
    Command* owner() const { return m_owner; }
    QTableView* grid() const { return m_grid; }
    RecordModel* model() const { return m_model; }
    SumFooter* footer() const { return m_footer; }
    QToolBar* toolbar() const { return m_toolbar; }
    // The action with this caption (with its "&"), among menus and hidden ones.
    QAction* action(const QString& caption) const;
    QAction* commandAction(const Command* c) const;
    QList<QAction*> toolbarActions() const;

    // Pick mode: what the chosen row is for; true after "&Wybierz" closed the window.
    void setPickTarget(const pick::Target& target) { m_pickTarget = target; }
    bool chosen() const { return m_chosen; }
    // Shows the window modally and returns when it is closed.
    void runModal();

    // The grid rows selected, in selection order.
    QList<int> selectedRows() const;
    void selectOnly(int row);
    QString currentField() const;

    // Operations of the menus (also for tests).
    void search();
    void searchAgain();
    void sort();
    // A click on a column's title: an ordering of the table starting with
    // the column where there is one, else the view's own sort.
    void sortByColumn(int logical);
    void copy();
    void copyChosen();
    void cut();
    void pasteText(const QString& text);
    void paste();
    // The docked window's navigator puts its title before the question.
    void deleteSelected(const QString& questionPrefix = QString());
    void choose();
    void editField(const QString& field);
    void insertFromSheet();
    void setUpButtons();
    void setUpQuickFilters();
    // "&Filtruj": the filter dialog, made on first use and kept while the
    // window lives.
    void filter();
    TFmFiltr* filterDialog() const;
    void chooseDoubleClick();
    void previousWindow();
    void nextWindow();
    void pickSystemDate();
    void toggleSystemDateFilter(bool on);
    void refresh();
    // Mirrors the check state of every command that opens a window.
    void refreshCommandChecks();
    static void refreshAllCommandChecks();

    // True once the window has accepted closing (it goes at the next turn).
    bool closed() const { return m_closing; }
    // Runs the commands named in "Inside" and docks the windows they open
    // here; once, after the window is shown.
    void restoreDocked();
    // The browser whose module command is running, null for none: what the
    // command opens is opened from it.
    static TFmKartot* commandWindow();
    // The browser the navigator acts on: a window docked here while the
    // focus is in it, else this one.
    TFmKartot* navigatorTarget();

    browser::Layout currentLayout() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildActions();
    void buildMenus();
    void buildPanel();
    void buildNavigator(QHBoxLayout* row);
    void buildGrid();
    void buildSheet();
    void rebuildToolbar();
    void rebuildQuickFilters(const QStringList& fields);
    void addQuickSearch(const QString& field);
    void addQuickFilter(const QString& field);
    // A quick filter's change applied; the grid follows.
    void applyQuickFilter();
    // Every quick filter shows its field's filter entry.
    void mirrorQuickFilters();
    void applyLayout(const browser::Layout& layout);
    void applyColumns(const QList<layout::Column>& columns);
    // The module changed the fields of the data set or its title.
    void redoColumns();
    void retitle(const QString& title);
    void rememberColumns();
    // The header's sort indicator on the column the rows are sorted by.
    void showSort();
    // Which leading columns stay in place while the others scroll.
    void updateFrozen();
    // The stored place and width of a field's column, nothing when none.
    std::optional<int> storedColumn(const QString& field) const;
    void refreshCommandTexts();
    void fillSheet();
    void giveModuleShortcutsPrecedence();
    void syncGridToTable();
    void gridRowChanged(int row, int previousRow);
    void refreshSheet();
    void commitSheetEditor(QWidget* editor);
    // Keys of the grid and the sheet (their popups' Ctrl+K and Insert).
    void attachLocalShortcuts();
    // A key the window's commands take wins over an edit box's own use of it.
    bool windowTakesKey(const QKeyEvent* key) const;
    void watchCellEditor(QWidget* editor);
    // The data-sheet editor with the focus, null when the focus is elsewhere.
    QWidget* focusedSheetEditor() const;
    // The edit box whose own clipboard Ctrl+C, Ctrl+X and Ctrl+V use:
    // the grid's cell editor or a data-sheet editor with the focus.
    QLineEdit* ownClipboardEditor() const;
    // The value Ctrl+K and a double-click hand the calculator.
    QString calculatorValue(QWidget* sheetEditor) const;
    // Typing may begin an edit of the row, or the row is being edited.
    bool mayType() const;
    bool gridKey(QKeyEvent* key);
    bool sheetKey(QWidget* editor, QKeyEvent* key);
    void doubleClicked();
    void moveMaster(bool down);
    void setTitleFromMaster();
    bool gridEditing() const;
    void commitGridEditor();
    void commitPendingTyping();
    void runCommand(Command* c);
    static QPointer<TFmKartot>& runningCommandWindow();
    // Captions of the commands whose windows are docked here.
    QStringList dockedCommandCaptions() const;
    enum class Nav { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
    void navigate(Nav button);
    QList<clip::Column> clipColumns() const;
    bool post();
    QAction* makeAction(const QString& caption, const QString& shortcut, void (TFmKartot::*slot)());

    std::unique_ptr<browser::Controller> m_controller;
    QPointer<Table> m_table;
    RunContext& m_context;
    Command* m_owner;
    RecordModel* m_model = nullptr;
    ColumnSizer* m_sizer = nullptr;
    SumFooter* m_footer = nullptr;
    QTableView* m_grid = nullptr;
    QToolBar* m_toolbar = nullptr;
    QWidget* m_panel = nullptr;
    QHBoxLayout* m_panelLayout = nullptr;
    QHBoxLayout* m_quickLayout = nullptr;
    QPushButton* m_choose = nullptr;
    QSplitter* m_splitter = nullptr;
    QScrollArea* m_sheet = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_dataMenu = nullptr;
    QMenu* m_gridPopup = nullptr;
    QMenu* m_gridDataMenu = nullptr;
    QMenu* m_sheetPopup = nullptr;
    QList<QAction*> m_actions;  // generic ones, by caption
    QHash<const Command*, QAction*> m_commandActions;
    QList<toolbar::Slot> m_buttons;
    QStringList m_quickFilterFields;
    QList<QWidget*> m_quickWidgets;
    QPointer<TFmFiltr> m_filterDialog;
    QList<QLineEdit*> m_searchBoxes;
    struct SheetRow {
        QString field;
        QWidget* editor = nullptr;
        QLabel* caption = nullptr;
    };
    QList<SheetRow> m_sheetRows;
    // The width of every column shown while the window is open, by field
    // name in upper case: a column the module shows again comes back as
    // wide as the user left it.
    QHash<QString, int> m_knownWidths;
    QAction* m_sheetAction = nullptr;
    QAction* m_toolbarAction = nullptr;
    QAction* m_systemDateAction = nullptr;
    QAction* m_dateFilterAction = nullptr;
    pick::Target m_pickTarget;
    bool m_chosen = false;
    bool m_syncing = false;
    bool m_closing = false;
    bool m_dockedRestored = false;
    bool m_autoEdit = true;  // "Auto edycja" when the window was made
    QMetaObject::Connection m_moduleGone;  // "Inside" is written only when it was read
};
