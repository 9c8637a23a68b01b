#pragma once
// The grid's cell editor: a plain line, with a "..." button for fields that
// have a field editor (dates, times, memos, PLIK, lookups) and for values
// the module chooses (the line is then read-only).

#include <QStyledItemDelegate>

#include <functional>

class RecordModel;

class RecordDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    RecordDelegate(RecordModel& model, std::function<void(const QString& field)> openFieldEditor, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The current cell is framed; coded cells (attendance, extra charges)
    // keep their colours in the selected row.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    RecordModel& m_model;
    std::function<void(const QString&)> m_open;
};
