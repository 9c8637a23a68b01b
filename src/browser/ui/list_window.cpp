#include "list_window.h"

#include "dialog_parts.h"

#include <QAction>
#include <QComboBox>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

OrderedListWidget::OrderedListWidget(QWidget* parent) : QListWidget(parent)
{
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
}

int OrderedListWidget::dropTarget(const QPoint& position) const
{
    const QModelIndex onto = indexAt(position);
    return onto.isValid() ? onto.row() : count();
}

void OrderedListWidget::dropEvent(QDropEvent* event)
{
    const int from = currentRow();
    const int target = dropTarget(event->position().toPoint());
    // Not a move for the view: it must not take the dragged item away, the
    // owner redraws the whole list in the new order.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (from >= 0)
        emit moveRequested(from, target);
}

TDlLista::TDlLista(const QString& title, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("Etykieta"));
    m_label->hide();
    m_box = new QComboBox(this);
    m_box->setObjectName(QStringLiteral("Wybor"));
    m_box->hide();
    m_label->setBuddy(m_box);
    layout->addWidget(m_label);
    layout->addWidget(m_box);
    layout->addLayout(dialog_parts::okCancelRow(this));
    setMinimumWidth(340);
}

void TDlLista::createList(QListWidget* list, bool checkable)
{
    m_list = list;
    m_list->setObjectName(QStringLiteral("Lista"));
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, m_list, 1);
    if (!checkable)
        return;
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* all = new QAction(QStringLiteral("&Zaznacz wszystko"), m_list);
    auto* none = new QAction(QStringLiteral("&Wyczyść wszystko"), m_list);
    connect(all, &QAction::triggered, this, [this] { setAllChecked(true); });
    connect(none, &QAction::triggered, this, [this] { setAllChecked(false); });
    m_list->addAction(all);
    m_list->addAction(none);
}

void TDlLista::showPlainList(const QStringList& texts, std::function<void(int)> onDoubleClick)
{
    createList(new QListWidget(this), false);
    m_list->addItems(texts);
    if (onDoubleClick) {
        connect(m_list, &QListWidget::itemDoubleClicked, this,
                [this, onDoubleClick](QListWidgetItem* item) { onDoubleClick(m_list->row(item)); });
    }
    fitHeight();
}

void TDlLista::showCheckList(const QList<PickEntry>& entries, int checkedCount)
{
    m_entries = entries;
    createList(new QListWidget(this), true);
    const picker::CheckList start(entries, checkedCount);
    for (int i = 0; i < start.size(); ++i) {
        auto* item = new QListWidgetItem(entries.at(i).text, m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(start.isChecked(i) ? Qt::Checked : Qt::Unchecked);
    }
    fitHeight();
}

void TDlLista::showOrderedList(const QList<OrderedEntry>& entries, int checkedCount, IconProvider icons)
{
    m_ordered.emplace(entries, checkedCount);
    m_icons = std::move(icons);
    auto* list = new OrderedListWidget(this);
    createList(list, true);
    m_addSeparator = new QAction(QStringLiteral("&Dodaj separator"), m_list);
    connect(m_addSeparator, &QAction::triggered, this, [this] {
        const int selected = m_list->selectedItems().isEmpty() ? -1 : m_list->currentRow();
        const int at = m_ordered->addSeparator(selected);
        fillOrdered();
        m_list->setCurrentRow(at);
    });
    m_list->addAction(m_addSeparator);
    connect(list, &OrderedListWidget::moveRequested, this, [this](int from, int target) {
        const int at = m_ordered->moveBefore(from, target);
        fillOrdered();
        m_list->setCurrentRow(at);
    });
    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        m_ordered->setChecked(m_list->row(item), item->checkState() == Qt::Checked);
    });
    fillOrdered();
    fitHeight();
}

void TDlLista::fillOrdered()
{
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    for (int i = 0; i < m_ordered->size(); ++i) {
        const OrderedEntry& e = m_ordered->entry(i);
        auto* item = new QListWidgetItem(e.text, m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled);
        item->setCheckState(m_ordered->isChecked(i) ? Qt::Checked : Qt::Unchecked);
        if (!e.separator && m_icons && e.image >= 0)
            item->setIcon(m_icons(e.image));
    }
}

void TDlLista::setAllChecked(bool checked)
{
    if (m_ordered) {
        checked ? m_ordered->checkAll() : m_ordered->clearAll();
        fillOrdered();
        return;
    }
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TDlLista::showBox(const QString& label, const QStringList& lines, int current, bool editable,
                       const QString& text)
{
    m_label->setText(label);
    m_label->setVisible(!label.isEmpty());
    m_box->setEditable(editable);
    m_box->addItems(lines);
    m_box->setCurrentIndex(current);
    if (editable && current < 0)
        m_box->setEditText(text);
    m_box->show();
    m_box->setFocus();
    fitHeight();
}

QList<PickEntry> TDlLista::checkedEntries() const
{
    picker::CheckList result(m_entries, 0);
    for (int i = 0; i < m_list->count() && i < result.size(); ++i)
        result.setChecked(i, m_list->item(i)->checkState() == Qt::Checked);
    return result.result();
}

QList<OrderedEntry> TDlLista::orderedResult() const
{
    return m_ordered ? m_ordered->result() : QList<OrderedEntry>();
}

int TDlLista::boxIndex() const
{
    return m_box->currentIndex();
}

QString TDlLista::boxText() const
{
    return m_box->currentText();
}

void TDlLista::fitHeight()
{
    adjustSize();
    if (!m_list)
        return;
    // Room for the entries (4 to 20 rows) rather than the list's stock height.
    const int rows = std::clamp(m_list->count(), 4, 20);
    const int rowHeight = std::max(m_list->sizeHintForRow(0), fontMetrics().height() + 2);
    const int wanted = rows * rowHeight + 2 * m_list->frameWidth();
    m_list->setMinimumHeight(wanted);
    // Wide enough for the longest entry (reminders run to whole sentences),
    // within most of the screen.
    const QMargins margins = layout()->contentsMargins();
    const int textWidth = m_list->sizeHintForColumn(0) + 2 * m_list->frameWidth()
                        + m_list->verticalScrollBar()->sizeHint().width() + margins.left() + margins.right();
    const int screenWidth = screen() ? screen()->availableGeometry().width() : 1024;
    const int fitted = std::max(width(), std::min(textWidth, screenWidth * 4 / 5));
    resize(fitted, sizeHint().height() - std::max(m_list->sizeHint().height(), wanted) + wanted);
}
