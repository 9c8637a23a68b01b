#include "tfm_kartot.h"

#include "browser/docking_rules.h"
#include "browser/key_value_settings.h"
#include "browser/module.h"
#include "browser/prompts.h"
#include "browser/refusal.h"
#include "browser/run_context.h"
#include "browser/ui/column_sizer.h"
#include "browser/ui/record_delegate.h"
#include "browser/ui/record_grid.h"
#include "browser/ui/record_model.h"
#include "browser/ui/sum_footer.h"
#include "store/error.h"
#include "store/table.h"

#include <algorithm>
#include <QAbstractItemDelegate>
#include <QAction>
#include <QLabel>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollArea>
#include <QGroupBox>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>

TFmKartot::Hooks& TFmKartot::hooks()
{
    static Hooks h;
    return h;
}

TFmKartot::TFmKartot(TDMDane* module, DataSet& dataSet, RunContext& context, KeyValueSettings& settings,
                     const browser::OpenRequest& request, Command* owner, QWidget* openedFrom)
    : TFmPodstawa(nullptr), m_context(context), m_owner(owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setOpenedFrom(openedFrom);
    m_controller = std::make_unique<browser::Controller>(module, dataSet, context, settings, request);
    m_controller->setPrevious(openedFrom);
    m_table = dataSet.table;
    // A window does not outlive the module that holds its data.
    if (module) {
        m_moduleGone = connect(module, &QObject::destroyed, this, [this] { delete this; });
        // Nothing the module says while the window is being taken apart is shown.
        connect(module, &TDMDane::dataSetChanged, this, [this](DataSet* ds) {
            if (m_controller && m_grid && ds == &this->dataSet())
                redoColumns();
        });
        connect(module, &TDMDane::titleChanged, this, [this](DataSet* ds, const QString& title) {
            if (m_controller && m_grid && ds == &this->dataSet())
                retitle(title);
        });
    }
    setWindowTitle(m_controller->baseTitle());
    setObjectName(QStringLiteral("FmKartot"));

    m_autoEdit = context.settings.autoEdit;
    m_controller->open();
    buildActions();
    buildPanel();
    buildGrid();
    buildMenus();

    // A column never laid out by the user is as wide as its content needs;
    // one the user sized keeps the stored width.
    QList<layout::Column> columns;
    for (const FieldView* f : m_controller->visibleFields())
        columns << layout::Column{f->name, 0};
    const browser::Layout l = m_controller->loadLayout(columns);
    const QStringList automatic = layout::autoWidthsFromStored(
        settings.text(m_controller->settingsKey(), layout::autoWidthsKey()));
    for (const FieldView* f : m_controller->visibleFields())
        m_sizer->setAutomatic(f->name, automatic.contains(f->name.toUpper()) || !storedColumn(f->name));
    applyLayout(l);
    m_sizer->fit();
    showSort();
    updateFrozen();
    buildSheet();
    m_sheet->setVisible(l.dataSheet);
    m_sheetAction->setChecked(l.dataSheet);
    m_sheetAction->setVisible(m_controller->dataSheetAvailable());
    attachLocalShortcuts();
    m_splitter->setSizes({width() - l.dataSheetWidth, l.dataSheetWidth});
    giveModuleShortcutsPrecedence();
    setTitleFromMaster();
    if (!m_searchBoxes.isEmpty())
        m_searchBoxes.first()->setFocus();
    else
        m_grid->setFocus();
    syncGridToTable();
    place(settings, m_controller->settingsKey(), context.settings.modalWindows,
          request.pickMode || request.from == browser::OpenedFrom::Button);
    setStayOnTop(context.settings.stayOnTop);
}

TFmKartot::~TFmKartot()
{
    // A module the window owns goes with it; that is no reason to go twice.
    disconnect(m_moduleGone);
    // The model and the sheet listen to the table; they go before it is closed.
    if (m_table)
        disconnect(m_table, nullptr, this, nullptr);
    // Hiding the window moves the focus out of a data-sheet editor, which
    // would commit it into a window already half taken apart.
    for (const SheetRow& r : m_sheetRows)
        if (r.editor)
            disconnect(r.editor, nullptr, this, nullptr);
    delete m_footer;
    m_footer = nullptr;
    delete m_grid;
    m_grid = nullptr;
    m_model = nullptr;
    m_sheetRows.clear();
    m_controller.reset();
}

