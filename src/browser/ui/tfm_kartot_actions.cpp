// The browser's menus, popups, toolbar and the operations behind them.

#include "tfm_kartot.h"

#include "browser/clipboard_text.h"
#include "browser/field_editors.h"
#include "browser/key_value_settings.h"
#include "browser/module.h"
#include "browser/prompts.h"
#include "browser/record_search.h"
#include "browser/refusal.h"
#include "browser/row_actions.h"
#include "browser/run_context.h"
#include "browser/sort_choice.h"
#include "browser/toolbar_buttons.h"
#include "browser/typed_keys.h"
#include "browser/ui/column_sizer.h"
#include "browser/ui/record_model.h"
#include "store/error.h"
#include "store/polish_dates.h"
#include "store/tdm_baza.h"
#include "store/table.h"

#include <QAction>
#include <algorithm>
#include <QApplication>
#include <QScrollArea>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

QAction* TFmKartot::makeAction(const QString& caption, const QString& shortcut, void (TFmKartot::*slot)())
{
    auto* a = new QAction(caption, this);
    a->setObjectName(caption);
    if (!shortcut.isEmpty()) {
        a->setShortcut(QKeySequence(shortcut));
        a->setShortcutContext(Qt::WindowShortcut);
    }
    if (slot)
        connect(a, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
    m_actions << a;
    return a;
}

QAction* TFmKartot::action(const QString& caption) const
{
    for (QAction* a : m_actions)
        if (a->objectName() == caption)
            return a;
    if (caption == closeAction()->text())
        return closeAction();
    if (caption == stayOnTopAction()->text())
        return stayOnTopAction();
    return nullptr;
}

QAction* TFmKartot::commandAction(const Command* c) const
{
    return m_commandActions.value(c);
}

void TFmKartot::buildActions()
{
    const bool isTable = dataSet().table != nullptr;
    makeAction(QStringLiteral("&Wyszukaj"), QStringLiteral("Ctrl+F"), &TFmKartot::search);
    addAction(makeAction(QStringLiteral("Szukanie"), QStringLiteral("F3"), &TFmKartot::searchAgain));
    makeAction(QStringLiteral("&Sortuj"), QStringLiteral("Ctrl+S"), &TFmKartot::sort);
    makeAction(QStringLiteral("&Filtruj"), QStringLiteral("Ctrl+Z"), &TFmKartot::filter);
    QAction* print = makeAction(QStringLiteral("&Drukuj"), QStringLiteral("Ctrl+D"), nullptr);
    connect(print, &QAction::triggered, this, [this] { if (hooks().print) hooks().print(*this); });
    print->setVisible(bool(hooks().print));
    QAction* preview = makeAction(QStringLiteral("Podglą&d"), QString(), nullptr);
    preview->setText(QStringLiteral("Podglą&d\tCtrl+D"));
    connect(preview, &QAction::triggered, print, &QAction::trigger);
    preview->setVisible(bool(hooks().print));
    makeAction(QStringLiteral("Poprzednie"), QStringLiteral("Ctrl+P"), &TFmKartot::previousWindow);
    makeAction(QStringLiteral("Następne"), QStringLiteral("Ctrl+N"), &TFmKartot::nextWindow);
    makeAction(QStringLiteral("Wy&tnij"), QStringLiteral("Ctrl+X"), &TFmKartot::cut)->setVisible(isTable);
    makeAction(QStringLiteral("&Kopiuj"), QStringLiteral("Ctrl+C"), &TFmKartot::copy);
    makeAction(QStringLiteral("Wk&lej"), QStringLiteral("Ctrl+V"), &TFmKartot::paste)->setVisible(isTable);
    addAction(makeAction(QStringLiteral("Wybrane"), QStringLiteral("Ctrl+Shift+C"), &TFmKartot::copyChosen));
    QAction* calc = makeAction(QStringLiteral("Kalkulator"), QStringLiteral("Ctrl+K"), nullptr);
    connect(calc, &QAction::triggered, this, [this] {
        if (hooks().calculator && m_grid)
            hooks().calculator(*this, calculatorValue(focusedSheetEditor()));
    });
    calc->setVisible(bool(hooks().calculator));
    makeAction(QStringLiteral("Dodaj pozycję"), QStringLiteral("Insert"), &TFmKartot::insertFromSheet);
    makeAction(QStringLiteral("&Ustaw szybkie filtry"), QString(), &TFmKartot::setUpQuickFilters);
    makeAction(QStringLiteral("Ustaw &przyciski"), QString(), &TFmKartot::setUpButtons);

    m_systemDateAction = makeAction(QStringLiteral("&Data systemu"), QString(), &TFmKartot::pickSystemDate);
    m_dateFilterAction = makeAction(QStringLiteral("&Filtruj na datę systemu"), QString(), nullptr);
    m_dateFilterAction->setCheckable(true);
    connect(m_dateFilterAction, &QAction::triggered, this, &TFmKartot::toggleSystemDateFilter);
    makeAction(QStringLiteral("&Podwójne kliknięcie"), QString(), &TFmKartot::chooseDoubleClick)
        ->setStatusTip(QStringLiteral("Akcja na podwójne kliknięcie"));
    m_toolbarAction = makeAction(QStringLiteral("Pasek &szybkiego dostępu"), QString(), nullptr);
    m_toolbarAction->setCheckable(true);
    m_toolbarAction->setChecked(true);
    m_sheetAction = makeAction(QStringLiteral("&Arkusz danych"), QString(), nullptr);
    m_sheetAction->setCheckable(true);
    m_sheetAction->setChecked(true);

    for (Command* c : m_controller->commands()) {
        if (c->separator)
            continue;
        auto* a = new QAction(c->caption, this);
        a->setObjectName(c->name);
        a->setToolTip(c->plainCaption());
        a->setIconText(c->label.isEmpty() ? c->plainCaption() : c->label);
        a->setStatusTip(c->label);
        if (!c->shortcut.isEmpty()) {
            a->setShortcut(QKeySequence(c->shortcut));
            a->setShortcutContext(Qt::WindowShortcut);
        }
        a->setCheckable(c->opensWindow);
        a->setChecked(c->checked);
        a->setEnabled(bool(c->handler));
        connect(a, &QAction::triggered, this, [this, c] { runCommand(c); });
        m_commandActions.insert(c, a);
    }
}

void TFmKartot::buildMenus()
{
    QMenu* file = fileMenu();
    QAction* closeItem = closeAction();
    const auto fileItem = [&](const char* caption) { file->insertAction(closeItem, action(QString::fromUtf8(caption))); };
    fileItem("&Wyszukaj");
    file->insertSeparator(closeItem);
    fileItem("&Sortuj");
    fileItem("&Filtruj");
    fileItem("&Drukuj");
    file->insertSeparator(closeItem);
    fileItem("Poprzednie");
    fileItem("Następne");

    m_editMenu = new QMenu(QStringLiteral("&Edycja"), this);
    m_editMenu->addAction(action(QStringLiteral("Wy&tnij")));
    m_editMenu->addAction(action(QStringLiteral("&Kopiuj")));
    m_editMenu->addAction(action(QStringLiteral("Wk&lej")));
    menuBar()->insertMenu(settingsMenu()->menuAction(), m_editMenu);

    m_dataMenu = new QMenu(QStringLiteral("&Dane"), this);
    m_gridDataMenu = new QMenu(QStringLiteral("Dane"), this);
    for (Command* c : m_controller->commands()) {
        if (c->separator) {
            m_dataMenu->addSeparator();
            m_gridDataMenu->addSeparator();
        } else {
            m_dataMenu->addAction(m_commandActions.value(c));
            m_gridDataMenu->addAction(m_commandActions.value(c));
        }
    }
    QAction* dataItem = menuBar()->insertMenu(settingsMenu()->menuAction(), m_dataMenu);
    dataItem->setVisible(!m_controller->commands().isEmpty());

    QMenu* settings = settingsMenu();
    settings->insertAction(stayOnTopAction(), m_systemDateAction);
    settings->insertAction(stayOnTopAction(), m_dateFilterAction);
    settings->addAction(action(QStringLiteral("&Podwójne kliknięcie")));
    settings->addAction(m_toolbarAction);
    settings->addAction(m_sheetAction);
    connect(settings, &QMenu::aboutToShow, this, [this] {
        m_dateFilterAction->setChecked(m_context.systemDateFilter());
        m_systemDateAction->setText(QStringLiteral("&Data systemu: ") + polish::shortDate(m_context.systemDate()));
    });
    connect(m_toolbarAction, &QAction::toggled, this, [this](bool on) {
        if (m_toolbar)
            m_toolbar->setVisible(on);
    });
    connect(m_sheetAction, &QAction::toggled, this, [this](bool on) {
        if (m_sheet)
            m_sheet->setVisible(on);
    });

    m_gridPopup = new QMenu(this);
    QAction* dataSub = m_gridPopup->addMenu(m_gridDataMenu);
    QAction* dataSep = m_gridPopup->addSeparator();
    dataSub->setVisible(!m_controller->commands().isEmpty());
    dataSep->setVisible(!m_controller->commands().isEmpty());
    for (const char* c : {"&Wyszukaj", "Szukanie", "", "&Sortuj", "&Filtruj", "Podglą&d", "&Zamknij", "", "Wy&tnij",
                          "&Kopiuj", "Wk&lej", "Kalkulator"}) {
        if (!*c)
            m_gridPopup->addSeparator();
        else
            m_gridPopup->addAction(action(QString::fromUtf8(c)));
    }
    m_sheetPopup = new QMenu(this);
    for (const char* c : {"Dodaj pozycję", "Wy&tnij", "&Kopiuj", "Wk&lej", "Kalkulator"})
        m_sheetPopup->addAction(action(QString::fromUtf8(c)));
}

void TFmKartot::attachLocalShortcuts()
{
    // These keys belong to the grid's and the sheet's popups: they work
    // while the focus is in either, and a window docked here keeps its own.
    for (const char* caption : {"Kalkulator", "Dodaj pozycję"}) {
        QAction* a = action(QString::fromUtf8(caption));
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_grid->addAction(a);
        m_sheet->addAction(a);
    }
}

bool TFmKartot::windowTakesKey(const QKeyEvent* key) const
{
    const QKeySequence pressed(key->keyCombination());
    const auto takes = [&](const QAction* a) {
        if (!a->isEnabled() || !a->isVisible() || a->shortcut() != pressed)
            return false;
        // A docked window's other keys are its host's now.
        return a->shortcutContext() == Qt::WidgetWithChildrenShortcut || !dockedIn();
    };
    return std::any_of(m_actions.begin(), m_actions.end(), takes)
           || std::any_of(m_commandActions.begin(), m_commandActions.end(), takes);
}

void TFmKartot::watchCellEditor(QWidget* editor)
{
    QList<QLineEdit*> lines = editor->findChildren<QLineEdit*>();
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        lines << line;
    for (QLineEdit* line : lines) {
        line->installEventFilter(this);
        if (!mayType())
            line->setReadOnly(true);
    }
}

bool TFmKartot::mayType() const
{
    return m_autoEdit || table().isEditing();
}

void TFmKartot::giveModuleShortcutsPrecedence()
{
    // A module's own key (the attendance grid's Ctrl+Z, Ctrl+D, …) wins here.
    QList<QKeySequence> taken;
    for (QAction* a : m_commandActions)
        if (!a->shortcut().isEmpty())
            taken << a->shortcut();
    for (QAction* a : m_actions)
        if (taken.contains(a->shortcut()))
            a->setShortcut(QKeySequence());
    if (!m_commandActions.isEmpty())
        addActions(m_commandActions.values());
}

QList<QAction*> TFmKartot::toolbarActions() const
{
    return m_toolbar ? m_toolbar->actions() : QList<QAction*>();
}

void TFmKartot::rebuildToolbar()
{
    if (!m_toolbar) {
        m_toolbar = new QToolBar(QStringLiteral("Pasek szybkiego dostępu"), this);
        m_toolbar->setObjectName(QStringLiteral("PasekSzybkiegoDostepu"));
        m_toolbar->setMovable(false);
        m_toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
        m_toolbar->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(m_toolbar, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
            QMenu menu;
            menu.addAction(action(QStringLiteral("Ustaw &przyciski")));
            menu.exec(m_toolbar->mapToGlobal(p));
        });
        addToolBar(Qt::TopToolBarArea, m_toolbar);
    }
    m_toolbar->clear();
    const QList<Command*>& commands = m_controller->commands();
    for (const toolbar::Slot& s : m_buttons) {
        if (s.isSeparator()) {
            m_toolbar->addSeparator();
        } else if (QAction* a = m_commandActions.value(commands.value(s.command))) {
            m_toolbar->addAction(a);
            if (auto* b = qobject_cast<QToolButton*>(m_toolbar->widgetForAction(a)))
                b->setAutoRaise(!m_context.settings.raisedButtons);
        }
    }
}

