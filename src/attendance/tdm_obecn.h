#pragma once
// The attendance register window (TDMObecn): a grid with one row per active
// child whose columns are computed for the current day (day view) or for
// the days of its month (month view), with the commands and typed keys that
// enter attendance, the monthly counts, extra-class attendance, and the
// fill and copy operations. One instance per window; the single-child
// window follows the children register's current row.
//
//   tdm_obecn.cpp        data sets, commands, view rebuilding, navigation
//   obecn_entry.cpp      entering codes and times, counts, typed keys
//   obecn_fill.cpp       filling, copying declared times, class participants
//   obecn_columns.*      the grid's columns and their values
//   obecn_data.*         the rows of the view, read in bulk
//   obecn_store.*        the writes
//   obecn_view.*         view state, navigation, titles and captions

#include "obecn_data.h"
#include "obecn_view.h"

#include "browser/module.h"

#include <QTime>

#include <functional>
#include <memory>
#include <optional>

class KeyValueSettings;

class TDMObecn : public TDMDane {
    Q_OBJECT
public:
    // The all-children window. Without settings the user's own are used
    // (the stored sort order lives there).
    explicit TDMObecn(RunContext& context, KeyValueSettings* settings = nullptr, QObject* parent = nullptr);
    // The window of the current child of `master` (the children list).
    TDMObecn(RunContext& context, DataSet& master, QObject* parent = nullptr);
    ~TDMObecn() override;

    DataSet& children() const { return *dataSet(QStringLiteral("Dzieci")); }
    DataSet& heldClasses() const { return *dataSet(QStringLiteral("Zajodb")); }
    bool singleChild() const { return m_master != nullptr; }

    const obecn::ViewState& view() const { return m_view; }
    const obecn::ViewData& viewData() const { return m_data; }
    QString title() const;
    // Re-reads the rows and recomputes the columns and the title; the
    // browsers on the children list follow (dataSetChanged, titleChanged).
    // A refresh of the children list (the browser's "Odśwież") rebuilds too,
    // and so does the window regaining activation, so that attendance
    // written elsewhere (another station, the terminal, an import) shows.
    void rebuild();
    // The day the view shows (rebuilds).
    void setDay(QDate day);

    // The grid column the commands act on; the browser sets it as its
    // current column changes, and typed keys with their column.
    void setSelectedField(const QString& field) { m_selectedField = field; }
    void currentFieldChanged(DataSet& ds, const QString& field) override;
    const QString& selectedField() const { return m_selectedField; }
    // The clock of "T" (now); tests set it.
    void setClock(std::function<QTime()> clock) { m_clock = std::move(clock); }

    // --- commands -----------------------------------------------------------
    void pickDay();
    void previous();
    void next();
    void toggleMonthView();
    // 'T', 'N', 'Z', or null to clear; on the current child and selected column.
    void enterCode(QChar code);
    void enterArrival();
    void enterDeparture();
    void copyDeclaredTimes();
    void fillUndetermined();
    void openDayClasses();
    void defaultParticipants();
    // "Wczytaj z pliku": daily marks or, when asked, monthly counts.
    void importFromFile();

    // Where an entry comes from: a command (menu, toolbar, shortcut) always
    // means the day's code; a key typed in the grid means its column, which
    // may be an extra class.
    enum class From { Command, Grid };
    // The entry operation: `code` "T", "N", "Z", "" to clear or "?" to keep;
    // optional arrival and departure texts ("T" now, "7" an hour, a time).
    void enter(const QString& code, const std::optional<QString>& arrival = std::nullopt,
               const std::optional<QString>& departure = std::nullopt, From from = From::Command);

    bool typedKey(DataSet& ds, const QString& field, QChar key) override;
    bool canInsert(const DataSet& ds) const override;
    bool canDelete(const DataSet& ds) const override;

    // Messages.
    static QString editQuestion() { return QStringLiteral("Chcesz edytować listę obecności?"); }
    static QString freeDayRefusal();
    static QString noClassColumn() { return QStringLiteral("Brak wybranej kolumny zajęć dodatkowych"); }
    static QString otherGroupRefusal();
    static QString timeOrderRefusal();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(KeyValueSettings* settings);
    // The children list was read again (a refresh, a filter, the master
    // moving): its cells must come from the store as it is now.
    void listReread();
    // Runs a command or typed key; a rebuild asked for meanwhile waits
    // until it ends, so that no command sees its view data replaced.
    void asCommand(const std::function<void()>& work);
    void buildCommands();
    void buildHeldClasses();
    void setMonthCaptions();
    QList<int> listedChildren() const;
    int currentChild() const;
    QString currentCaption() const;
    QString currentGroupName() const;
    bool askPermission();
    QTime now() const;
    // The day of the selected column: the current day in the day view.
    std::optional<QDate> targetDay() const;
    // The extra class of the selected column (day view), null for another column.
    const obecn::ClassColumn* selectedClass() const;
    void enterDay(QDate day, const QString& code, const std::optional<QString>& arrival,
                  const std::optional<QString>& departure);
    bool askTime(const QString& label, const QString& text, QTime current, QTime& result);
    void warnLimits(QDate day, const QString& field, QTime value);
    void enterClass(const obecn::ClassColumn& column, const QString& code);
    bool ensureHeld(int classIndex);
    bool typedInGrid(DataSet& ds, const QString& field, QChar key);
    void typedCount(QChar code, QChar key);
    // Restores the children list's position after a long operation.
    template <class F> void keepingPosition(F&& work);
    bool confirmMonthDays(const QString& question);
    QList<QDate> chosenDays() const;
    void saveSortOrder();

    obecn::ViewState m_view;
    obecn::ViewData m_data;
    DataSet* m_master = nullptr;
    KeyValueSettings* m_settings = nullptr;
    std::unique_ptr<KeyValueSettings> m_ownSettings;
    Table* m_groups = nullptr;
    QString m_selectedField;
    std::function<QTime()> m_clock;
    struct CountEdit {
        int child = 0;
        QChar code;
        QString text;
    };
    std::optional<CountEdit> m_countEdit;
    Command* m_dayClassesCommand = nullptr;
    bool m_rebuilding = false;
    int m_commandDepth = 0;
    bool m_rebuildWaiting = false;
    bool m_leftSinceRead = false;  // the owning window lost activation since the view was read
};
