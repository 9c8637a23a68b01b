#include "tdm_inform.h"

#include "inform_addressees.h"
#include "mail_link.h"

#include "browser/prompts.h"
#include "registers/child_caption.h"
#include "shell/access_rules.h"
#include "store/error.h"
#include "store/polish_dates.h"
#include "store/query.h"
#include "store/table.h"

#include <QUrl>

namespace {

const QString kKod = QStringLiteral("KOD");
const QString kKlasa = QStringLiteral("KLASA");
const QString kTyp = QStringLiteral("TYP");
const QString kInform = QStringLiteral("INFORM");
const QString kOsoba = QStringLiteral("OSOBA");
const QString kBoard = QStringLiteral("G");

Table* ownTable(Database& db, const QString& name, const QString& ordering, QObject* owner)
{
    auto* t = new Table(db, name, owner);
    t->setOrdering(ordering);
    return t;
}

// Whether the row holds a saved information or one being entered.
bool hasRow(const Table& t)
{
    return t.isOpen() && (!t.isEmpty() || t.state() == Table::State::Insert);
}

}  // namespace

// Both addressee lists add DZIEINF rows: a child is addressed at most once.
void TDMInform::refuseDuplicateAddressee(Database& db, const Table& row)
{
    if (row.state() == Table::State::Edit)
        return;
    const int same = Query(db, QStringLiteral("SELECT COUNT(*) FROM DZIEINF WHERE INFORM = :I AND OSOBA = :O"))
                         .bind(QStringLiteral("I"), row.value(kInform))
                         .bind(QStringLiteral("O"), row.value(kOsoba))
                         .scalar()
                         .toInt();
    if (same > 0)
        throw Error(duplicateAddressee());
}

QString TDMInform::groupChangeRefusal()
{
    return QStringLiteral("Nie można edytować grupy informacji");
}

QString TDMInform::deleteRefusal()
{
    return QStringLiteral("Informacja ma powiązania z dziećmi");
}

QString TDMInform::duplicateAddressee()
{
    return QStringLiteral("Dziecko jest już adresatem tej informacji");
}

