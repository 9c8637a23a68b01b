#include "tdm_klasy.h"

#include "display_order.h"

#include "shell/access_rules.h"
#include "store/database.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

#include <QSet>

namespace {

struct Texts {
    QString noEdit;
    QString noDelete;
};

const Texts& groupTexts()
{
    static const Texts t{QStringLiteral("Nie można edytować grupy nieaktywnych"),
                         QStringLiteral("Nie można skasować grupy nieaktywnych")};
    return t;
}

const Texts& statusTexts()
{
    static const Texts t{QStringLiteral("Nie można edytować zerowego statusu"),
                         QStringLiteral("Nie można skasować zerowego statusu")};
    return t;
}

bool isZeroRow(const Table& t)
{
    return !t.isNull(QStringLiteral("KOD")) && t.asInt(QStringLiteral("KOD")) == 0;
}

void setUp(RunContext& context, DataSet& ds, const Texts& texts)
{
    FieldView name;
    name.name = QStringLiteral("NAZWA");
    name.caption = QStringLiteral("Nazwa");
    name.role = roles::search();
    FieldView order;
    order.name = QStringLiteral("KOLEJ");
    order.caption = QStringLiteral("Kolejność");
    order.visible = false;
    order.readOnly = true;
    ds.fields = {name, order};

    Table::Events& ev = ds.table->events();
    ev.beforeEdit = [texts](Table& t) {
        if (isZeroRow(t))
            throw Error(texts.noEdit);
    };
    ev.beforePost = [texts](Table& t) {
        if (t.state() == Table::State::Edit && isZeroRow(t))
            throw Error(texts.noEdit);
        display_order::assignOnInsert(t);
    };
    ds.commands = {display_order::moveUpCommand(context, ds), display_order::moveDownCommand(context, ds)};
}

}  // namespace

TDMKlasy::TDMKlasy(RunContext& context, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMKlasy"), parent)
{
    DataSet& g = addDataSet(QStringLiteral("Klasy"), QStringLiteral("KLASY"), QStringLiteral("KOLEJ"));
    setUp(context, g, groupTexts());
    RunContext* ctx = &context;
    g.table->setRowTest([ctx](const Table& t) {
        return permissions::groupVisible(ctx->login.visibleGroups, t.text(QStringLiteral("KOD")));
    });
    g.table->events().beforeDelete = [this](Table& t) {
        if (isZeroRow(t))
            throw Error(groupTexts().noDelete);
        checkGroupDeletion(t.value(QStringLiteral("KOD")));
    };

    DataSet& s = addDataSet(QStringLiteral("Statusy"), QStringLiteral("STATUSY"), QStringLiteral("KOLEJ"));
    setUp(context, s, statusTexts());
    s.table->events().beforeDelete = [this](Table& t) {
        if (isZeroRow(t))
            throw Error(statusTexts().noDelete);
        checkStatusDeletion(t.value(QStringLiteral("KOD")));
    };

    // The statuses window is this module switched over; the command is
    // never offered to the user.
    Command toStatuses;
    toStatuses.name = QStringLiteral("ZmienNaStatusy");
    toStatuses.caption = QStringLiteral("ZmienNaStatusy");
    toStatuses.wanted = false;
    toStatuses.handler = [this] { switchToStatuses(); };
    g.commands << toStatuses;

    applyFunctions();
}

void TDMKlasy::switchToStatuses()
{
    m_statuses = true;
}

DataSet* TDMKlasy::mainDataSet() const
{
    return m_statuses ? &statuses() : &groups();
}

QString TDMKlasy::groupInUseHeading()
{
    return QStringLiteral("Nie można skasować grupy, gdyż występuje ona w:");
}

QString TDMKlasy::statusInUseHeading()
{
    return QStringLiteral("Nie można skasować statusu, gdyż występuje on w:");
}

void TDMKlasy::checkGroupDeletion(const QVariant& code)
{
    // Extra classes and the classes held keep their group too: a deleted
    // group would leave them pointing at nothing.
    const QString zaj = QStringLiteral("\r\n- zajęciach dodatkowych");
    const QString lines = inUseLines(context().db(),
                                     {{QStringLiteral("D"), QStringLiteral("DZIECI"), QStringLiteral("KLASA"),
                                       QStringLiteral("\r\n- kartotece dzieci")},
                                      {QStringLiteral("W"), QStringLiteral("WYCHOW"), QStringLiteral("KLASA"),
                                       QStringLiteral("\r\n- kartotece wychowawców")},
                                      {QStringLiteral("Z"), QStringLiteral("ZAJDOD"), QStringLiteral("KLASA"), zaj},
                                      {QStringLiteral("Z"), QStringLiteral("ZAJODB"), QStringLiteral("KLASA"), zaj}},
                                     code);
    if (!lines.isEmpty())
        throw Error(groupInUseHeading() + lines);
}

void TDMKlasy::checkStatusDeletion(const QVariant& code)
{
    // An older store without the children's status has no child using one.
    if (!context().db().hasColumn(QStringLiteral("DZIECI"), QStringLiteral("STATUS")))
        return;
    const QString lines = inUseLines(
        context().db(),
        {{QStringLiteral("D"), QStringLiteral("DZIECI"), QStringLiteral("STATUS"), QStringLiteral("\r\n- kartotece dzieci")}},
        code);
    if (!lines.isEmpty())
        throw Error(statusInUseHeading() + lines);
}