void TFmKartot::refreshCommandChecks()
{
    for (auto it = m_commandActions.begin(); it != m_commandActions.end(); ++it)
        if (it.key()->opensWindow)
            it.value()->setChecked(it.key()->checked);
}

void TFmKartot::runCommand(Command* c)
{
    if (!c->handler)
        return;
    // What the command opens is opened from this window, active or not.
    QPointer<TFmKartot>& running = runningCommandWindow();
    const QPointer<TFmKartot> before = running;
    running = this;
    // The command acts on the column chosen last, in the grid or the sheet.
    m_controller->currentFieldChanged(currentField());
    try {
        c->handler();
    } catch (const Error& e) {
        refusal::show(m_context.prompts, e);
    }
    running = before;
    refreshAllCommandChecks();
}

QList<int> TFmKartot::selectedRows() const
{
    QList<int> out;
    if (!m_grid)
        return out;
    for (const QModelIndex& i : m_grid->selectionModel()->selectedRows())
        if (!m_model->isInsertRow(i.row()))
            out << m_model->tableRow(i.row());
    return out;
}

void TFmKartot::selectOnly(int row)
{
    if (row < 0)
        return;
    table().setPosition(row);
    const int column = std::max(m_grid->currentIndex().column(), 0);
    m_syncing = true;
    m_grid->selectionModel()->setCurrentIndex(m_model->index(m_model->gridRow(row), column),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_syncing = false;
    refreshSheet();
}

QString TFmKartot::currentField() const
{
    // The data-sheet editor that had the focus last, else the grid's column.
    if (const QWidget* focused = focusWidget())
        for (const SheetRow& r : m_sheetRows)
            if (r.editor == focused)
                return r.field;
    QModelIndex i = m_grid->currentIndex();
    if (!i.isValid())
        return m_model->fieldAt(m_grid->horizontalHeader()->logicalIndex(0));
    return m_model->fieldAt(i.column());
}

QList<clip::Column> TFmKartot::clipColumns() const
{
    QList<clip::Column> out;
    const QHeaderView* h = m_grid->horizontalHeader();
    for (int visual = 0; visual < m_model->columns(); ++visual) {
        const int logical = h->logicalIndex(visual);
        if (h->isSectionHidden(logical))
            continue;
        const FieldView* v = m_model->column(logical);
        out << clip::Column{v->name, v->caption, m_model->readOnly(logical)};
    }
    return out;
}

void TFmKartot::search()
{
    const QString field = currentField();
    const FieldView* v = dataSet().field(field);
    if (!v)
        return;
    selectOnly(search::ask(m_context.prompts, table(), field, v->caption, m_controller->searchState()));
}

void TFmKartot::searchAgain()
{
    selectOnly(search::again(table(), currentField(), m_controller->searchState()));
}

void TFmKartot::sort()
{
    try {
        if (sorting::choose(m_context.prompts, dataSet()))
            m_model->sortInView(-1, Qt::AscendingOrder);
    } catch (const Error& e) {
        refusal::show(m_context.prompts, e);
    }
    showSort();
    syncGridToTable();
}

void TFmKartot::sortByColumn(int logical)
{
    const QString field = m_model->fieldAt(logical);
    if (field.isEmpty() || (table().isEditing() && !post()))
        return;
    try {
        const QString ordering = table().field(field).kind == Table::FieldKind::Data
                                     ? sorting::orderingStartingWith(dataSet(), field)
                                     : QString();
        if (!ordering.isEmpty()) {
            m_model->sortInView(-1, Qt::AscendingOrder);
            if (table().ordering().compare(ordering, Qt::CaseInsensitive) != 0)
                table().setOrdering(ordering);
        } else {
            // Clicked again, the view's order turns round.
            const bool again = m_model->viewSortColumn() == logical && m_model->viewSortOrder() == Qt::AscendingOrder;
            m_model->sortInView(logical, again ? Qt::DescendingOrder : Qt::AscendingOrder);
        }
    } catch (const Error& e) {
        refusal::show(m_context.prompts, e);
    }
    showSort();
    syncGridToTable();
}

void TFmKartot::showSort()
{
    QHeaderView* h = m_grid->horizontalHeader();
    h->setSortIndicatorShown(true);
    if (m_model->viewSortColumn() >= 0)
        h->setSortIndicator(m_model->viewSortColumn(), m_model->viewSortOrder());
    else  // -1 shows no mark: the table's order starts with no column shown
        h->setSortIndicator(m_model->columnOf(sorting::leadingField(table())), Qt::AscendingOrder);
    // The sorted column's caption now shares its room with the mark.
    m_sizer->fit();
}

QWidget* TFmKartot::focusedSheetEditor() const
{
    for (const QWidget* focused : {QApplication::focusWidget(), focusWidget()})
        for (const SheetRow& r : m_sheetRows)
            if (focused && r.editor == focused)
                return r.editor;
    return nullptr;
}

QLineEdit* TFmKartot::ownClipboardEditor() const
{
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!edit)
        return nullptr;
    if (m_grid && m_grid->isAncestorOf(edit))
        return edit;
    for (const SheetRow& r : m_sheetRows)
        if (r.editor == edit)
            return edit;
    return nullptr;
}