TDMInform::TDMInform(RunContext& context, const InformOptions& options, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMInform"), parent), m_options(options), m_child(options.child)
{
    setUpInformations();
    setUpChildren();
    setUpAddressees();
    setUpAttachments();
    setUpChildView();
    setUpCommands();
    applyFunctions();
}

DataSet* TDMInform::mainDataSet() const
{
    return perChild() ? &childInformations() : &informations();
}

bool TDMInform::canInsert(const DataSet& ds) const
{
    return &ds != &children();
}

bool TDMInform::canDelete(const DataSet& ds) const
{
    return &ds != &children();
}

// ---- the informations ------------------------------------------------------------

void TDMInform::setUpInformations()
{
    Database& db = context().db();
    RunContext* ctx = &context();
    DataSet& ds = addDataSet(QStringLiteral("Inform"), QStringLiteral("INFORM"), kKod);
    Table& t = *ds.table;

    Table* groups = ownTable(db, QStringLiteral("KLASY"), kKod, this);
    groups->open();
    t.addLookupField(FieldDef::of(QStringLiteral("KLASANAZWA"), FieldType::String, 30), kKlasa, groups, kKod,
                     QStringLiteral("NAZWA"));
    Table* types = ownTable(db, QStringLiteral("KODY"), QStringLiteral("RODZAJ;TYP"), this);
    types->setRange({QStringLiteral("inform")}, {QStringLiteral("inform")});
    types->open();
    t.addLookupField(FieldDef::of(QStringLiteral("TYPNAZWA"), FieldType::String, 20), kTyp, types, kTyp,
                     QStringLiteral("NAZWA"));
    t.addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 120));
    t.events().onCalcFields = [](Table& row) {
        row.setCalculated(QStringLiteral("CAPTION"), row.text(QStringLiteral("OPIS")) + QStringLiteral(" z dnia ")
                                                         + polish::shortDate(row.asDate(QStringLiteral("DATA"))));
    };
    // A notice for everybody reaches every user; one for a group only
    // those who see the group.
    t.setRowTest([ctx](const Table& row) {
        return row.isNull(kKlasa) || permissions::groupVisible(ctx->login.visibleGroups, row.text(kKlasa));
    });
    t.events().onNewRecord = [ctx](Table& row) { row.setValue(QStringLiteral("DATA"), ctx->systemDate()); };
    t.events().onFieldChange = [](Table& row, const QString& field) {
        if (field == kKlasa && row.state() == Table::State::Edit)
            throw Error(groupChangeRefusal());
    };
    t.events().beforePost = [&db](Table& row) {
        if (!row.isNull(kKlasa) && row.text(kTyp) != kBoard)
            row.setValue(kTyp, kBoard);
        if (row.text(kTyp) == kBoard && row.state() == Table::State::Edit
            && inform::addresseeCount(db, row.asInt(kKod)) > 0)
            throw Error(inform::boardRefusal());
    };
    t.events().beforeDelete = [this, &db](Table& row) {
        m_deleting = row.value(kKod);
        if (inform::addresseeCount(db, row.asInt(kKod)) > 0)
            throw Error(deleteRefusal());
    };
    // Attachments of a deleted information could never be reached again.
    t.events().afterDelete = [this, &db](Table&) {
        Query(db, QStringLiteral("DELETE FROM LINKI WHERE INFORM = :I")).bind(QStringLiteral("I"), m_deleting).exec();
        Table& links = *attachments().table;
        if (links.isOpen())
            links.refresh();
    };

    FieldView opis = FieldView::column(QStringLiteral("OPIS"), QStringLiteral("Opis"));
    opis.role = roles::search();
    FieldView type = FieldView::column(QStringLiteral("TYPNAZWA"), QStringLiteral("Typ"));
    type.choose = [this] { return chooseType(); };
    FieldView group = FieldView::column(QStringLiteral("KLASANAZWA"), QStringLiteral("Grupa"));
    group.role = roles::filter();
    group.choose = [this] { return chooseGroup(); };
    ds.fields = {FieldView::column(QStringLiteral("DATA"), QStringLiteral("Data")), opis, type, group,
                 FieldView::hidden(QStringLiteral("TEKST"), QStringLiteral("Tekst")),
                 FieldView::hidden(kKod, QStringLiteral("Numer")), FieldView::hidden(kKlasa, QStringLiteral("Grupa")),
                 FieldView::hidden(kTyp, QStringLiteral("Typ")), FieldView::hidden(QStringLiteral("CAPTION"))};
    t.open();
}

bool TDMInform::chooseGroup()
{
    Table& t = *informations().table;
    if (t.state() != Table::State::Insert) {
        if (t.isEmpty())
            return false;
        throw Error(groupChangeRefusal());
    }
    QList<PickEntry> entries{{QStringLiteral("Brak"), QVariant()}};
    entries << inform::visibleGroups(context().db(), context().login.visibleGroups);
    QVariant value = t.value(kKlasa);
    if (!context().prompts.pickFromList(QStringLiteral("Grupa"), QString(), entries, value))
        return false;
    t.setValue(kKlasa, value.isValid() ? value : QVariant());
    if (!t.isNull(kKlasa))
        t.setValue(kTyp, kBoard);
    return true;
}

bool TDMInform::chooseType()
{
    Table& t = *informations().table;
    QList<PickEntry> entries;
    Query q(context().db(), QStringLiteral("SELECT TYP, NAZWA FROM KODY WHERE RODZAJ = 'inform' ORDER BY TYP DESC"));
    q.exec();
    while (q.next())
        entries << PickEntry{q.value(1).toString(), q.value(0).toString()};
    QVariant value = t.value(kTyp);
    if (!context().prompts.pickFromList(QStringLiteral("Typ"), QString(), entries, value))
        return false;
    t.edit();
    t.setValue(kTyp, value);
    return true;
}

// ---- the children an addressee may name ------------------------------------------

