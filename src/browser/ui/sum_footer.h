#pragma once
// The line under a browser's grid with the sums of its summed columns,
// each under its column, following the columns' widths, order and the
// grid's horizontal scrolling. Hidden when nothing is summed.

#include <QHash>
#include <QWidget>

class QTableView;
class RecordModel;
struct DataSet;

class SumFooter : public QWidget {
    Q_OBJECT
public:
    SumFooter(QTableView* grid, RecordModel* model, const DataSet& dataSet, QWidget* parent);

    // Sums again from the data set's rows.
    void recount();
    // The text under a field's column, empty when it is not summed.
    QString textOf(const QString& field) const { return m_texts.value(field.toUpper()); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTableView* m_grid;
    RecordModel* m_model;
    const DataSet& m_ds;
    QHash<QString, QString> m_texts;
};
