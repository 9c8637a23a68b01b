#include "record_grid.h"

#include <QHeaderView>
#include <QScrollBar>

RecordGrid::RecordGrid(QWidget* parent) : QTableView(parent)
{
    // Pixel scrolling, so that a column sliding under the frozen ones can
    // still be brought fully into sight.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

bool RecordGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    QWidget* before = indexWidget(index);
    const bool editing = QTableView::edit(index, trigger, event);
    if (QWidget* editor = indexWidget(index); editing && editor && editor != before)
        emit editorOpened(editor);
    return editing;
}

bool RecordGrid::frozen(int logical) const
{
    const int visual = horizontalHeader()->visualIndex(logical);
    return visual >= 0 && visual < m_frozenCount;
}

int RecordGrid::frozenWidth() const
{
    int width = 0;
    for (int visual = 0; visual < m_frozenCount && visual < horizontalHeader()->count(); ++visual)
        width += columnWidth(horizontalHeader()->logicalIndex(visual));
    return width;
}

void RecordGrid::setFrozenCount(int count)
{
    m_frozenCount = std::max(count, 0);
    if (m_frozenCount > 0 && !m_frozen && model()) {
        m_frozen = new QTableView(this);
        m_frozen->setObjectName(QStringLiteral("Zamrozone"));
        m_frozen->setModel(model());
        m_frozen->setSelectionModel(selectionModel());
        m_frozen->setItemDelegate(itemDelegate());
        m_frozen->setFocusPolicy(Qt::NoFocus);
        m_frozen->setSelectionBehavior(selectionBehavior());
        m_frozen->setSelectionMode(selectionMode());
        m_frozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_frozen->verticalHeader()->hide();
        m_frozen->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_frozen->setVerticalScrollMode(verticalScrollMode());
        m_frozen->setFrameShape(QFrame::NoFrame);
        m_frozen->setStyleSheet(QStringLiteral("QTableView#Zamrozone { border-right: 1px solid palette(mid); }"));
        viewport()->stackUnder(m_frozen);
        // A click in the frozen part acts as one in the grid.
        connect(m_frozen, &QAbstractItemView::clicked, this, &QAbstractItemView::clicked);
        connect(m_frozen, &QAbstractItemView::doubleClicked, this, &QAbstractItemView::doubleClicked);
        // Its titles sort as the grid's do, and show the same sort.
        connect(m_frozen->horizontalHeader(), &QHeaderView::sectionClicked, horizontalHeader(),
                &QHeaderView::sectionClicked);
        connect(horizontalHeader(), &QHeaderView::sortIndicatorChanged, m_frozen->horizontalHeader(),
                [this](int logical, Qt::SortOrder order) {
                    m_frozen->horizontalHeader()->setSortIndicatorShown(horizontalHeader()->isSortIndicatorShown());
                    m_frozen->horizontalHeader()->setSortIndicator(logical, order);
                });
        connect(m_frozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
                &QAbstractSlider::setValue);
        connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_frozen->verticalScrollBar(),
                &QAbstractSlider::setValue);
        QHeaderView* h = horizontalHeader();
        connect(h, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
            if (m_frozen && frozen(logical))
                m_frozen->setColumnWidth(logical, size);
            placeFrozen();
        });
        connect(h, &QHeaderView::sectionMoved, this, [this] { syncFrozenColumns(); });
        connect(h, &QHeaderView::geometriesChanged, this, [this] { placeFrozen(); });
        connect(verticalHeader(), &QHeaderView::sectionResized, this,
                [this](int logical, int, int size) { if (m_frozen) m_frozen->setRowHeight(logical, size); });
        connect(model(), &QAbstractItemModel::modelReset, this, [this] { syncFrozenColumns(); });
        connect(model(), &QAbstractItemModel::headerDataChanged, this, [this] { placeFrozen(); });
    }
    syncFrozenColumns();
}

void RecordGrid::syncFrozenColumns()
{
    if (!m_frozen || m_syncing)
        return;
    m_syncing = true;
    m_frozen->setVisible(m_frozenCount > 0);
    QHeaderView* mine = horizontalHeader();
    QHeaderView* theirs = m_frozen->horizontalHeader();
    const int columns = model() ? model()->columnCount() : 0;
    // The same order as on screen, the frozen ones only.
    for (int visual = 0; visual < columns; ++visual) {
        const int logical = mine->logicalIndex(visual);
        theirs->moveSection(theirs->visualIndex(logical), visual);
        m_frozen->setColumnHidden(logical, visual >= m_frozenCount);
        if (visual < m_frozenCount)
            m_frozen->setColumnWidth(logical, columnWidth(logical));
    }
    m_frozen->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    m_frozen->horizontalHeader()->setSortIndicatorShown(mine->isSortIndicatorShown());
    m_frozen->horizontalHeader()->setSortIndicator(mine->sortIndicatorSection(), mine->sortIndicatorOrder());
    m_syncing = false;
    placeFrozen();
}

void RecordGrid::placeFrozen()
{
    if (!m_frozen)
        return;
    m_frozen->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    m_frozen->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), frozenWidth(),
                          viewport()->height() + horizontalHeader()->height());
    m_frozen->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void RecordGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    placeFrozen();
}

QModelIndex RecordGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = QTableView::moveCursor(action, modifiers);
    // Moving left onto a column under the frozen ones scrolls it into sight.
    if (m_frozenCount > 0 && action == MoveLeft && current.isValid() && !frozen(current.column())) {
        const int x = visualRect(current).topLeft().x();
        if (x < frozenWidth())
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() + x - frozenWidth());
    }
    return current;
}

void RecordGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    // A frozen column is always in sight: only the rows move.
    if (m_frozenCount > 0 && index.isValid() && frozen(index.column())) {
        const int keep = horizontalScrollBar()->value();
        QTableView::scrollTo(index, hint);
        horizontalScrollBar()->setValue(keep);
        return;
    }
    QTableView::scrollTo(index, hint);
    // One that would end under them is pushed out from under them.
    if (m_frozenCount > 0 && index.isValid()) {
        const int x = visualRect(index).left();
        if (x < frozenWidth())
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() + x - frozenWidth());
    }
}
