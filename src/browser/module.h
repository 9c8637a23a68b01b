#pragma once
// The contract between a data module and the record browser.
//
// A module (TDMDane and the area modules derived from it) owns cursors and
// declares, for the browser:
//   DataSet    a cursor with the presentation of its fields
//   FieldView  caption, visibility, read-only, format, alignment, role, mark
//   Command    the commands of a data set (what the browser shows in "&Dane",
//              its popup and toolbar), each with the function-name identifier
// Rules live in the cursors' events; a rule refuses with Error(message).

#include "run_context.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class Table;

// Role markers of a field.
namespace roles {
inline QString search() { return QStringLiteral("Szukaj"); }
inline QString filter() { return QStringLiteral("Filtruj"); }
inline QString attendance() { return QStringLiteral("Obecność"); }
inline QString count() { return QStringLiteral("Ile"); }
inline QString arrival() { return QStringLiteral("Czas przyjścia"); }
inline QString departure() { return QStringLiteral("Czas wyjścia"); }
inline QString extraCharge() { return QStringLiteral("Naliczenie dodatkowe"); }
}  // namespace roles

struct FieldView {
    QString name;     // the cursor's field
    QString caption;  // the column's title
    bool visible = true;
    bool readOnly = false;
    QString displayFormat;  // e.g. "0.00", "dd.MM.yyyy"; empty = the value as text
    Qt::Alignment alignment = Qt::AlignLeft;
    QString role;
    int mark = 0;  // summed in printouts when non-zero; free-day colouring for marks <= 1
    QString expectedAmount;  // "Naliczenie dodatkowe" columns
    QString groupCode;       // "Naliczenie dodatkowe" columns bound to one group
    // Declared bounds of a number field (0 and 0: none): the data filter's
    // default range and the limits of its editors.
    double minValue = 0;
    double maxValue = 0;
    // The module's own choice of the value (a list it makes), run on the
    // current row by the cell's "..." button, Enter and double-click in
    // place of the field editor; such a field is never typed into. True
    // when a value was chosen; a refusal throws Error.
    std::function<bool()> choose;

    static FieldView column(const QString& name, const QString& caption, bool readOnly = false)
    {
        FieldView v;
        v.name = name;
        v.caption = caption;
        v.readOnly = readOnly;
        return v;
    }
    static FieldView formatted(const QString& name, const QString& caption, const QString& format)
    {
        FieldView v = column(name, caption);
        v.displayFormat = format;
        return v;
    }
    // A field the module keeps in the data set but does not show.
    static FieldView hidden(const QString& name, const QString& caption = QString())
    {
        FieldView v = column(name, caption.isEmpty() ? name : caption, true);
        v.visible = false;
        return v;
    }
};

struct Command {
    QString name;      // "Obecnosci1": with the module class, the function-name identifier
    QString caption;   // "Lista &obecności dziecka"
    QString label;     // short label: toolbar caption and hint
    int image = -1;
    QString shortcut;  // "Ctrl+K"
    bool separator = false;
    bool opensWindow = false;  // checked while its window is open; chosen again closes it
    bool visible = true;       // granted by the functions
    // False for a command the module declares but does not offer yet (its
    // window is built later): it stays hidden whatever the functions grant.
    bool wanted = true;
    bool tidiedAway = false;   // an idle separator, hidden by tidying
    bool checked = false;
    std::function<void()> handler;

    bool shown() const { return visible && wanted && !tidiedAway; }

    // `opensWindow`: checked while the window it opened is open.
    static Command make(const QString& name, const QString& caption, const QString& label, bool opensWindow = false)
    {
        Command c;
        c.name = name;
        c.caption = caption;
        c.label = label;
        c.opensWindow = opensWindow;
        return c;
    }

    static Command separatorLine()
    {
        Command c;
        c.separator = true;
        return c;
    }
    QString plainCaption() const;  // without the first "&"
};

struct DataSet {
    QString name;  // "Dzieci": the browser's data source
    Table* table = nullptr;
    QList<FieldView> fields;  // display order; fields of the cursor not listed are hidden
    DataSet* master = nullptr;  // for detail lists: the master's CAPTION extends the title
    QList<Command> commands;    // what was the data set's popup menu

    FieldView* field(const QString& name);
    const FieldView* field(const QString& name) const;
    Command* command(const QString& name);
    // Adds a view for every field of the cursor not yet listed, with the
    // catalogue caption; calculated and lookup fields read-only.
    void addRemainingFields();
};

class TDMDane : public QObject {
    Q_OBJECT
public:
    TDMDane(RunContext& context, const QString& className, QObject* parent = nullptr);
    ~TDMDane() override;

    const QString& className() const { return m_className; }
    RunContext& context() const { return m_context; }

    QList<DataSet*> dataSets() const;
    DataSet* dataSet(const QString& name) const;
    // The data set the browser shows when the module's window opens.
    virtual DataSet* mainDataSet() const;

    // Hides commands whose function is not granted and tidies the lists;
    // run when the module is made and again after a login.
    void applyFunctions();

    // The shared browse operation: opens a browser on `ds`, owned by
    // `owner` (a command of this module, or null for the module's window).
    void browse(DataSet& ds, const QString& title, Command* owner = nullptr);

    // A key typed in a grid column with a role the module handles itself
    // (attendance codes and times, extra charges); Backspace comes as '\b'.
    // True when the module took it.
    virtual bool typedKey(DataSet& ds, const QString& field, QChar key);

    // Whether the browser may insert or delete rows of the data set; when
    // not, its insert and delete do nothing and say nothing.
    virtual bool canInsert(const DataSet&) const { return true; }
    virtual bool canDelete(const DataSet&) const { return true; }

    // The browser on `ds` tells the module its current column whenever it
    // changes and again before a command runs, so that commands act on the
    // column the user chose.
    virtual void currentFieldChanged(DataSet& ds, const QString& field);

    // An area's window owns its module. openAsWindow marks the module and
    // opens its main data set; the opener makes the window it creates the
    // parent of a module that is windowOwned() and has no parent yet, so
    // closing that window frees the module. Detail windows opened later by
    // the module's commands find it parented and leave it alone.
    static void openAsWindow(std::unique_ptr<TDMDane> module, const QString& title);
    bool windowOwned() const { return m_windowOwned; }

signals:
    // The module changed the fields of `ds` (which are shown, their order or
    // captions) or the captions of its commands; the browsers on it redo
    // their columns, data sheet and command texts. The set of commands stays
    // as it was when a browser opened.
    void dataSetChanged(DataSet* ds);
    // The browsers on `ds` take this as their title (a detail window still
    // adds its master's CAPTION); their stored layout stays under the key
    // they opened with.
    void titleChanged(DataSet* ds, const QString& title);

protected:
    // Makes a cursor owned by the module, and its data set.
    DataSet& addDataSet(const QString& name, const QString& table, const QString& ordering = QString());
    Table& table(const QString& dataSetName) const;

    // A detail row begun while its master is being inserted needs the
    // master saved first. Saving moves the master, which would save the
    // detail row just begun, so the detail's link is dropped meanwhile and
    // restored, on the same detail row, once that row is saved or given up;
    // `relinked` runs then. True when the master was saved.
    static bool saveMasterFirst(Table& master, Table& detail, const QString& masterFields,
                                const QString& detailFields, std::function<void()> relinked = {});

private:
    RunContext& m_context;
    QString m_className;
    QList<std::shared_ptr<DataSet>> m_dataSets;
    bool m_windowOwned = false;
};
