#include "sum_footer.h"

#include "browser/column_sums.h"
#include "browser/module.h"
#include "browser/ui/record_model.h"
#include "store/table.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>

SumFooter::SumFooter(QTableView* grid, RecordModel* model, const DataSet& dataSet, QWidget* parent)
    : QWidget(parent), m_grid(grid), m_model(model), m_ds(dataSet)
{
    setObjectName(QStringLiteral("Sumy"));
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    const auto repaint = [this] { update(); };
    QHeaderView* h = grid->horizontalHeader();
    connect(h, &QHeaderView::sectionResized, this, repaint);
    connect(h, &QHeaderView::sectionMoved, this, repaint);
    connect(h, &QHeaderView::geometriesChanged, this, repaint);
    connect(grid->horizontalScrollBar(), &QScrollBar::valueChanged, this, repaint);
    connect(model, &QAbstractItemModel::modelReset, this, &SumFooter::recount);
    // Moving the cursor changes no sum: only new data do.
    if (dataSet.table)
        connect(dataSet.table, &Table::dataChanged, this, &SumFooter::recount);
    recount();
}

void SumFooter::recount()
{
    m_texts = sums::footer(m_ds);
    setVisible(!m_texts.isEmpty());
    update();
}

QSize SumFooter::sizeHint() const
{
    return {100, fontMetrics().height() + 6};
}

void SumFooter::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QHeaderView* h = m_grid->horizontalHeader();
    const int left = m_grid->viewport()->geometry().left();
    const int right = m_grid->viewport()->geometry().right();
    p.drawText(QRect(0, 0, left, height()), Qt::AlignCenter, QStringLiteral("Σ"));
    p.setClipRect(QRect(left, 0, right - left + 1, height()));
    for (int logical = 0; logical < m_model->columns(); ++logical) {
        const QString text = m_texts.value(m_model->fieldAt(logical).toUpper());
        if (text.isEmpty() || h->isSectionHidden(logical))
            continue;
        const QRect cell(left + h->sectionViewportPosition(logical) + 3, 0, h->sectionSize(logical) - 6, height());
        p.drawText(cell, Qt::AlignRight | Qt::AlignVCenter, text);
    }
}