void TDMInform::setUpChildren()
{
    RunContext* ctx = &context();
    DataSet& kids = addDataSet(QStringLiteral("Dzieci"), QStringLiteral("DZIECI"), QStringLiteral("NAZWA"));
    Table& k = *kids.table;
    Table* groups = ownTable(context().db(), QStringLiteral("KLASY"), kKod, this);
    groups->open();
    k.addLookupField(FieldDef::of(QStringLiteral("KLASANAZWA"), FieldType::String, 30), kKlasa, groups, kKod,
                     QStringLiteral("NAZWA"));
    k.addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 200));
    k.events().onCalcFields = [](Table& row) {
        row.setCalculated(QStringLiteral("CAPTION"), childCaption(row.text(QStringLiteral("NAZWA")),
                                                                  row.text(QStringLiteral("ULICA")),
                                                                  row.text(QStringLiteral("PESEL"))));
    };
    k.setRowTest([ctx](const Table& row) { return permissions::groupVisible(ctx->login.visibleGroups, row.text(kKlasa)); });
    FieldView name = FieldView::column(QStringLiteral("NAZWA"), QStringLiteral("Nazwisko i imię"), true);
    name.role = roles::search();
    FieldView group = FieldView::column(QStringLiteral("KLASANAZWA"), QStringLiteral("Grupa"), true);
    group.role = roles::filter();
    kids.fields = {name, FieldView::column(QStringLiteral("ULICA"), QStringLiteral("Ulica"), true), group,
                   FieldView::column(QStringLiteral("EMAIL"), QStringLiteral("E-mail"), true)};
    k.open();
}

// ---- addressees and attachments -------------------------------------------------

void TDMInform::saveInformationFirst(Table& detail)
{
    Table& info = *informations().table;
    if (info.state() == Table::State::Insert) {
        saveMasterFirst(info, detail, kKod, kInform);
        detail.setValue(kInform, info.value(kKod));
    } else if (info.state() == Table::State::Edit) {
        // Saving the information moves its detail lists, which would save
        // the row just begun: it is unlinked meanwhile.
        detail.clearMasterLink();
        try {
            info.post();
        } catch (...) {
            detail.setMasterLink(&info, kKod, kInform);
            throw;
        }
        auto relink = std::make_shared<QMetaObject::Connection>();
        *relink = connect(&detail, &Table::stateChanged, &detail, [&detail, &info, relink] {
            if (detail.isEditing())
                return;
            QObject::disconnect(*relink);
            const QVariant current = detail.isEmpty() ? QVariant() : detail.rowId();
            detail.setMasterLink(&info, kKod, kInform);
            for (int r = 0; current.isValid() && r < detail.rowCount(); ++r) {
                detail.setPosition(r);
                if (detail.rowId() == current)
                    break;
            }
        });
    }
}

void TDMInform::setUpAddressees()
{
    Database& db = context().db();
    DataSet& ds = addDataSet(QStringLiteral("Dzieinf"), QStringLiteral("DZIEINF"), QStringLiteral("INFORM;OSOBA"));
    Table& t = *ds.table;
    Table* kids = children().table;
    t.addLookupField(FieldDef::of(QStringLiteral("DZIECKO"), FieldType::String, 200), kOsoba, kids, kKod,
                     QStringLiteral("CAPTION"));
    t.addLookupField(FieldDef::of(QStringLiteral("DZIECKOGRUPA"), FieldType::String, 30), kOsoba, kids, kKod,
                     QStringLiteral("KLASANAZWA"));
    t.addLookupField(FieldDef::of(QStringLiteral("EMAILDZIECKA"), FieldType::String, 100), kOsoba, kids, kKod,
                     QStringLiteral("EMAIL"));
    t.addLookupField(FieldDef::of(QStringLiteral("DZIECKOKOD"), FieldType::Integer), kOsoba, kids, kKod, kKod);
    t.setMasterLink(informations().table, kKod, kInform);
    ds.master = &informations();
    // Addressees in groups the user does not see stay hidden with them; a
    // row being entered has no child yet.
    t.setRowTest([](const Table& row) { return !row.isNull(QStringLiteral("DZIECKOKOD")); });
    t.events().onNewRecord = [this, kids](Table& row) {
        saveInformationFirst(row);
        Table& info = *informations().table;
        if (info.isEmpty())
            throw Error(QString());
        if (info.text(kTyp) == kBoard)
            throw Error(inform::boardRefusal());
        kids->refresh();  // children added since the window opened
    };
    t.events().beforePost = [&db](Table& row) {
        if (row.isNull(kOsoba))
            throw Error(QStringLiteral("Pole \"Dziecko\" musi posiadać wartość"));
        refuseDuplicateAddressee(db, row);
    };
    FieldView child = FieldView::column(QStringLiteral("DZIECKO"), QStringLiteral("Dziecko"));
    child.role = roles::search();
    FieldView group = FieldView::column(QStringLiteral("DZIECKOGRUPA"), QStringLiteral("Grupa"), true);
    group.role = roles::filter();
    ds.fields = {child, group, FieldView::column(QStringLiteral("EMAILDZIECKA"), QStringLiteral("E-mail"), true),
                 FieldView::column(QStringLiteral("DATAOTW"), QStringLiteral("Data otwarcia"), true)};
}

