#include "record_delegate.h"

#include "browser/field_editors.h"
#include "browser/module.h"
#include "browser/ui/record_model.h"
#include "store/table.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QPainter>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

RecordDelegate::RecordDelegate(RecordModel& model, std::function<void(const QString&)> openFieldEditor, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model), m_open(std::move(openFieldEditor))
{
}

namespace {

QLineEdit* lineOf(QWidget* editor)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        return line;
    return editor->findChild<QLineEdit*>();
}

}  // namespace

QWidget* RecordDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString field = m_model.fieldAt(index.column());
    const FieldView* v = m_model.column(index.column());
    const bool chosen = v && v->choose;
    if (!v || (!chosen && !editors::hasEllipsis(m_model.fieldDefinition(field))))
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* box = new QWidget(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* line = new QLineEdit(box);
    line->setFrame(false);
    line->setReadOnly(chosen);
    auto* dots = new QToolButton(box);
    dots->setText(QStringLiteral("..."));
    dots->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(line, 1);
    layout->addWidget(dots);
    box->setFocusProxy(line);
    connect(dots, &QToolButton::clicked, box, [this, box, field] {
        auto* self = const_cast<RecordDelegate*>(this);
        emit self->commitData(box);
        emit self->closeEditor(box, QAbstractItemDelegate::NoHint);
        const auto open = m_open;
        QTimer::singleShot(0, self, [open, field] { open(field); });
    });
    return box;
}

void RecordDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (QLineEdit* line = lineOf(editor); line && editor != line) {
        line->setText(index.data(Qt::EditRole).toString());
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void RecordDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (QLineEdit* line = lineOf(editor); line && editor != line) {
        if (line->text() != index.data(Qt::EditRole).toString())
            model->setData(index, line->text(), Qt::EditRole);
        return;
    }
    // An unchanged cell does not start an edit.
    if (QLineEdit* line = qobject_cast<QLineEdit*>(editor); line && line->text() == index.data(Qt::EditRole).toString())
        return;
    QStyledItemDelegate::setModelData(editor, model, index);
}

void RecordDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}

void RecordDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    if (m_model.codedColumn(index.column()) && (opt.state & QStyle::State_Selected)) {
        // The grid has already filled the selected row's cell.
        opt.state &= ~QStyle::State_Selected;
        if (!index.data(Qt::BackgroundRole).isValid())
            painter->fillRect(option.rect, option.palette.base());
    }
    QStyledItemDelegate::paint(painter, opt, index);
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (!view || view->currentIndex() != index)
        return;
    painter->save();
    painter->setPen(QPen(option.palette.color(QPalette::Text), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
    painter->restore();
}
