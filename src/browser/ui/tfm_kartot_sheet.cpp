// The data sheet: one editor per visible field beside the grid, with the
// field editors behind its "..." buttons.

#include "tfm_kartot.h"

#include "browser/cell_text.h"
#include "browser/field_editors.h"
#include "browser/key_value_settings.h"
#include "browser/module.h"
#include "browser/prompts.h"
#include "browser/refusal.h"
#include "browser/run_context.h"
#include "browser/ui/record_model.h"
#include "store/error.h"
#include "store/table.h"

#include <QHeaderView>
#include <QComboBox>
#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QPixmap>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>

void TFmKartot::buildSheet()
{
    m_sheet = new QScrollArea(m_splitter);
    m_sheet->setObjectName(QStringLiteral("ArkuszDanych"));
    m_sheet->setWidgetResizable(true);
    fillSheet();
    m_splitter->addWidget(m_sheet);
    m_splitter->setStretchFactor(0, 1);
    connect(&table(), &Table::dataChanged, this, &TFmKartot::refreshSheet);
}

void TFmKartot::fillSheet()
{
    // The editors of the fields shown before go, without committing anything.
    for (const SheetRow& r : m_sheetRows)
        if (r.editor)
            disconnect(r.editor, nullptr, this, nullptr);
    m_sheetRows.clear();
    if (QWidget* old = m_sheet->takeWidget())
        old->deleteLater();
    auto* inner = new QWidget(m_sheet);
    auto* grid = new QGridLayout(inner);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(1);
    int widest = 0;
    int row = 0;
    for (const FieldView* v : m_controller->visibleFields()) {
        const Table::Field& f = table().field(v->name);
        auto* caption = new QLabel(v->caption, inner);
        caption->setAutoFillBackground(true);
        QPalette pal = caption->palette();
        pal.setColor(QPalette::Window, pal.color(QPalette::Highlight));
        pal.setColor(QPalette::WindowText, pal.color(QPalette::HighlightedText));
        caption->setPalette(pal);
        caption->setFixedHeight(20);
        widest = std::max(widest, caption->fontMetrics().horizontalAdvance(v->caption));
        grid->addWidget(caption, row, 0);

        if (f.def.type == FieldType::Graphic) {
            // A picture is shown, not edited: its module's commands load it.
            auto* picture = new QLabel(inner);
            picture->setObjectName(QStringLiteral("Arkusz") + v->name);
            picture->setFrameShape(QFrame::StyledPanel);
            picture->setAlignment(Qt::AlignCenter);
            picture->setMinimumHeight(100);
            grid->addWidget(picture, row, 1, 1, 2);
            m_sheetRows << SheetRow{v->name, picture, caption};
            ++row;
            continue;
        }
        QWidget* editor = nullptr;
        if (f.kind == Table::FieldKind::Lookup) {
            auto* combo = new QComboBox(inner);
            try {
                if (f.lookupTable && !f.lookupTable->isOpen())
                    f.lookupTable->open();
                if (f.lookupTable)
                    for (int r = 0; r < f.lookupTable->rowCount(); ++r)
                        combo->addItem(cell::text(f.lookupTable->valueAt(r, f.lookupResult), f.def.type,
                                                  v->displayFormat),
                                       r);
            } catch (const Error&) {
            }
            combo->setEnabled(!v->readOnly);
            connect(combo, &QComboBox::activated, this, [this, combo] { commitSheetEditor(combo); });
            editor = combo;
        } else {
            auto* edit = new QLineEdit(inner);
            QPalette p = edit->palette();
            p.setColor(QPalette::Base, p.color(QPalette::ToolTipBase));
            if (f.kind == Table::FieldKind::Calculated)
                p.setColor(QPalette::Text, QColor(128, 0, 0));
            edit->setPalette(p);
            edit->setReadOnly(m_model->readOnly(m_model->columnOf(v->name)));
            connect(edit, &QLineEdit::editingFinished, this, [this, edit] { commitSheetEditor(edit); });
            editor = edit;
        }
        editor->setObjectName(QStringLiteral("Arkusz") + v->name);
        editor->setFixedHeight(20);
        editor->installEventFilter(this);
        editor->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(editor, &QWidget::customContextMenuRequested, this,
                [this, editor](const QPoint& p) { m_sheetPopup->popup(editor->mapToGlobal(p)); });
        if (editors::hasEllipsis(f) || v->choose) {
            grid->addWidget(editor, row, 1);
            auto* dots = new QToolButton(inner);
            dots->setText(QStringLiteral("..."));
            dots->setFixedSize(21, 19);
            const QString name = v->name;
            connect(dots, &QToolButton::clicked, this, [this, name] { editField(name); });
            grid->addWidget(dots, row, 2);
        } else {
            grid->addWidget(editor, row, 1, 1, 2);
        }
        m_sheetRows << SheetRow{v->name, editor, caption};
        ++row;
    }
    grid->setColumnMinimumWidth(0, widest + 6);
    grid->setColumnStretch(1, 1);
    // An editor never narrower than the captions: a narrow sheet scrolls
    // rather than squeezing its values out of sight.
    for (const SheetRow& r : m_sheetRows)
        if (r.editor)
            r.editor->setMinimumWidth(std::max(widest, 80));
    auto* nav = new QWidget(inner);
    auto* navLayout = new QHBoxLayout(nav);
    navLayout->setContentsMargins(0, 0, 0, 0);
    auto* postButton = new QToolButton(nav);
    postButton->setText(QStringLiteral("✓"));
    postButton->setToolTip(QStringLiteral("Zapisz"));
    postButton->setAutoRaise(true);
    connect(postButton, &QToolButton::clicked, this, [this] { post(); });
    auto* cancelButton = new QToolButton(nav);
    cancelButton->setText(QStringLiteral("✕"));
    cancelButton->setToolTip(QStringLiteral("Anuluj"));
    cancelButton->setAutoRaise(true);
    connect(cancelButton, &QToolButton::clicked, this, [this] { table().cancel(); });
    navLayout->addWidget(postButton);
    navLayout->addWidget(cancelButton);
    navLayout->addStretch(1);
    grid->addWidget(nav, row, 0, 1, 3);
    grid->setRowStretch(row + 1, 1);
    m_sheet->setWidget(inner);
    refreshSheet();
}