void TDMInform::setUpAttachments()
{
    DataSet& ds = addDataSet(QStringLiteral("Linki"), QStringLiteral("LINKI"), kInform);
    Table& t = *ds.table;
    t.setMasterLink(informations().table, kKod, kInform);
    ds.master = &informations();
    t.events().onNewRecord = [this](Table& row) {
        saveInformationFirst(row);
        Table& info = *informations().table;
        if (info.isEmpty())
            throw Error(QString());
        if (!info.isNull(kKlasa))
            throw Error(inform::groupAttachmentRefusal());
    };
    ds.fields = {FieldView::column(QStringLiteral("PLIK"), QStringLiteral("Nazwa/załącznik lokalny")),
                 FieldView::column(QStringLiteral("LINK"), QStringLiteral("Odnośnik internetowy"))};
}

// ---- the per-child view ---------------------------------------------------------

void TDMInform::setUpChildView()
{
    Database& db = context().db();
    DataSet& ds = addDataSet(QStringLiteral("Dzieinfdziecka"), QStringLiteral("DZIEINF"), QStringLiteral("INFORM;OSOBA"));
    Table& t = *ds.table;
    Table* infos = informations().table;
    t.addLookupField(FieldDef::of(QStringLiteral("INFDATA"), FieldType::Date), kInform, infos, kKod,
                     QStringLiteral("DATA"));
    t.addLookupField(FieldDef::of(QStringLiteral("INFOPIS"), FieldType::String, 100), kInform, infos, kKod,
                     QStringLiteral("OPIS"));
    t.addLookupField(FieldDef::of(QStringLiteral("INFTYP"), FieldType::String, 20), kInform, infos, kKod,
                     QStringLiteral("TYPNAZWA"));
    t.addLookupField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 120), kInform, infos, kKod,
                     QStringLiteral("CAPTION"));
    t.setRowTest([this](const Table& row) { return row.asInt(kOsoba) == m_child; });
    t.events().onNewRecord = [this](Table& row) {
        row.setValue(kOsoba, m_child);
        if (!pickInformation(row))
            throw Error(QString());  // nothing chosen: no new row
    };
    t.events().beforePost = [&db](Table& row) {
        if (row.isNull(kInform))
            throw Error(QStringLiteral("Pole \"Opis\" musi posiadać wartość"));
        refuseDuplicateAddressee(db, row);
    };
    t.events().afterScroll = [this](Table&) { followChildRow(); };
    connect(&t, &Table::dataChanged, this, [this] { followChildRow(); });
    ds.fields = {FieldView::column(QStringLiteral("INFDATA"), QStringLiteral("Data"), true),
                 FieldView::column(QStringLiteral("INFOPIS"), QStringLiteral("Opis"), true),
                 FieldView::column(QStringLiteral("INFTYP"), QStringLiteral("Typ"), true),
                 FieldView::column(QStringLiteral("DATAOTW"), QStringLiteral("Data otwarcia"), true),
                 FieldView::hidden(QStringLiteral("CAPTION"))};
    if (perChild())
        t.open();
}