DataSet& TFmKartot::dataSet() const
{
    return m_controller->dataSet();
}

Table& TFmKartot::table() const
{
    return m_controller->table();
}

void TFmKartot::buildGrid()
{
    m_splitter = new QSplitter(Qt::Horizontal, container());
    // The grid with its line of sums under it.
    auto* gridBox = new QWidget(m_splitter);
    auto* gridLayout = new QVBoxLayout(gridBox);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->setSpacing(0);
    auto* recordGrid = new RecordGrid(gridBox);
    m_grid = recordGrid;
    gridLayout->addWidget(m_grid, 1);
    m_grid->setObjectName(QStringLiteral("Siatka"));
    m_model = new RecordModel(dataSet(), m_context.prompts, m_grid);
    m_model->setAutoEdit(m_autoEdit);
    m_model->setColumns(m_controller->visibleFields());
    m_grid->setModel(m_model);
    m_sizer = new ColumnSizer(m_grid, m_model);
    // New rows (another month, a filter) may need wider columns; a row
    // being typed does not make them jump.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        if (m_controller && !table().isEditing())
            m_sizer->fit();
    });
    m_grid->setItemDelegate(new RecordDelegate(*m_model, [this](const QString& field) { editField(field); }, m_grid));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->horizontalHeader()->setSectionsMovable(true);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->verticalHeader()->setFixedWidth(14);
    connect(recordGrid, &RecordGrid::editorOpened, this, &TFmKartot::watchCellEditor);
    m_grid->setEditTriggers(m_autoEdit
                                ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                                : QAbstractItemView::EditKeyPressed);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->installEventFilter(this);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { m_gridPopup->popup(m_grid->viewport()->mapToGlobal(p)); });
    connect(m_grid, &QTableView::doubleClicked, this, &TFmKartot::doubleClicked);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& now, const QModelIndex& before) { gridRowChanged(now.row(), before.row()); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentColumnChanged, this, [this](const QModelIndex& now) {
        if (now.isValid())
            m_controller->currentFieldChanged(m_model->fieldAt(now.column()));
    });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int logical) {
        // A column wider than the grid is narrowed so that the others can be seen.
        const int w = m_grid->viewport()->width();
        if (m_grid->columnWidth(logical) > w)
            m_grid->setColumnWidth(logical, w * 8 / 10);
        sortByColumn(logical);
    });
    connect(&table(), &Table::scrolled, this, &TFmKartot::syncGridToTable);
    connect(&table(), &Table::stateChanged, this, &TFmKartot::syncGridToTable);
    // Columns the user moves may change which ones stay in place.
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionMoved, this, [this] {
        if (m_controller)
            updateFrozen();
    });
    m_footer = new SumFooter(m_grid, m_model, dataSet(), gridBox);
    m_sizer->setFooter([this](const QString& field) { return m_footer ? m_footer->textOf(field) : QString(); },
                       m_footer->font());
    gridLayout->addWidget(m_footer);
    m_splitter->addWidget(gridBox);
    containerLayout()->addWidget(m_splitter, 1);
}

void TFmKartot::applyColumns(const QList<layout::Column>& columns)
{
    QHeaderView* h = m_grid->horizontalHeader();
    for (int visual = 0; visual < columns.size(); ++visual) {
        const int logical = m_model->columnOf(columns[visual].field);
        if (logical < 0)
            continue;
        h->moveSection(h->visualIndex(logical), visual);
        m_sizer->setWidth(logical, columns[visual].width);
    }
}

void TFmKartot::applyLayout(const browser::Layout& l)
{
    applyColumns(l.columns);
    m_buttons = l.buttons;
    rebuildToolbar();
    m_toolbar->setVisible(l.toolbarShown);
    m_toolbarAction->setChecked(l.toolbarShown);
    m_controller->setDoubleClickCommand(l.doubleClickCommand);
    rebuildQuickFilters(l.quickFilters);
}

