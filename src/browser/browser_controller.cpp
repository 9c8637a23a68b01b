#include "browser_controller.h"

#include "browser/key_value_settings.h"
#include "browser/module.h"
#include "browser/picker_logic.h"
#include "browser/refusal.h"
#include "store/error.h"
#include "store/table.h"

#include <QPointer>

namespace browser {

namespace {

const QString kArkusz = QStringLiteral("Arkusz");
const QString kArkuszWidth = QStringLiteral("ArkuszWidth");
const QString kSzybkiDostep = QStringLiteral("SzybkiDostep");
const QString kFilters = QStringLiteral("Filters");
const QString kButtons = QStringLiteral("Buttons");
const QString kDblClick = QStringLiteral("DblClickAkcja");

}  // namespace

QList<Command*> tidiedCommands(QList<Command>& commands)
{
    QList<Command*> out;
    for (Command& c : commands) {
        if (!c.shown())
            continue;
        if (c.separator && (out.isEmpty() || out.last()->separator))
            continue;
        out << &c;
    }
    while (!out.isEmpty() && out.last()->separator)
        out.removeLast();
    return out;
}

Controller::Controller(TDMDane* module, DataSet& dataSet, RunContext& context, KeyValueSettings& settings,
                       const OpenRequest& request)
    : m_module(module), m_dataSet(dataSet), m_context(context), m_settings(settings), m_request(request),
      m_filters(std::make_shared<datafilter::Filter>(dataSet, [&context] { return context.systemDate(); }))
{
    m_baseTitle = browser::baseTitle(request.from, request.text, dataSet.name);
    m_key = browser::settingsKey(m_baseTitle);
    m_commands = tidiedCommands(dataSet.commands);
    m_wasOpen = dataSet.table && dataSet.table->isOpen();
    m_table = dataSet.table;
}

Controller::~Controller()
{
    m_installed.reset();
    if (!m_wasOpen && m_table && m_table->isOpen() && !m_table->isEditing())
        m_table->close();
}

Table& Controller::table() const
{
    return *m_dataSet.table;
}

QString Controller::title() const
{
    const DataSet* master = m_dataSet.master;
    if (master && master->table && master->table->isOpen() && master->table->hasField(QStringLiteral("CAPTION")))
        return detailTitle(m_baseTitle, master->table->text(QStringLiteral("CAPTION")));
    return m_baseTitle;
}

QList<const FieldView*> Controller::visibleFields() const
{
    QList<const FieldView*> out;
    for (const FieldView& f : m_dataSet.fields)
        if (f.visible && m_dataSet.table && m_dataSet.table->hasField(f.name))
            out << &f;
    return out;
}

QStringList Controller::searchFields() const
{
    QStringList out;
    for (const FieldView* f : visibleFields())
        if (f->role == roles::search())
            out << f->name;
    return out;
}

void Controller::open()
{
    if (!table().isOpen())
        table().open();
    else
        table().refresh();
}

bool Controller::canInsert() const
{
    return !m_module || m_module->canInsert(m_dataSet);
}

bool Controller::canDelete() const
{
    return !m_module || m_module->canDelete(m_dataSet);
}

bool Controller::hasChoice(const QString& field) const
{
    const FieldView* v = m_dataSet.field(field);
    return v && v->choose;
}

bool Controller::chooseValue(const QString& field)
{
    const FieldView* v = m_dataSet.field(field);
    if (!v || !v->choose || !m_dataSet.table)
        return false;
    // A copy: the choice may make the module redo its fields.
    const std::function<bool()> choose = v->choose;
    Table& t = *m_dataSet.table;
    const bool wasEditing = t.isEditing();
    try {
        choose();
    } catch (const Error& e) {
        if (!wasEditing && t.isEditing())
            t.cancel();
        refusal::show(m_context.prompts, e);
    }
    return true;
}

void Controller::currentFieldChanged(const QString& field)
{
    if (m_module && !field.isEmpty())
        m_module->currentFieldChanged(m_dataSet, field);
}

Layout Controller::loadLayout(const QList<layout::Column>& defaultColumns) const
{
    Layout l;
    l.dataSheet = dataSheetAvailable() && m_settings.flag(m_key, kArkusz, true);
    l.dataSheetWidth = m_settings.number(m_key, kArkuszWidth, 250);
    l.toolbarShown = m_settings.flag(m_key, kSzybkiDostep, true);
    l.quickFilters = quickfilter::atOpening(m_dataSet, m_settings.text(m_key, kFilters));
    l.buttons = toolbar::fromStored(m_commands, m_settings.text(m_key, kButtons));
    QStringList stored;
    for (const layout::Column& c : defaultColumns)
        stored << m_settings.text(m_key, layout::columnKey(c.field));
    l.columns = layout::arrange(defaultColumns, stored);
    const QString dbl = m_settings.text(m_key, kDblClick);
    if (!dbl.isEmpty())
        for (int i = 0; i < m_commands.size(); ++i)
            if (!m_commands[i]->separator && m_commands[i]->caption == dbl)
                l.doubleClickCommand = i;
    return l;
}

void Controller::saveLayout(const Layout& l) const
{
    if (dataSheetAvailable())
        m_settings.setValue(m_key, kArkusz, l.dataSheet);
    m_settings.setValue(m_key, kArkuszWidth, l.dataSheetWidth);
    m_settings.setValue(m_key, kSzybkiDostep, l.toolbarShown);
    m_settings.setValue(m_key, kFilters, quickfilter::toStored(l.quickFilters));
    m_settings.setValue(m_key, kButtons, toolbar::toStored(m_commands, l.buttons));
    for (int i = 0; i < l.columns.size(); ++i)
        m_settings.setValue(m_key, layout::columnKey(l.columns[i].field), layout::encodeColumn(i, l.columns[i].width));
    if (l.doubleClickCommand >= 0 && l.doubleClickCommand < m_commands.size())
        m_settings.setValue(m_key, kDblClick, m_commands[l.doubleClickCommand]->caption);
}

void Controller::setQuickFilters(const QStringList& fields)
{
    m_quickFilters = fields;
}

void Controller::applyFilters()
{
    m_filters->apply();
    refilter();
}

void Controller::refilter()
{
    if (!m_installed && m_dataSet.table)
        m_installed = std::make_unique<datafilter::Installed>(*m_dataSet.table, m_filters);
    else if (m_dataSet.table && m_dataSet.table->isOpen())
        m_dataSet.table->refresh();
}

DoubleClick Controller::doubleClick(bool calculatorShown) const
{
    if (calculatorShown)
        return DoubleClick::Calculator;
    if (m_request.pickMode) {
        if (m_dataSet.table && m_dataSet.table->isEditing())
            return DoubleClick::Nothing;
        return DoubleClick::Choose;
    }
    if (m_doubleClick >= 0 && m_doubleClick < m_commands.size() && m_commands[m_doubleClick]->handler)
        return DoubleClick::Command;
    return DoubleClick::Nothing;
}

bool Controller::chooseDoubleClick()
{
    QList<CommandEntry> entries;
    QList<int> indexes;
    int current = -1;
    for (int i = 0; i < m_commands.size(); ++i) {
        if (m_commands[i]->separator)
            continue;
        if (i == m_doubleClick)
            current = int(entries.size());
        entries << CommandEntry{m_commands[i]->caption, bool(m_commands[i]->handler)};
        indexes << i;
    }
    if (!m_context.prompts.chooseCommand(QStringLiteral("Akcja na podwójne kliknięcie"), entries, current))
        return false;
    if (current >= 0 && current < indexes.size())
        m_doubleClick = indexes[current];
    return true;
}

void Controller::addNext(QObject* window, const QString& label)
{
    m_next << Next{window, label};
}

QObject* Controller::chooseNext()
{
    QList<Next> alive;
    for (const Next& n : m_next)
        if (n.window)
            alive << n;
    m_next = alive;
    if (alive.isEmpty())
        return nullptr;
    if (alive.size() == 1)
        return alive.first().window;
    QList<PickEntry> entries;
    for (int i = 0; i < alive.size(); ++i)
        entries << PickEntry{alive[i].label, i};
    QVariant chosen = 0;
    if (!m_context.prompts.pickFromList(QStringLiteral("Wybór okna"), QString(), entries, chosen))
        return nullptr;
    const int i = chosen.toInt();
    return i >= 0 && i < alive.size() ? alive[i].window.data() : nullptr;
}

}  // namespace browser
