#include "tdm_nalkla.h"

#include "fees/extra_charges.h"

#include "browser/prompts.h"
#include "shell/access_rules.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

namespace {

const QString kKlasa = QStringLiteral("KLASA");
const QString kGroupName = QStringLiteral("GRUPA");

QVariant groupValue(const Table& t)
{
    return t.isNull(kKlasa) ? QVariant() : QVariant(t.asInt(kKlasa));
}

}  // namespace

TDMNalKla::TDMNalKla(RunContext& context, std::function<void()> changed, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMNalKla"), parent), m_changed(std::move(changed))
{
    readGroupNames();
    DataSet& ds = addDataSet(QStringLiteral("Nalkla"), QStringLiteral("NALKLA"), QStringLiteral("DATA;KLASA;KOD"));
    Table& t = *ds.table;
    t.addCalculatedField(FieldDef::of(kGroupName, FieldType::String, 30));
    t.events().onCalcFields = [this](Table& row) {
        row.setCalculated(kGroupName, row.isNull(kKlasa) ? noGroup() : m_groupNames.value(row.asInt(kKlasa)));
    };
    t.setRowTest([this](const Table& row) { return groupShown(row.text(kKlasa)); });

    Table::Events& ev = t.events();
    ev.onNewRecord = [this](Table& row) {
        const QVariant group = defaultGroup();
        if (group.isValid())
            row.setValue(kKlasa, group);
        row.setValue(QStringLiteral("DATA"), this->context().systemDate());
    };
    ev.beforeEdit = [this](Table& row) { m_groupBeforeEdit = groupValue(row); };
    ev.beforePost = [this](Table& row) {
        if (row.state() == Table::State::Insert) {
            row.setValue(QStringLiteral("KOD"), extra::nextCode(row.database(), groupValue(row)));
        } else if (groupValue(row) != m_groupBeforeEdit) {
            throw Error(groupChangeRefusal());
        }
    };
    ev.beforeDelete = [](Table& row) {
        if (extra::hasPayments(row.database(), groupValue(row), row.asInt(QStringLiteral("KOD"))))
            throw Error(deletionRefusal());
    };
    ev.afterPost = [this](Table&) {
        if (m_changed)
            m_changed();
    };
    ev.afterDelete = ev.afterPost;

    FieldView group = FieldView::column(kGroupName, QStringLiteral("Grupa"));
    group.choose = [this] { return chooseGroup(); };
    ds.fields = {
        group,
        FieldView::formatted(QStringLiteral("DATA"), QStringLiteral("Data"), QStringLiteral("dd.MM.yyyy")),
        FieldView::column(QStringLiteral("SKROT"), QStringLiteral("Skrót")),
        FieldView::formatted(QStringLiteral("KWOTA"), QStringLiteral("Kwota"), QStringLiteral("0.00")),
        FieldView::hidden(QStringLiteral("KOD")),
        FieldView::hidden(kKlasa),
        FieldView::hidden(QStringLiteral("OPIS")),
    };
    ds.fields[3].alignment = Qt::AlignRight;

    Command describe = Command::make(QStringLiteral("Opisnaliczenia1"), QStringLiteral("&Opis naliczenia"),
                                     QStringLiteral("Opis naliczenia"));
    describe.handler = [this] { editDescription(); };
    ds.commands = {describe};
    applyFunctions();
}

void TDMNalKla::readGroupNames()
{
    m_groupNames.clear();
    Query q(context().db(), QStringLiteral("SELECT KOD, NAZWA FROM KLASY"));
    q.exec();
    while (q.next())
        m_groupNames.insert(q.value(0).toInt(), q.value(1).toString());
}

bool TDMNalKla::groupShown(const QString& group) const
{
    // A charge without a group concerns every child, so every user sees it.
    return group.isEmpty() || permissions::groupVisible(context().login.visibleGroups, group);
}

QVariant TDMNalKla::defaultGroup() const
{
    const QStringList& visible = context().login.visibleGroups;
    if (visible.contains(QStringLiteral("-1")))
        return {};
    Query q(context().db(), QStringLiteral("SELECT KOD FROM KLASY ORDER BY KOLEJ, KOD"));
    q.exec();
    while (q.next())
        if (permissions::groupVisible(visible, q.value(0).toString()))
            return q.value(0).toInt();
    return {};
}

bool TDMNalKla::chooseGroup()
{
    Table& t = *charges().table;
    if (t.state() != Table::State::Insert && !t.isEmpty())
        throw Error(groupChangeRefusal());
    if (t.state() != Table::State::Insert)
        return false;
    readGroupNames();
    QList<PickEntry> entries{{noGroup(), QString()}};
    Query q(context().db(), QStringLiteral("SELECT KOD, NAZWA FROM KLASY ORDER BY KOLEJ, KOD"));
    q.exec();
    while (q.next())
        if (groupShown(q.value(0).toString()))
            entries << PickEntry{q.value(1).toString(), q.value(0).toString()};
    QVariant value = t.text(kKlasa);
    if (!context().prompts.pickFromList(QStringLiteral("Grupa"), QString(), entries, value))
        return false;
    const QString code = value.toString();
    t.setValue(kKlasa, code.isEmpty() ? QVariant() : QVariant(code.toInt()));
    return true;
}

void TDMNalKla::editDescription()
{
    Table& t = *charges().table;
    if (!t.isOpen() || (t.isEmpty() && t.state() != Table::State::Insert))
        return;
    QString text = t.text(QStringLiteral("OPIS"));
    if (!context().prompts.editMemo(QStringLiteral("Opis naliczenia"), text))
        return;
    if (!t.isEditing())
        t.edit();
    t.setValue(QStringLiteral("OPIS"), text);
    t.post();
}