void TFmKartot::refreshSheet()
{
    if (!m_sheet)
        return;
    for (const SheetRow& r : m_sheetRows) {
        const Table::Field& f = table().field(r.field);
        const FieldView* v = dataSet().field(r.field);
        if (auto* edit = qobject_cast<QLineEdit*>(r.editor)) {
            const int column = m_model->columnOf(r.field);
            edit->setReadOnly(m_model->readOnly(column) || m_model->tableReadOnly() || !mayType());
            if (edit->hasFocus() && edit->isModified())
                continue;
            edit->setText(cell::text(table().value(r.field), f.def.type, v ? v->displayFormat : QString()));
            edit->setModified(false);
        } else if (auto* combo = qobject_cast<QComboBox*>(r.editor)) {
            // Items and the current value are written alike, so a date finds its item.
            combo->setCurrentIndex(
                combo->findText(cell::text(table().value(r.field), f.def.type, v ? v->displayFormat : QString())));
        } else if (auto* picture = qobject_cast<QLabel*>(r.editor)) {
            QPixmap pm;
            pm.loadFromData(table().value(r.field).toByteArray());
            picture->setPixmap(pm.isNull() ? QPixmap()
                                           : pm.scaled(QSize(std::max(picture->width() - 4, 96), 96), Qt::KeepAspectRatio,
                                                       Qt::SmoothTransformation));
        }
    }
}

void TFmKartot::commitSheetEditor(QWidget* editor)
{
    for (const SheetRow& r : m_sheetRows) {
        if (r.editor != editor)
            continue;
        const Table::Field& f = table().field(r.field);
        const bool wasEditing = table().isEditing();
        if (!mayType()) {
            // Without "Auto edycja" a value chosen while browsing goes back.
            refreshSheet();
            return;
        }
        try {
            if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
                if (!edit->isModified())
                    return;
                edit->setModified(false);
                const auto v = cell::fromText(edit->text(), f.def.type);
                if (!v)
                    throw Error(QStringLiteral("\"%1\" nie jest poprawną wartością pola \"%2\"")
                                    .arg(edit->text(), dataSet().field(r.field)->caption));
                table().edit();
                table().setValue(r.field, *v);
            } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
                const int row = combo->currentData().toInt();
                if (!f.lookupTable || f.keyFields.size() != f.lookupKeys.size())
                    return;
                table().edit();
                for (int k = 0; k < f.keyFields.size(); ++k)
                    table().setValue(f.keyFields[k], f.lookupTable->valueAt(row, f.lookupKeys[k]));
            }
        } catch (const Error& e) {
            // An edit begun only for this value goes with it.
            if (!wasEditing)
                table().cancel();
            refusal::show(m_context.prompts, e);
            refreshSheet();
        }
        return;
    }
}

