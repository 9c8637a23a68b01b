#pragma once
// "Ustawienie filtru danych": the entries of a browser's data filter in a
// list (switch, caption, bounds) and, beside it, the editor of the selected
// entry's kind. "&Wykonaj" applies the switched-on entries; closing in any
// way puts every entry back to its state at the last apply.

#include <QDialog>

namespace datafilter {
class Filter;
struct Entry;
}
class Prompts;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class Table;

class TFmFiltr : public QDialog {
    Q_OBJECT
public:
    // `table`: the browser's data set, whose lookup fields give the values
    // a lookup entry chooses from.
    TFmFiltr(datafilter::Filter& filter, Table& table, Prompts& prompts, QWidget* parent = nullptr);

    QTreeWidget* list() const { return m_list; }
    // The selected entry, -1 for none.
    int currentEntry() const;
    void selectEntry(int index);
    // "&Wykonaj": applies and closes with OK; an unreadable or out-of-range
    // bound is shown and the dialog stays.
    void execute();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Page { Empty, Lookup, Integer, Float, Date, Text };
    struct Pair {
        QWidget* from = nullptr;
        QWidget* to = nullptr;
    };
    void buildEditors();
    QWidget* pairPage(Pair& pair, QWidget* from, QWidget* to, QCheckBox* fromCheck = nullptr,
                      QCheckBox* toCheck = nullptr);
    void fillList();
    void showRow(int index);
    void presetEditor();
    // An editor's text went into a bound: the entry is switched on.
    void edited(bool from, const QString& text);
    // Leaving a number editor: its bound checked; false (and the message
    // shown) when it is out of the declared range.
    bool checkNumber(QLineEdit* edit, bool from);
    bool checkNumbers();
    void dateEdited(bool from);
    datafilter::Entry* entry(int index) const;

    datafilter::Filter& m_filter;
    Table& m_table;
    Prompts& m_prompts;
    QTreeWidget* m_list = nullptr;
    QStackedWidget* m_pages = nullptr;
    QComboBox* m_lookup = nullptr;
    QSpinBox* m_intFrom = nullptr;
    QSpinBox* m_intTo = nullptr;
    QLineEdit* m_floatFrom = nullptr;
    QLineEdit* m_floatTo = nullptr;
    QCheckBox* m_dateFromOn = nullptr;
    QCheckBox* m_dateToOn = nullptr;
    QDateEdit* m_dateFrom = nullptr;
    QDateEdit* m_dateTo = nullptr;
    QLineEdit* m_textFrom = nullptr;
    QLineEdit* m_textTo = nullptr;
    QPushButton* m_execute = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_presetting = false;
    bool m_checking = false;  // a number editor's bound message is up
    int m_lookupFor = -1;  // the entry whose values the lookup list holds
};
