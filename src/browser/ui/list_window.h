#pragma once
// The one list window behind the list pickers: a title, an optional list
// (plain, with check boxes, or ordered with separators), an optional label
// with a drop-down box, "&OK" and "&Anuluj". Its height fits the parts shown,
// its width the longest entry.

#include "browser/picker_logic.h"

#include <QDialog>
#include <QListWidget>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;

// Dropping one entry onto another asks to move it before the target; the
// list itself moves nothing, its owner redraws it.
class OrderedListWidget : public QListWidget {
    Q_OBJECT
public:
    explicit OrderedListWidget(QWidget* parent = nullptr);
    // The entry a drop at this viewport point lands before; count() below the last.
    int dropTarget(const QPoint& position) const;

signals:
    void moveRequested(int from, int target);

protected:
    void dropEvent(QDropEvent* event) override;
};

class TDlLista : public QDialog {
    Q_OBJECT
public:
    using IconProvider = std::function<QIcon(int image)>;

    explicit TDlLista(const QString& title, QWidget* parent = nullptr);

    // --- the list part (at most one) ----------------------------------------
    void showPlainList(const QStringList& texts, std::function<void(int)> onDoubleClick = {});
    void showCheckList(const QList<PickEntry>& entries, int checkedCount);
    void showOrderedList(const QList<OrderedEntry>& entries, int checkedCount, IconProvider icons = {});

    // --- the box part -----------------------------------------------------
    // `current` -1 leaves the box without a selection; an editable box then
    // shows `text`.
    void showBox(const QString& label, const QStringList& lines, int current, bool editable,
                 const QString& text = QString());

    // --- answers ----------------------------------------------------------
    QList<PickEntry> checkedEntries() const;
    QList<OrderedEntry> orderedResult() const;
    int boxIndex() const;
    QString boxText() const;

    QListWidget* list() const { return m_list; }
    QComboBox* box() const { return m_box; }
    QAction* addSeparatorAction() const { return m_addSeparator; }
    picker::OrderedCheckList* orderedModel() { return m_ordered ? &*m_ordered : nullptr; }

private:
    void createList(QListWidget* list, bool checkable);
    void fillOrdered();
    void setAllChecked(bool checked);
    void fitHeight();

    QListWidget* m_list = nullptr;
    QLabel* m_label = nullptr;
    QComboBox* m_box = nullptr;
    QAction* m_addSeparator = nullptr;
    QList<PickEntry> m_entries;
    std::optional<picker::OrderedCheckList> m_ordered;
    IconProvider m_icons;
};