void TFmKartot::insertFromSheet()
{
    if (!m_controller->canInsert())
        return;
    // A value still in an editor belongs to the row it was typed for.
    commitPendingTyping();
    m_grid->clearSelection();
    try {
        table().insert();
    } catch (const Error& e) {
        refusal::show(m_context.prompts, e);
        return;
    }
    // The new row becomes the grid's current row, on its first column that
    // takes typing, and the focus goes to the first editor.
    if (const int row = m_model->currentRow(); row >= 0) {
        int column = -1;
        for (int visual = 0; visual < m_model->columns() && column < 0; ++visual) {
            const int logical = m_grid->horizontalHeader()->logicalIndex(visual);
            if (!m_grid->isColumnHidden(logical) && !m_model->readOnly(logical))
                column = logical;
        }
        if (column < 0)
            column = m_grid->horizontalHeader()->logicalIndex(0);
        m_syncing = true;
        m_grid->selectionModel()->setCurrentIndex(m_model->index(row, column),
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_syncing = false;
    }
    if (m_sheet && m_sheet->isVisible()) {
        for (const SheetRow& r : m_sheetRows) {
            if (r.editor->isEnabled()) {
                r.editor->setFocus();
                return;
            }
        }
    }
    m_grid->setFocus();
}

void TFmKartot::editField(const QString& field)
{
    if (m_controller->chooseValue(field)) {
        refreshSheet();
        return;
    }
    const Table::Field& f = table().field(field);
    const FieldView* v = dataSet().field(field);
    const QString caption = v ? v->caption : field;
    Prompts& prompts = m_context.prompts;
    const bool wasEditing = table().isEditing();
    try {
        table().edit();
        switch (editors::kindOf(f)) {
        case editors::Kind::Time: {
            QTime t = table().asTime(field);
            const QTime before = t;
            if (prompts.pickTime(caption, QString(), t) && t != before)
                table().setValue(field, t);
            break;
        }
        case editors::Kind::Date: {
            QDate d = table().asDate(field);
            const QDate before = d;
            if (prompts.pickDate(caption, QString(), d) && d != before)
                table().setValue(field, d);
            break;
        }
        case editors::Kind::Memo: {
            QString text = table().text(field);
            if (prompts.editMemo(caption, text))
                table().setValue(field, text);
            break;
        }
        case editors::Kind::File: {
            FileDialogOptions o;
            o.title = caption;
            o.fileName = table().text(field);
            QString path = o.fileName;
            if (prompts.openFile(o, path))
                table().setValue(field, path);
            break;
        }
        case editors::Kind::Lookup: {
            Table* source = f.lookupTable;
            if (!source)
                break;
            const bool wasOpen = source->isOpen();
            if (!wasOpen)
                source->open();
            QVariantList keys;
            for (const QString& k : f.keyFields)
                keys << table().value(k);
            try {
                source->locate(f.lookupKeys, keys);
            } catch (const Error&) {
                // positioning is a courtesy; the choice goes on
            }
            DataSet* pickSet = nullptr;
            if (m_controller->module())
                for (DataSet* ds : m_controller->module()->dataSets())
                    if (ds->table == source)
                        pickSet = ds;
            DataSet own;
            if (!pickSet) {
                own.name = source->tableName();
                own.table = source;
                own.addRemainingFields();
                pickSet = &own;
            }
            browser::OpenRequest req;
            req.from = browser::OpenedFrom::PickField;
            req.text = caption;
            req.pickMode = true;
            auto* w = new TFmKartot(m_controller->module(), *pickSet, m_context, m_controller->settings(), req, nullptr,
                                    this);
            w->setPickTarget(pick::Target{&table(), f.keyFields, f.lookupKeys});
            w->runModal();
            if (!wasOpen && source->isOpen())
                source->close();
            break;
        }
        case editors::Kind::None:
            break;
        }
    } catch (const Error& e) {
        if (!wasEditing)
            table().cancel();
        refusal::show(prompts, e);
    }
    refreshSheet();
}

bool TFmKartot::sheetKey(QWidget* editor, QKeyEvent* key)
{
    int at = -1;
    for (int i = 0; i < m_sheetRows.size(); ++i)
        if (m_sheetRows[i].editor == editor)
            at = i;
    if (at < 0)
        return false;
    if (auto* combo = qobject_cast<QComboBox*>(editor); combo && combo->view()->isVisible())
        return false;
    auto* edit = qobject_cast<QLineEdit*>(editor);
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (edit && mods == (Qt::ControlModifier | Qt::ShiftModifier)
        && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
        commitSheetEditor(edit);
        moveMaster(key->key() == Qt::Key_Down);
        return true;
    }
    if (mods != Qt::NoModifier)
        return false;
    int to = -1;
    switch (key->key()) {
    case Qt::Key_Up:
        to = at - 1;
        break;
    case Qt::Key_Down:
        to = at + 1;
        break;
    case Qt::Key_Left:
        if (!edit || (edit->cursorPosition() == 0 && !edit->hasSelectedText()))
            to = at - 1;
        break;
    case Qt::Key_Right:
        if (!edit || edit->cursorPosition() == edit->text().size())
            to = at + 1;
        break;
    default:
        return false;
    }
    if (to < 0 || to >= m_sheetRows.size())
        return to != -1 && key->key() != Qt::Key_Left && key->key() != Qt::Key_Right;
    m_sheetRows[to].editor->setFocus();
    return true;
}

bool TFmKartot::eventFilter(QObject* watched, QEvent* event)
{
    // An edit box would keep Ctrl+C, Ctrl+Z, Ctrl+K… for itself; the
    // window's commands come first (copy then uses the editor's own clipboard).
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<QLineEdit*>(watched)
        && windowTakesKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::MouseButtonDblClick && hooks().calculatorShown && hooks().calculatorShown()
        && hooks().feedCalculator) {
        for (const SheetRow& r : m_sheetRows)
            if (r.editor == watched)
                hooks().feedCalculator(calculatorValue(r.editor));
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == m_grid)
            return gridKey(key) || TFmPodstawa::eventFilter(watched, event);
        if (auto* w = qobject_cast<QWidget*>(watched); w && sheetKey(w, key))
            return true;
    }
    return TFmPodstawa::eventFilter(watched, event);
}