browser::Layout TFmKartot::currentLayout() const
{
    browser::Layout l;
    const QHeaderView* h = m_grid->horizontalHeader();
    for (int visual = 0; visual < m_model->columns(); ++visual) {
        const int logical = h->logicalIndex(visual);
        l.columns << layout::Column{m_model->fieldAt(logical), m_grid->columnWidth(logical)};
    }
    l.buttons = m_buttons;
    l.quickFilters = m_quickFilterFields;
    l.dataSheet = m_sheetAction->isChecked();
    l.dataSheetWidth = m_sheet->isVisible() ? m_sheet->width() : m_controller->settings().number(m_controller->settingsKey(), QStringLiteral("ArkuszWidth"), 250);
    l.toolbarShown = m_toolbarAction->isChecked();
    l.doubleClickCommand = m_controller->doubleClickCommand();
    return l;
}

void TFmKartot::rememberColumns()
{
    for (int logical = 0; logical < m_model->columns(); ++logical)
        m_knownWidths.insert(m_model->fieldAt(logical).toUpper(), m_grid->columnWidth(logical));
}

void TFmKartot::redoColumns()
{
    // Until the window is built the columns are still to be laid out.
    if (!m_grid || !m_model || !m_sheet)
        return;
    refreshCommandTexts();
    const QList<const FieldView*> fields = m_controller->visibleFields();
    bool same = fields.size() == m_model->columns();
    for (int i = 0; same && i < fields.size(); ++i)
        same = m_model->column(i) == fields[i];
    if (same) {
        // Only captions can have changed: the columns stay as the user has them.
        m_model->captionsChanged();
        for (const SheetRow& r : m_sheetRows)
            if (const FieldView* v = dataSet().field(r.field); v && r.caption)
                r.caption->setText(v->caption);
        return;
    }
    const QModelIndex was = m_grid->currentIndex();
    const QString currentName = was.isValid() ? m_model->fieldAt(was.column()) : QString();
    rememberColumns();
    const QList<layout::Column> shown = currentLayout().columns;
    QStringList names;
    for (const FieldView* f : fields)
        names << f->name;
    // A column coming in is as wide as it was last shown, here or as stored.
    // A column never shown nor stored follows its content.
    const auto width = [this](const QString& field) {
        if (const auto known = m_knownWidths.constFind(field.toUpper()); known != m_knownWidths.constEnd())
            return *known;
        const auto stored = storedColumn(field);
        if (!stored)
            m_sizer->setAutomatic(field, true);
        return stored ? *stored % 1000 : 0;
    };
    const QList<layout::Column> arranged = layout::rearrange(shown, names, width);
    m_model->setColumns(fields);
    m_footer->recount();
    applyColumns(arranged);
    m_sizer->fit();
    showSort();
    updateFrozen();
    fillSheet();

    // The same column stays current when it is still shown, else the first one.
    int column = m_model->columnOf(currentName);
    if (column < 0)
        column = m_grid->horizontalHeader()->logicalIndex(0);
    const int row = m_model->currentRow();
    if (row >= 0 && column >= 0) {
        m_syncing = true;
        m_grid->selectionModel()->setCurrentIndex(m_model->index(row, column),
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_syncing = false;
    }
    m_controller->currentFieldChanged(currentField());
}

void TFmKartot::updateFrozen()
{
    // A grid of codes (attendance, extra charges) keeps the children's
    // names in sight while its day or charge columns scroll: the columns up
    // to the first searched one (the name), unless they would take half
    // the screen.
    constexpr int kMaxFrozenWidth = 480;
    bool coded = false;
    for (int c = 0; c < m_model->columns() && !coded; ++c)
        coded = m_model->codedColumn(c);
    int count = 0;
    if (coded) {
        const QHeaderView* h = m_grid->horizontalHeader();
        int width = 0;
        for (int visual = 0; visual < m_model->columns(); ++visual) {
            const int logical = h->logicalIndex(visual);
            width += m_grid->columnWidth(logical);
            if (width > kMaxFrozenWidth)
                break;
            if (const FieldView* v = m_model->column(logical); v && v->role == roles::search()) {
                count = visual + 1;
                break;
            }
        }
    }
    static_cast<RecordGrid*>(m_grid)->setFrozenCount(count);
}

std::optional<int> TFmKartot::storedColumn(const QString& field) const
{
    return layout::decodeColumn(m_controller->settings().text(m_controller->settingsKey(), layout::columnKey(field)));
}

void TFmKartot::retitle(const QString& title)
{
    m_controller->setBaseTitle(title);
    setTitleFromMaster();
}

void TFmKartot::refreshCommandTexts()
{
    for (Command* c : m_controller->commands()) {
        QAction* a = m_commandActions.value(c);
        if (!a)
            continue;
        a->setText(c->caption);
        a->setToolTip(c->plainCaption());
        a->setIconText(c->label.isEmpty() ? c->plainCaption() : c->label);
        a->setStatusTip(c->label);
    }
}

void TFmKartot::syncGridToTable()
{
    if (m_syncing || !m_grid)
        return;
    m_syncing = true;
    const int row = m_model->currentRow();
    const QModelIndex now = m_grid->currentIndex();
    if (row >= 0 && now.row() != row) {
        const int column = now.isValid() ? now.column() : m_grid->horizontalHeader()->logicalIndex(0);
        m_grid->selectionModel()->setCurrentIndex(m_model->index(row, std::max(column, 0)),
                                                  QItemSelectionModel::NoUpdate);
    }
    m_syncing = false;
    refreshSheet();
    setTitleFromMaster();
}

void TFmKartot::gridRowChanged(int row, int previousRow)
{
    if (m_syncing || row < 0)
        return;
    if (m_model->isInsertRow(row))
        return;
    if (table().isEditing() && row != m_model->currentRow()) {
        if (!post()) {
            m_syncing = true;
            m_grid->selectionModel()->setCurrentIndex(m_model->index(std::max(previousRow, 0), m_grid->currentIndex().column()),
                                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            m_syncing = false;
            return;
        }
    }
    if (row < table().rowCount() && m_model->tableRow(row) != table().position()) {
        m_syncing = true;
        table().setPosition(m_model->tableRow(row));
        m_syncing = false;
        refreshSheet();
    }
}

bool TFmKartot::post()
{
    commitPendingTyping();
    try {
        table().post();
    } catch (const Error& e) {
        refusal::show(m_context.prompts, e);
        return false;
    }
    return true;
}

void TFmKartot::setTitleFromMaster()
{
    const QString t = m_controller->title();
    if (windowTitle() != t)
        setWindowTitle(t);
}

bool TFmKartot::gridEditing() const
{
    QWidget* f = QApplication::focusWidget();
    return m_grid && f && f != m_grid && m_grid->isAncestorOf(f);
}

void TFmKartot::commitGridEditor()
{
    if (!gridEditing())
        return;
    QWidget* editor = QApplication::focusWidget();
    emit m_grid->itemDelegate()->commitData(editor);
    emit m_grid->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TFmKartot::commitPendingTyping()
{
    commitGridEditor();
    // Buttons take no focus, so a data-sheet editor may still hold its text.
    if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget()); edit && isAncestorOf(edit))
        commitSheetEditor(edit);
}

void TFmKartot::runModal()
{
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    show();
    loop.exec();
}

void TFmKartot::closeEvent(QCloseEvent* event)
{
    commitPendingTyping();
    if (table().isEditing()) {
        if (m_context.prompts.askYesNo(QStringLiteral("Zapisać zmiany?"))) {
            // A row the rules refuse keeps the window open, so the typing is not lost.
            if (!post()) {
                event->ignore();
                return;
            }
        } else {
            table().cancel();
        }
    }
    // The windows docked here go with it, each asking its own questions; one
    // that stays open keeps this one open too.
    const QStringList inside = dockedCommandCaptions();
    if (!closeDocked()) {
        event->ignore();
        return;
    }
    m_closing = true;
    KeyValueSettings& s = m_controller->settings();
    savePlace(s, m_controller->settingsKey());
    m_controller->saveLayout(currentLayout());
    s.setValue(m_controller->settingsKey(), layout::autoWidthsKey(),
               layout::autoWidthsToStored(m_sizer->automaticShown()));
    if (m_dockedRestored)
        s.setValue(m_controller->settingsKey(), docking::insideKey(), docking::insideToStored(inside));
    event->accept();
}

void TFmKartot::refresh()
{
    try {
        if (table().isEditing() && !post())
            return;
        table().isOpen() ? table().refresh() : table().open();
    } catch (const Error& e) {
        refusal::show(m_context.prompts, e);
    }
    syncGridToTable();
}

void TFmKartot::refreshAllCommandChecks()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* k = qobject_cast<TFmKartot*>(w))
            k->refreshCommandChecks();
}
