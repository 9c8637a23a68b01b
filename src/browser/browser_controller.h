#pragma once
// What a record browser decides without a screen: its title and settings
// key, the module commands it shows, its stored layout, quick filters,
// search state, double-click routing and the windows it was opened from
// and has opened. The window is a view over it.

#include "browser/column_layout.h"
#include "browser/data_filter.h"
#include "browser/quick_filters.h"
#include "browser/record_search.h"
#include "browser/toolbar_buttons.h"
#include "browser/window_title.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

class KeyValueSettings;
class TDMDane;
class Table;
struct Command;
struct DataSet;
struct FieldView;
struct RunContext;

namespace browser {

struct OpenRequest {
    OpenedFrom from = OpenedFrom::Other;
    QString text;  // the command's caption, the button's text or the field's caption
    bool pickMode = false;
    bool multiInsert = false;
};

// The stored arrangement of a window.
struct Layout {
    QList<layout::Column> columns;  // in the order shown
    QList<toolbar::Slot> buttons;
    QStringList quickFilters;
    bool dataSheet = true;
    int dataSheetWidth = 250;
    bool toolbarShown = true;
    int doubleClickCommand = -1;  // index into commands()
};

enum class DoubleClick { Calculator, Choose, Command, Nothing };

class Controller {
public:
    Controller(TDMDane* module, DataSet& dataSet, RunContext& context, KeyValueSettings& settings,
               const OpenRequest& request);
    ~Controller();
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    TDMDane* module() const { return m_module; }
    DataSet& dataSet() const { return m_dataSet; }
    Table& table() const;
    RunContext& context() const { return m_context; }
    KeyValueSettings& settings() const { return m_settings; }
    const OpenRequest& request() const { return m_request; }
    bool pickMode() const { return m_request.pickMode; }

    const QString& baseTitle() const { return m_baseTitle; }
    // A title the module gives while the window is open; the settings key
    // stays the one the window opened with.
    void setBaseTitle(const QString& title) { m_baseTitle = title; }
    // With the master row's CAPTION for a detail window.
    QString title() const;
    const QString& settingsKey() const { return m_key; }
    bool dataSheetAvailable() const { return hasDataSheet(m_baseTitle); }

    // The shown module commands, separators tidied.
    const QList<Command*>& commands() const { return m_commands; }
    // The visible fields in field order, and their default widths.
    QList<const FieldView*> visibleFields() const;
    QStringList searchFields() const;  // role "Szukaj"

    // Opening the table if it is closed; it is closed again afterwards.
    void open();

    // Whether the module lets the browser insert or delete rows; when not,
    // the browser's insert and delete do nothing and say nothing.
    bool canInsert() const;
    bool canDelete() const;

    // Runs the module's choice of the value of `field` on the current row;
    // false when the field has none. A refusal is shown (a silent one is
    // not) and an edit the choice started is cancelled.
    bool chooseValue(const QString& field);
    bool hasChoice(const QString& field) const;
    // Tells the module the browser's current column.
    void currentFieldChanged(const QString& field);

    Layout loadLayout(const QList<layout::Column>& defaultColumns) const;
    void saveLayout(const Layout& layout) const;

    // The data filter (the filter dialog's entries, which the quick
    // filters edit too), chained after the table's own row test.
    datafilter::Filter& filters() { return *m_filters; }
    const QStringList& quickFilters() const { return m_quickFilters; }
    void setQuickFilters(const QStringList& fields);
    // Makes the switched-on entries the active filter and re-reads the
    // rows; throws Error for a bound that does not read as its field's type.
    void applyFilters();
    // Re-reads the rows through the active filter (installing it on first use).
    void refilter();

    search::State& searchState() { return m_search; }

    DoubleClick doubleClick(bool calculatorShown) const;
    int doubleClickCommand() const { return m_doubleClick; }
    void setDoubleClickCommand(int index) { m_doubleClick = index; }
    // "&Podwójne kliknięcie"; false when cancelled.
    bool chooseDoubleClick();

    // "Poprzednie" / "Następne": the window this one was opened from and
    // those opened from its commands.
    void setPrevious(QObject* window) { m_previous = window; }
    QObject* previous() const { return m_previous; }
    void addNext(QObject* window, const QString& label);
    // The only one, else the one picked from "Wybór okna"; null for none.
    QObject* chooseNext();

private:
    TDMDane* m_module;
    DataSet& m_dataSet;
    RunContext& m_context;
    KeyValueSettings& m_settings;
    OpenRequest m_request;
    QString m_baseTitle;
    QString m_key;
    QList<Command*> m_commands;
    bool m_wasOpen = false;
    QPointer<Table> m_table;  // the data set may go before the window when its module does
    std::shared_ptr<datafilter::Filter> m_filters;
    std::unique_ptr<datafilter::Installed> m_installed;
    QStringList m_quickFilters;
    search::State m_search;
    int m_doubleClick = -1;
    QPointer<QObject> m_previous;
    struct Next {
        QPointer<QObject> window;
        QString label;
    };
    QList<Next> m_next;
};

// Shown commands with no leading, doubled or trailing separators.
QList<Command*> tidiedCommands(QList<Command>& commands);

}  // namespace browser