bool TDMInform::pickInformation(Table& row)
{
    Table& infos = *informations().table;
    infos.refresh();  // informations added since the window opened
    QList<PickEntry> entries;
    int key = 0;
    for (int r = 0; r < infos.rowCount(); ++r) {
        if (!infos.valueAt(r, kKlasa).isNull())
            continue;
        key = infos.valueAt(r, kKod).toInt();  // the last one is offered first
        entries << PickEntry{infos.valueAt(r, QStringLiteral("CAPTION")).toString(), key};
    }
    if (entries.isEmpty())
        return false;
    if (!context().prompts.pickRecord(QStringLiteral("Informacje"), entries, key, false) || key <= 0)
        return false;
    row.setValue(kInform, key);
    return true;
}

void TDMInform::followChildRow()
{
    Table& t = *childInformations().table;
    if (!perChild() || !t.isOpen() || t.isEmpty() || t.isNull(kInform))
        return;
    Table& infos = *informations().table;
    if (infos.isEditing() || (!infos.isEmpty() && infos.asInt(kKod) == t.asInt(kInform)))
        return;
    infos.locate({kKod}, {t.value(kInform)});
}

void TDMInform::setChild(int child)
{
    if (child == m_child)
        return;
    m_child = child;
    Table& t = *childInformations().table;
    if (t.isOpen())
        t.refresh();
    followChildRow();
}

// ---- commands ----------------------------------------------------------------

int TDMInform::currentInformation()
{
    Table& infos = *informations().table;
    if (perChild()) {
        Table& t = *childInformations().table;
        if (!t.isOpen() || t.isEmpty())
            return 0;
        followChildRow();
        return !infos.isEmpty() && infos.asInt(kKod) == t.asInt(kInform) ? t.asInt(kInform) : 0;
    }
    if (!hasRow(infos))
        return 0;
    if (infos.state() == Table::State::Insert)
        infos.post();
    return infos.asInt(kKod);
}

void TDMInform::editText()
{
    Table& infos = *informations().table;
    if (perChild() ? currentInformation() == 0 : !hasRow(infos))
        return;
    QString text = infos.text(QStringLiteral("TEKST"));
    if (!context().prompts.editMemo(QStringLiteral("Tekst"), text))
        return;
    const bool wasEditing = infos.isEditing();
    infos.edit();
    try {
        infos.setValue(QStringLiteral("TEKST"), text);
        infos.post();
    } catch (...) {
        if (!wasEditing)
            infos.cancel();
        throw;
    }
}

void TDMInform::assignAddressees()
{
    const int information = currentInformation();
    if (information == 0)
        return;
    Table& infos = *informations().table;
    if (infos.text(kTyp) == kBoard)
        throw Error(inform::boardRefusal());
    Prompts& prompts = context().prompts;
    Database& db = context().db();
    QList<PickEntry> groups = inform::visibleGroups(db, context().login.visibleGroups);
    if (!prompts.pickChecks(QStringLiteral("Wybierz grupy"), groups, int(groups.size())))
        return;
    QList<PickEntry> kids = inform::activeChildrenOf(db, groups);
    const Answer all = prompts.askYesNoClosable(QStringLiteral("Wszystkie aktywne dzieci z wybranych grup?"));
    if (all == Answer::Cancel)
        return;
    if (all == Answer::No && !prompts.pickChecks(QStringLiteral("Wybierz adresatów"), kids, int(kids.size())))
        return;
    QList<int> chosen;
    for (const PickEntry& e : kids)
        chosen << e.value.toInt();
    inform::addAddressees(db, information, chosen);
    children().table->refresh();
    Table& list = *addressees().table;
    if (list.isOpen())
        list.refresh();
}

void TDMInform::sendMail()
{
    Database& db = context().db();
    QStringList addresses;
    if (perChild()) {
        if (currentInformation() == 0)
            return;
        addresses = inform::emailsOf(db, {m_child});
    } else {
        const int information = currentInformation();
        if (information == 0)
            return;
        const QList<int> kids = inform::addresseesOf(db, information, context().login.visibleGroups);
        addresses = inform::emailsOf(db, kids);
    }
    Table& infos = *informations().table;
    inform::sendMail(context().prompts, addresses, infos.text(QStringLiteral("OPIS")), infos.text(QStringLiteral("TEKST")),
                     [this](const QUrl& url) { return openUrl(url); });
}