QString TFmKartot::calculatorValue(QWidget* sheetEditor) const
{
    if (auto* edit = qobject_cast<QLineEdit*>(sheetEditor))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(sheetEditor))
        return combo->currentText();
    return m_grid->currentIndex().data().toString();
}

void TFmKartot::copy()
{
    if (QLineEdit* e = ownClipboardEditor()) {
        e->copy();
        return;
    }
    const QString text = clip::copy(m_context.prompts, table(), clipColumns(), selectedRows());
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void TFmKartot::copyChosen()
{
    const QString text = clip::copyChosen(m_context.prompts, table(), clipColumns(), selectedRows());
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void TFmKartot::cut()
{
    if (QLineEdit* e = ownClipboardEditor()) {
        e->cut();
        return;
    }
    // Rows the module keeps are not cut either: nothing happens.
    if (!m_controller->canDelete())
        return;
    const QList<int> rows = selectedRows();
    const QString text = clip::copyText(table(), clipColumns(), clip::rowsToUse(table(), rows), false);
    if (text.isEmpty())
        return;
    QGuiApplication::clipboard()->setText(text);
    deleteSelected();
}

void TFmKartot::pasteText(const QString& text)
{
    if (!m_controller->canInsert())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    clip::paste(m_context.prompts, table(), clipColumns(), text);
    QApplication::restoreOverrideCursor();
    syncGridToTable();
}

void TFmKartot::paste()
{
    if (QLineEdit* e = ownClipboardEditor()) {
        e->paste();
        return;
    }
    pasteText(QGuiApplication::clipboard()->text());
}

void TFmKartot::deleteSelected(const QString& questionPrefix)
{
    if (!m_controller->canDelete())
        return;
    const QList<int> rows = selectedRows();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    rows::removeSelected(m_context.prompts, table(), rows, questionPrefix);
    QApplication::restoreOverrideCursor();
    m_grid->clearSelection();
    syncGridToTable();
}

void TFmKartot::choose()
{
    if (!m_controller->pickMode())
        return;
    try {
        if (m_controller->request().multiInsert)
            pick::insertMany(m_context.prompts, table(), selectedRows(), m_pickTarget);
        else
            pick::assign(table(), m_pickTarget);
    } catch (const Error& e) {
        refusal::show(m_context.prompts, e);
        return;
    }
    m_chosen = true;
    close();
}

void TFmKartot::setUpButtons()
{
    if (toolbar::choose(m_context.prompts, m_controller->commands(), m_buttons))
        rebuildToolbar();
}

void TFmKartot::chooseDoubleClick()
{
    m_controller->chooseDoubleClick();
}

void TFmKartot::doubleClicked()
{
    const bool calculatorShown = hooks().calculatorShown && hooks().calculatorShown();
    // A value the module chooses is chosen on a double-click of its cell.
    if (!calculatorShown && !m_controller->pickMode() && m_grid->currentIndex().isValid()
        && m_controller->hasChoice(currentField())) {
        editField(currentField());
        return;
    }
    switch (m_controller->doubleClick(calculatorShown)) {
    case browser::DoubleClick::Choose:
        choose();
        break;
    case browser::DoubleClick::Command:
        runCommand(m_controller->commands().value(m_controller->doubleClickCommand()));
        break;
    case browser::DoubleClick::Calculator:
        if (hooks().feedCalculator && m_grid)
            hooks().feedCalculator(m_grid->currentIndex().data().toString());
        break;
    case browser::DoubleClick::Nothing:
        break;
    }
}

void TFmKartot::previousWindow()
{
    QWidget* w = openedFrom();
    if (!w)
        return;
    w->activateWindow();
    w->raise();
    if (auto* k = qobject_cast<TFmKartot*>(w))
        k->grid()->setFocus();
}

void TFmKartot::nextWindow()
{
    if (auto* w = qobject_cast<QWidget*>(m_controller->chooseNext())) {
        w->activateWindow();
        w->raise();
    }
}

void TFmKartot::pickSystemDate()
{
    QDate d = m_context.systemDate();
    if (!m_context.prompts.pickDate(QStringLiteral("Domyślna data systemu"), QString(), d))
        return;
    m_context.baza.setSystemDate(d);
    m_systemDateAction->setText(QStringLiteral("&Data systemu: ") + polish::shortDate(d));
}

void TFmKartot::toggleSystemDateFilter(bool on)
{
    m_context.baza.setSystemDateFilter(on);
    refresh();
}

void TFmKartot::moveMaster(bool down)
{
    if (m_context.settings.modalWindows || !dataSet().master || !dataSet().master->table)
        return;
    Table& master = *dataSet().master->table;
    if (table().isEditing() && !post())
        return;
    down ? master.next() : master.prior();
}

bool TFmKartot::gridKey(QKeyEvent* key)
{
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (key->key() == Qt::Key_Delete && mods == Qt::ControlModifier) {
        deleteSelected();
        return true;
    }
    if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) && mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
        moveMaster(key->key() == Qt::Key_Down);
        return true;
    }
    if (gridEditing() || !m_controller->module())
        return false;
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && mods == Qt::NoModifier
        && m_controller->hasChoice(currentField())) {
        editField(currentField());
        return true;
    }
    // Enter on a row being edited saves it, as the navigator's tick does.
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && mods == Qt::NoModifier && table().isEditing()) {
        post();
        return true;
    }
    const FieldView* v = dataSet().field(currentField());
    if (!v || v->role.isEmpty())
        return false;
    QChar ch;
    if (key->key() == Qt::Key_Backspace)
        ch = typed::kBackspace;
    else if (key->text().size() == 1)
        ch = key->text().at(0);
    else
        return false;
    const auto routed = typed::routed(m_controller->module()->className(), v->role, ch);
    if (!routed)
        return false;
    try {
        return m_controller->module()->typedKey(dataSet(), v->name, *routed);
    } catch (const Error& e) {
        refusal::show(m_context.prompts, e);
        return true;
    }
}
