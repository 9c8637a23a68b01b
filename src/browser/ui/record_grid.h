#pragma once
// The browser's grid: a table view whose leading columns can stay in place
// while the others scroll under them (a second view over the same model
// and selection, laid over the left edge), and which marks the current
// cell with a frame.

#include <QTableView>

class RecordGrid : public QTableView {
    Q_OBJECT
public:
    explicit RecordGrid(QWidget* parent = nullptr);

    // The first `count` columns on screen stay in place; 0 for none.
    void setFrozenCount(int count);
    int frozenCount() const { return m_frozenCount; }
    // The width the frozen columns take, 0 when none are frozen.
    int frozenWidth() const;
    QTableView* frozenView() const { return m_frozen; }
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    // A cell's in-place editor was opened.
    void editorOpened(QWidget* editor);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void syncFrozenColumns();
    void placeFrozen();
    bool frozen(int logical) const;

    QTableView* m_frozen = nullptr;
    int m_frozenCount = 0;
    bool m_syncing = false;
};