bool TDMInform::openUrl(const QUrl& url)
{
    return m_options.openUrl ? m_options.openUrl(url) : mail::openWithDesktop(url);
}

void TDMInform::openFile()
{
    openAttachment(QStringLiteral("PLIK"), &QUrl::fromLocalFile);
}

void TDMInform::openLink()
{
    openAttachment(QStringLiteral("LINK"), [](const QString& text) { return QUrl::fromUserInput(text); });
}

void TDMInform::openAttachment(const QString& field, const std::function<QUrl(const QString&)>& toUrl)
{
    Table& links = *attachments().table;
    if (!links.isOpen() || links.isEmpty() || links.isNull(field))
        return;
    openUrl(toUrl(links.text(field)));
}

void TDMInform::sendAttachment()
{
    Table& links = *attachments().table;
    if (!links.isOpen() || (links.isEmpty() && links.state() != Table::State::Insert))
        return;
    if (links.isNull(QStringLiteral("PLIK")))
        throw Error(inform::noLocalFileMessage());
    if (!links.isNull(QStringLiteral("LINK")))
        throw Error(inform::linkExistsMessage());
    links.post();  // the file goes under the row's number
    inform::UploadRequest request{links.asInt(QStringLiteral("ID")), links.text(QStringLiteral("PLIK")), m_webPassword};
    const inform::UploadResult result =
        m_options.upload ? m_options.upload(context(), request) : inform::uploadWithoutWindow(context(), request);
    if (!result.password.isEmpty())
        m_webPassword = result.password;
    if (!result.sent || result.link.isEmpty())
        return;
    links.edit();
    try {
        links.setValue(QStringLiteral("LINK"), result.link);
        links.post();
    } catch (...) {
        links.cancel();
        throw;
    }
}

void TDMInform::openDetail(DataSet& ds, const QString& commandName)
{
    DataSet& owner = perChild() ? childInformations() : informations();
    Command* c = owner.command(commandName);
    if (!c->checked)
        currentInformation();  // a new information is saved: its lists need its number
    if (&ds == &addressees())
        children().table->refresh();  // children added since the window opened
    Table& t = *ds.table;
    if (!t.isOpen())
        t.open();
    browse(ds, c->plainCaption(), c);
}

void TDMInform::setUpCommands()
{
    auto command = [this](const QString& name, const QString& caption, std::function<void()> handler,
                          bool opensWindow = false) {
        Command c = Command::make(name, caption, caption, opensWindow);
        c.handler = std::move(handler);
        return c;
    };
    // Both lists offer the text and the attachments of the information.
    const Command text = command(QStringLiteral("Informacja1"), QStringLiteral("Informacja"), [this] { editText(); });
    const Command attachmentList = command(QStringLiteral("Zalaczniki1"), QStringLiteral("Załączniki"),
                                           [this] { openDetail(attachments(), QStringLiteral("Zalaczniki1")); }, true);
    informations().commands = {
        text,
        command(QStringLiteral("Adresaci1"), QStringLiteral("Adresaci informacji"),
                [this] { openDetail(addressees(), QStringLiteral("Adresaci1")); }, true),
        attachmentList,
        command(QStringLiteral("Nowiadresaci1"), QStringLiteral("Przyporządkuj nowych adresatów"),
                [this] { assignAddressees(); }),
        command(QStringLiteral("Wylijemaildoadresatw1"), QStringLiteral("Wyślij e-mail do adresatów"),
                [this] { sendMail(); }),
    };
    childInformations().commands = {
        text,
        attachmentList,
        command(QStringLiteral("Wylijemail1"), QStringLiteral("Wyślij e-mail"), [this] { sendMail(); }),
    };
    attachments().commands = {
        command(QStringLiteral("Sprawdzzalacznik1"), QStringLiteral("Sprawdź załącznik"), [this] { openFile(); }),
        command(QStringLiteral("Sprawdzodnosnik1"), QStringLiteral("Sprawdź odnośnik"), [this] { openLink(); }),
        command(QStringLiteral("Wyslijzalacznik1"), QStringLiteral("Wyślij załącznik"), [this] { sendAttachment(); }),
    };
}
