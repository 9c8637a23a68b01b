#include "column_sizer.h"

#include "browser/column_layout.h"
#include "browser/ui/record_model.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>

#include <algorithm>

ColumnSizer::ColumnSizer(QTableView* grid, RecordModel* model) : QObject(grid), m_grid(grid), m_model(model)
{
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int logical, int, int) { resized(logical); });
    // The header's double-click on a handle fits the column: that is the
    // user's choice of width too, and is kept.
}

void ColumnSizer::setAutomatic(const QString& field, bool automatic)
{
    if (automatic)
        m_automatic.insert(field.toUpper());
    else
        m_automatic.remove(field.toUpper());
}

QStringList ColumnSizer::automaticShown() const
{
    QStringList out;
    for (int logical = 0; logical < m_model->columns(); ++logical)
        if (const QString f = m_model->fieldAt(logical).toUpper(); m_automatic.contains(f))
            out << f;
    return out;
}

int ColumnSizer::contentWidth(int logical) const
{
    // The view measures the rows in sight (every row while it is hidden).
    const QAbstractItemView* view = m_grid;  // public there, protected in QTableView
    int cells = m_model->rowCount() > 0 ? view->sizeHintForColumn(logical) : 0;
    if (m_footer)
        if (const QString sum = m_footer(m_model->fieldAt(logical)); !sum.isEmpty())
            cells = std::max(cells, QFontMetrics(m_footerFont).horizontalAdvance(sum) + 8);
    // The caption measured here: the header's own hint leaves room for a
    // sort mark on every column, which only the sorted one shows.
    const QHeaderView* h = m_grid->horizontalHeader();
    // Bold: the header bolds the captions of the selected row's columns.
    QFont font = h->font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    const QString caption = m_model->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString();
    const int margin = h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
    int captionWidth = metrics.size(0, caption).width() + 2 * margin + 2;
    if (h->isSortIndicatorShown() && h->sortIndicatorSection() == logical)
        captionWidth += metrics.height() + 2 * margin;
    return layout::contentWidth(captionWidth, cells);
}

void ColumnSizer::fit()
{
    for (int logical = 0; logical < m_model->columns(); ++logical)
        if (isAutomatic(m_model->fieldAt(logical)) && !m_grid->isColumnHidden(logical))
            setWidth(logical, contentWidth(logical));
}

void ColumnSizer::setFooter(std::function<QString(const QString&)> text, QFont font)
{
    m_footer = std::move(text);
    m_footerFont = font;
}

void ColumnSizer::setWidth(int logical, int width)
{
    const bool was = m_setting;
    m_setting = true;
    m_grid->setColumnWidth(logical, width);
    m_setting = was;
}

void ColumnSizer::resized(int logical)
{
    if (m_setting)
        return;
    setAutomatic(m_model->fieldAt(logical), false);
}
