#include "tdm_media.h"

#include "registers/display_order.h"

#include "store/database.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

#include <memory>

namespace {

const QString dateFormat = QStringLiteral("dd.MM.yyyy");

// New price and method rows name the day they start: the charge run reads
// an empty start as "always", which is rarely what a user meant to type.
void requireStartDate(const Table& t)
{
    if (t.state() == Table::State::Insert && t.value(QStringLiteral("ODDATY")).isNull())
        throw Error(QStringLiteral("Pole \"Od daty\" musi posiadać wartość"));
}

}  // namespace

// ---- fee components --------------------------------------------------------

TDMMedia::TDMMedia(RunContext& context, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMMedia"), parent)
{
    Database& db = context.db();
    DataSet& media = addDataSet(QStringLiteral("Media"), QStringLiteral("MEDIA"), QStringLiteral("KOLEJ"));
    Table& m = *media.table;

    auto* feeGroups = new Table(db, QStringLiteral("GRUPYOP"), this);
    feeGroups->setOrdering(QStringLiteral("KOLEJ"));
    feeGroups->open();
    // Links the component to its prices of tariff 0.
    m.addCalculatedField(FieldDef::of(QStringLiteral("TARYFA"), FieldType::Integer, 0));
    m.addLookupField(FieldDef::of(QStringLiteral("GRUPAOPNAZWA"), FieldType::String, 30), QStringLiteral("GRUPAOP"),
                     feeGroups, QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    m.addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 40));
    m.events().onCalcFields = [](Table& t) {
        t.setCalculated(QStringLiteral("TARYFA"), 0);
        t.setCalculated(QStringLiteral("CAPTION"), t.value(QStringLiteral("NAZWA")));
    };
    m.events().onNewRecord = [feeGroups](Table& t) {
        feeGroups->refresh();  // groups added since the window opened
        if (!feeGroups->isEmpty()) {
            feeGroups->first();
            t.setValue(QStringLiteral("GRUPAOP"), feeGroups->value(QStringLiteral("KOD")));
        }
    };
    m.events().beforePost = [](Table& t) { display_order::assignOnInsert(t); };
    m.events().beforeDelete = [this](Table& t) {
        m_deleted = QVariant();
        checkDeletion(t.value(QStringLiteral("KOD")));
        m_deleted = t.value(QStringLiteral("KOD"));
    };
    m.events().afterDelete = [this](Table&) {
        if (!m_deleted.isValid())
            return;
        // Prices and methods of a component that is gone mean nothing.
        Transaction tx(this->context().db());
        for (const QString& table : {QStringLiteral("TARMED"), QStringLiteral("MEDSPOS")})
            Query(this->context().db(), QStringLiteral("DELETE FROM %1 WHERE MEDIUM = :M").arg(table))
                .bind(QStringLiteral("M"), m_deleted)
                .exec();
        tx.commit();
        m_deleted = QVariant();
    };
    media.fields = {
        FieldView::column(QStringLiteral("NAZWA"), QStringLiteral("Nazwa")),
        FieldView::column(QStringLiteral("GRUPAOPNAZWA"), QStringLiteral("Grupa opłat")),
        FieldView::hidden(QStringLiteral("KOLEJ"), QStringLiteral("Kolejność")),
    };
    media.fields[0].role = roles::search();

    // Prices.
    m_withVat = context.params.invoicing() && db.hasColumn(QStringLiteral("TARMED"), QStringLiteral("STAWKA"))
        && db.hasTable(QStringLiteral("STAVAT"));
    DataSet& prices = addDataSet(QStringLiteral("Tarmed"), QStringLiteral("TARMED"), QStringLiteral("TARYFA;MEDIUM;ODDATY"));
    Table& p = *prices.table;
    auto* units = new Table(db, QStringLiteral("JEDNOST"), this);
    units->setOrdering(QStringLiteral("JM"));
    units->open();
    p.addLookupField(FieldDef::of(QStringLiteral("JEDN"), FieldType::String, 6), QStringLiteral("JM"), units,
                     QStringLiteral("JM"), QStringLiteral("JM"));
    prices.fields = {
        FieldView::formatted(QStringLiteral("ODDATY"), QStringLiteral("Od daty"), dateFormat),
        FieldView::formatted(QStringLiteral("DODATY"), QStringLiteral("Do daty"), dateFormat),
        FieldView::formatted(QStringLiteral("CENA"), QStringLiteral("Cena"), QStringLiteral("0.00")),
        FieldView::column(QStringLiteral("JEDN"), QStringLiteral("Jedn.")),
    };
    prices.fields[2].alignment = Qt::AlignRight;
    if (m_withVat) {
        auto* rates = new Table(db, QStringLiteral("STAVAT"), this);
        rates->setOrdering(QStringLiteral("KOD"));
        rates->open();
        p.addLookupField(FieldDef::of(QStringLiteral("STAWKANAZWA"), FieldType::String, 20), QStringLiteral("STAWKA"),
                         rates, QStringLiteral("KOD"), QStringLiteral("NAZWA"));
        prices.fields << FieldView::column(QStringLiteral("STAWKANAZWA"), QStringLiteral("Stawka VAT"));
    }
    p.setMasterLink(&m, QStringLiteral("TARYFA;KOD"), QStringLiteral("TARYFA;MEDIUM"));
    prices.master = &media;
    context.filterBySystemDate(p);
    p.events().onNewRecord = [this](Table& t) {
        saveComponentFirst(t, QStringLiteral("TARYFA;KOD"), QStringLiteral("TARYFA;MEDIUM"));
        Table& comp = *components().table;
        t.setValue(QStringLiteral("TARYFA"), 0);
        if (!comp.isEmpty())
            t.setValue(QStringLiteral("MEDIUM"), comp.value(QStringLiteral("KOD")));
    };
    p.events().beforePost = [this](Table& t) {
        requireStartDate(t);
        // Without invoicing a price carries no rate, whatever the row held.
        if (!m_withVat && t.hasStoredField(QStringLiteral("STAWKA")) && t.state() == Table::State::Insert)
            t.clear(QStringLiteral("STAWKA"));
    };

    // Uniform methods.
    DataSet& methods = addDataSet(QStringLiteral("Medspos"), QStringLiteral("MEDSPOS"), QStringLiteral("MEDIUM;ODDATY"));
    Table& s = *methods.table;
    auto* methodNames = new Table(db, QStringLiteral("SPOSOBY"), this);
    methodNames->setOrdering(QStringLiteral("KOD"));
    methodNames->open();
    s.addLookupField(FieldDef::of(QStringLiteral("SPOSOBNAZWA"), FieldType::String, 30), QStringLiteral("SPOSOB"),
                     methodNames, QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    s.addLookupField(FieldDef::of(QStringLiteral("SPOROZNAZWA"), FieldType::String, 30), QStringLiteral("SPOROZ"),
                     methodNames, QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    methods.fields = {
        FieldView::formatted(QStringLiteral("ODDATY"), QStringLiteral("Od daty"), dateFormat),
        FieldView::formatted(QStringLiteral("DODATY"), QStringLiteral("Do daty"), dateFormat),
        FieldView::column(QStringLiteral("SPOSOBNAZWA"), QStringLiteral("Sposób liczenia")),
        FieldView::column(QStringLiteral("SPOROZNAZWA"), QStringLiteral("Sposób rozliczania")),
    };
    s.setMasterLink(&m, QStringLiteral("KOD"), QStringLiteral("MEDIUM"));
    methods.master = &media;
    context.filterBySystemDate(s);
    s.events().beforePost = [](Table& t) { requireStartDate(t); };
    s.events().onNewRecord = [this](Table& t) {
        saveComponentFirst(t, QStringLiteral("KOD"), QStringLiteral("MEDIUM"));
        Table& comp = *components().table;
        if (!comp.isEmpty())
            t.setValue(QStringLiteral("MEDIUM"), comp.value(QStringLiteral("KOD")));
    };

    Command pricesCommand =
        Command::make(QStringLiteral("Ceny1"), QStringLiteral("&Ceny"), QStringLiteral("Ceny"), true);
    Command methodsCommand = Command::make(QStringLiteral("Sposobyliczenia1"), QStringLiteral("&Sposoby liczenia"),
                                           QStringLiteral("Sposoby"), true);
    // The default methods mean something only while they are uniform.
    methodsCommand.wanted = context.params.sposobyJednolite;
    media.commands = {
        display_order::moveUpCommand(context, media),
        display_order::moveDownCommand(context, media),
        pricesCommand,
        methodsCommand,
    };
    media.commands[2].handler = [this] { openDetail(this->prices(), QStringLiteral("Ceny1")); };
    media.commands[3].handler = [this] { openDetail(this->methods(), QStringLiteral("Sposobyliczenia1")); };

    applyFunctions();
}

QString TDMMedia::inUseHeading()
{
    return QStringLiteral("Nie można skasować składnika opłat, gdyż występuje on w:");
}

void TDMMedia::saveComponentFirst()
{
    Table& comp = *components().table;
    if (comp.state() == Table::State::Insert)
        comp.post();
}

void TDMMedia::saveComponentFirst(Table& detail, const QString& masterFields, const QString& detailFields)
{
    saveMasterFirst(*components().table, detail, masterFields, detailFields);
}

void TDMMedia::openDetail(DataSet& ds, const QString& commandName)
{
    saveComponentFirst();
    Command* c = components().command(commandName);
    browse(ds, c->plainCaption(), c);
}

void TDMMedia::checkDeletion(const QVariant& code)
{
    Database& db = context().db();
    QList<UsePlace> places = {
        {QStringLiteral("S"), QStringLiteral("DZIEMED"), QStringLiteral("MEDIUM"),
         QStringLiteral("\r\n- kartotece składników dzieci")},
        {QStringLiteral("M"), QStringLiteral("NALICZ"), QStringLiteral("MEDIUM"),
         QStringLiteral("\r\n- opłatach miesięcznych dzieci")},
    };
    // The attendance list refers to a component only in stores that give it one.
    if (db.hasColumn(QStringLiteral("OBECN"), QStringLiteral("MEDIUM")))
        places << UsePlace{QStringLiteral("O"), QStringLiteral("OBECN"), QStringLiteral("MEDIUM"),
                           QStringLiteral("\r\n- liście obecności")};
    const QString lines = inUseLines(db, places, code);
    if (!lines.isEmpty())
        throw Error(inUseHeading() + lines);
}

// ---- fee groups --------------------------------------------------------------

TDMGrupyOp::TDMGrupyOp(RunContext& context, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMGrupyOp"), parent)
{
    DataSet& ds = addDataSet(QStringLiteral("Grupyop"), QStringLiteral("GRUPYOP"), QStringLiteral("KOLEJ"));
    ds.fields = {FieldView::column(QStringLiteral("NAZWA"), QStringLiteral("Nazwa")), FieldView::hidden(QStringLiteral("KOLEJ"), QStringLiteral("Kolejność"))};
    ds.fields[0].role = roles::search();
    Table& t = *ds.table;
    t.events().beforePost = [](Table& row) { display_order::assignOnInsert(row); };
    t.events().beforeDelete = [this](Table& row) {
        const QString lines = inUseLines(this->context().db(),
                                         {{QStringLiteral("S"), QStringLiteral("MEDIA"), QStringLiteral("GRUPAOP"),
                                           QStringLiteral("\r\n- składnikach opłat")}},
                                         row.value(QStringLiteral("KOD")));
        if (!lines.isEmpty())
            throw Error(inUseHeading() + lines);
    };
    ds.commands = {display_order::moveUpCommand(context, ds), display_order::moveDownCommand(context, ds)};
    applyFunctions();
}

QString TDMGrupyOp::inUseHeading()
{
    return QStringLiteral("Nie można skasować grupy opłat, gdyż występuje ona w:");
}

// ---- units -----------------------------------------------------------------------

TDMJednost::TDMJednost(RunContext& context, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMJednost"), parent)
{
    DataSet& ds = addDataSet(QStringLiteral("Jednost"), QStringLiteral("JEDNOST"), QStringLiteral("JM"));
    ds.fields = {FieldView::column(QStringLiteral("JM"), QStringLiteral("Jednostka"))};
    ds.fields[0].readOnly = true;
    Table* t = ds.table;
    // Prices and charges refer to a unit by its text: once saved it is fixed.
    connect(t, &Table::stateChanged, this, [this, t] {
        units().fields[0].readOnly = t->state() != Table::State::Insert;
    });
    t->events().onFieldChange = [](Table& row, const QString& field) {
        if (row.state() == Table::State::Edit && field.compare(QStringLiteral("JM"), Qt::CaseInsensitive) == 0)
            throw Error(fixedUnitMessage());
    };
    applyFunctions();
}

QString TDMJednost::fixedUnitMessage()
{
    return QStringLiteral("Jednostkę można wpisać tylko przy dodawaniu nowej pozycji");
}

// ---- VAT rates -----------------------------------------------------------------

TDMStawki::TDMStawki(RunContext& context, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMStawki"), parent)
{
    DataSet& ds = addDataSet(QStringLiteral("Stawkivat"), QStringLiteral("STAVAT"), QStringLiteral("KOD"));
    ds.fields = {FieldView::column(QStringLiteral("NAZWA"), QStringLiteral("Nazwa")), FieldView::column(QStringLiteral("VAT"), QStringLiteral("Vat"))};
    ds.fields[1].alignment = Qt::AlignRight;
    // A rate still named by a price or a charge line would leave it without
    // its percentage.
    ds.table->events().beforeDelete = [this](Table& row) {
        Database& db = this->context().db();
        QList<UsePlace> places;
        if (db.hasColumn(QStringLiteral("TARMED"), QStringLiteral("STAWKA")))
            places << UsePlace{QStringLiteral("C"), QStringLiteral("TARMED"), QStringLiteral("STAWKA"),
                               QStringLiteral("\r\n- cenach składników")};
        if (db.hasColumn(QStringLiteral("NALICZ"), QStringLiteral("STAWKA")))
            places << UsePlace{QStringLiteral("M"), QStringLiteral("NALICZ"), QStringLiteral("STAWKA"),
                               QStringLiteral("\r\n- opłatach miesięcznych dzieci")};
        if (places.isEmpty())
            return;
        const QString lines = inUseLines(db, places, row.value(QStringLiteral("KOD")));
        if (!lines.isEmpty())
            throw Error(inUseHeading() + lines);
    };
    applyFunctions();
}

QString TDMStawki::inUseHeading()
{
    return QStringLiteral("Nie można skasować stawki VAT, gdyż występuje ona w:");
}
