#include "module.h"

#include "window_opener.h"

#include "shell/access_rules.h"
#include "store/table.h"

#include <QPointer>

QString Command::plainCaption() const
{
    QString c = caption;
    const qsizetype amp = c.indexOf(QLatin1Char('&'));
    if (amp >= 0)
        c.remove(amp, 1);
    return c;
}

FieldView* DataSet::field(const QString& name)
{
    for (FieldView& f : fields)
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

const FieldView* DataSet::field(const QString& name) const
{
    return const_cast<DataSet*>(this)->field(name);
}

Command* DataSet::command(const QString& name)
{
    for (Command& c : commands)
        if (c.name == name)
            return &c;
    return nullptr;
}

void DataSet::addRemainingFields()
{
    if (!table)
        return;
    for (const Table::Field& f : table->fields()) {
        if (field(f.def.name) || !f.present)
            continue;
        FieldView v;
        v.name = f.def.name;
        v.caption = f.def.displayCaption();
        v.readOnly = f.kind != Table::FieldKind::Data || f.def.type == FieldType::AutoInc;
        if (f.def.type == FieldType::Float || f.def.type == FieldType::Integer || f.def.type == FieldType::SmallInt
            || f.def.type == FieldType::AutoInc)
            v.alignment = Qt::AlignRight;
        fields << v;
    }
}

TDMDane::TDMDane(RunContext& context, const QString& className, QObject* parent)
    : QObject(parent), m_context(context), m_className(className)
{
}

TDMDane::~TDMDane() = default;

QList<DataSet*> TDMDane::dataSets() const
{
    QList<DataSet*> out;
    for (const auto& ds : m_dataSets)
        out << ds.get();
    return out;
}

DataSet* TDMDane::dataSet(const QString& name) const
{
    for (const auto& ds : m_dataSets)
        if (ds->name == name)
            return ds.get();
    return nullptr;
}

DataSet* TDMDane::mainDataSet() const
{
    return m_dataSets.isEmpty() ? nullptr : m_dataSets.first().get();
}

DataSet& TDMDane::addDataSet(const QString& name, const QString& tableName, const QString& ordering)
{
    auto ds = std::make_shared<DataSet>();
    ds->name = name;
    ds->table = new Table(m_context.db(), tableName, this);
    if (!ordering.isEmpty())
        ds->table->setOrdering(ordering);
    m_dataSets << ds;
    return *ds;
}

Table& TDMDane::table(const QString& dataSetName) const
{
    return *dataSet(dataSetName)->table;
}

void TDMDane::applyFunctions()
{
    for (const auto& ds : m_dataSets) {
        QList<permissions::MenuEntry> entries;
        for (Command& c : ds->commands) {
            if (!c.separator) {
                if (const auto v = permissions::commandVisibility(m_className + QLatin1Char('.') + c.name,
                                                                  m_context.login.functions))
                    c.visible = *v;
            }
            permissions::MenuEntry e = c.separator ? permissions::MenuEntry::separatorLine()
                                                   : permissions::MenuEntry::command(c.name, c.caption);
            e.visible = c.visible && c.wanted;
            entries << e;
        }
        permissions::tidyMenu(entries);
        for (int i = 0; i < entries.size(); ++i)
            ds->commands[i].tidiedAway = entries[i].tidiedAway;
    }
}

void TDMDane::openAsWindow(std::unique_ptr<TDMDane> module, const QString& title)
{
    DataSet* ds = module->mainDataSet();
    if (!ds)
        return;
    module->m_windowOwned = true;
    QPointer<TDMDane> guard(module.release());
    try {
        guard->browse(*ds, title);
    } catch (...) {
        // No window took it.
        if (guard && !guard->parent())
            delete guard.data();
        throw;
    }
}

void TDMDane::browse(DataSet& ds, const QString& title, Command* owner)
{
    if (owner && owner->opensWindow && owner->checked) {
        m_context.opener.closeOwnedBy(owner);
        return;
    }
    m_context.opener.browse(*this, ds, title, owner);
}

bool TDMDane::typedKey(DataSet&, const QString&, QChar)
{
    return false;
}

void TDMDane::currentFieldChanged(DataSet&, const QString&)
{
}

bool TDMDane::saveMasterFirst(Table& master, Table& detail, const QString& masterFields, const QString& detailFields,
                              std::function<void()> relinked)
{
    if (master.state() != Table::State::Insert)
        return false;
    detail.clearMasterLink();
    try {
        master.post();
    } catch (...) {
        detail.setMasterLink(&master, masterFields, detailFields);
        throw;
    }
    auto relink = std::make_shared<QMetaObject::Connection>();
    *relink = connect(&detail, &Table::stateChanged, &detail,
                      [&detail, &master, masterFields, detailFields, relinked, relink] {
                          if (detail.isEditing())
                              return;
                          QObject::disconnect(*relink);
                          const QVariant current = detail.isEmpty() ? QVariant() : detail.rowId();
                          detail.setMasterLink(&master, masterFields, detailFields);
                          for (int r = 0; current.isValid() && r < detail.rowCount(); ++r) {
                              detail.setPosition(r);
                              if (detail.rowId() == current)
                                  break;
                          }
                          if (relinked)
                              relinked();
                      });
    return true;
}
