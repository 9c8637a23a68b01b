#include "tdm_opcje.h"

#include "browser/memo_windows.h"
#include "browser/prompts.h"
#include "import/bank_formats.h"
#include "import/import_format.h"
#include "registers/child_caption.h"
#include "shell/access_rules.h"
#include "store/query.h"
#include "store/database.h"
#include "store/error.h"
#include "store/table.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace {

// Reached only by a caller that ignores canInsert/canDelete: a second row or
// a missing one would leave the program without its settings.
void refuseRowChange(const QString& table)
{
    throw Error(QStringLiteral("Tabela %1 ma zawsze jeden wiersz").arg(table));
}

// Saves one change of the options row. A refused save is undone only when
// the row was not already being edited: the user's own edits stay.
void saveChange(Table& t, const std::function<void()>& change)
{
    const bool wasEditing = t.isEditing();
    t.edit();
    try {
        change();
        t.post();
    } catch (...) {
        if (!wasEditing)
            t.cancel();
        throw;
    }
}

}  // namespace

TDMOpcje::TDMOpcje(RunContext& context, QObject* parent) : TDMDane(context, QStringLiteral("TDMOpcje"), parent)
{
    DataSet& options = addDataSet(QStringLiteral("Opcje"), QStringLiteral("OPCJE"));
    Table& o = *options.table;
    o.addCalculatedField(FieldDef::of(QStringLiteral("PODGLAD"), FieldType::String, 250));
    o.addCalculatedField(FieldDef::of(QStringLiteral("OSRODEK"), FieldType::String, 10));
    const bool centre = context.db().hasColumn(QStringLiteral("OPCJE"), QStringLiteral("OPIE"));
    o.events().onCalcFields = [centre](Table& t) {
        t.setCalculated(QStringLiteral("PODGLAD"), preview(t.text(QStringLiteral("PARAMS"))));
        if (centre)
            t.setCalculated(QStringLiteral("OSRODEK"), t.isNull(QStringLiteral("OPIE")) || t.asInt(QStringLiteral("OPIE")) == 0
                                                           ? QStringLiteral("Brak")
                                                           : QStringLiteral("Wybrany"));
    };
    o.events().onNewRecord = [](Table&) { refuseRowChange(QStringLiteral("OPCJE")); };
    o.events().beforeDelete = [](Table&) { refuseRowChange(QStringLiteral("OPCJE")); };
    // Every save of the options row, from the editor or from the grid, is
    // what the run works with from then on.
    o.events().afterPost = [this](Table& t) { this->context().params.read(t.text(QStringLiteral("PARAMS"))); };

    options.fields = {FieldView::column(QStringLiteral("PODGLAD"), QStringLiteral("Podgląd konfiguracji"), true)};
    // An older store has no welfare centre column until it is upgraded.
    if (centre) {
        FieldView v = FieldView::column(QStringLiteral("OSRODEK"), QStringLiteral("Ośrodek pomocy"), true);
        v.choose = [this] { return chooseWelfareCentre(); };
        options.fields << v;
    }

    Command edit;
    edit.name = QStringLiteral("Edycjakonfiguracji1");
    edit.caption = QStringLiteral("&Edycja konfiguracji");
    edit.label = QStringLiteral("Konfiguracja");
    edit.opensWindow = true;
    edit.handler = [this] { editConfiguration(); };
    Command remove;
    remove.name = QStringLiteral("Usuorodekpomocy1");
    remove.caption = QStringLiteral("Usuń ośrodek pomocy");
    remove.label = QStringLiteral("Usuń ośrodek");
    remove.handler = [this] { removeWelfareCentre(); };
    Command choose;
    choose.name = QStringLiteral("Wybierzosrodekpomocy1");
    choose.caption = QStringLiteral("Wybierz ośrodek pomocy");
    choose.label = QStringLiteral("Ośrodek");
    choose.wanted = centre;
    choose.handler = [this] { chooseWelfareCentre(); };
    Command bank;
    bank.name = QStringLiteral("Wstawformatbanku1");
    bank.caption = import::insertBankFormatTitle() + QStringLiteral("…");
    bank.label = QStringLiteral("Format banku");
    bank.handler = [this] { insertBankFormat(); };
    options.commands = {edit, bank, choose, remove};

    DataSet& firm = addDataSet(QStringLiteral("Firma"), QStringLiteral("FIRMA"));
    Table& f = *firm.table;
    f.events().onNewRecord = [](Table&) { refuseRowChange(QStringLiteral("FIRMA")); };
    f.events().beforeDelete = [](Table&) { refuseRowChange(QStringLiteral("FIRMA")); };
    // The institution comes with the store; the window shows it as it is.
    firm.fields = {
        FieldView::column(QStringLiteral("NAZWA"), QStringLiteral("Nazwa"), true),
        FieldView::column(QStringLiteral("ADRES"), QStringLiteral("Adres"), true),
        FieldView::column(QStringLiteral("KODKLI"), QStringLiteral("Kod klienta"), true),
        FieldView::column(QStringLiteral("REGON"), QStringLiteral("REGON"), true),
        FieldView::column(QStringLiteral("NIP"), QStringLiteral("NIP"), true),
        FieldView::column(QStringLiteral("TELEFON"), QStringLiteral("Telefon"), true),
    };

    applyFunctions();
    // Inserting a format is editing the configuration: the same right.
    options.commands[1].visible = options.commands[0].visible;
}

QString TDMOpcje::preview(const QString& configurationText)
{
    QString text = configurationText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(", "));
    text.replace(QLatin1Char('\n'), QStringLiteral(", "));
    text.replace(QLatin1Char('\r'), QStringLiteral(", "));
    return text.left(250);
}

void TDMOpcje::editConfiguration()
{
    Table& o = *options().table;
    Command* c = options().command(QStringLiteral("Edycjakonfiguracji1"));
    const bool closing = c && c->checked;
    if (!closing && !o.isOpen())
        o.open();
    if (!closing && o.isEmpty())
        return;
    const QString caption = o.field(QStringLiteral("PARAMS")).def.displayCaption();
    if (memowindow::toggle(*this, options(), QStringLiteral("PARAMS"), caption, c))
        return;
    QString text = o.text(QStringLiteral("PARAMS"));
    if (!context().prompts.editMemo(caption, text))
        return;
    saveChange(o, [&] { o.setValue(QStringLiteral("PARAMS"), text); });
}

bool TDMOpcje::insertBankFormat()
{
    Table& o = *options().table;
    if (!o.isOpen())
        o.open();
    if (o.isEmpty())
        return false;
    QList<PickEntry> entries;
    for (const import::BankFormat& f : import::bankFormats())
        entries << PickEntry{f.title, f.key};
    QVariant chosen = entries.first().value;
    if (!context().prompts.pickFromList(import::insertBankFormatTitle(), QStringLiteral("Bank i rodzaj pliku"), entries,
                                        chosen))
        return false;
    const import::BankFormat* format = import::bankFormat(chosen.toString());
    if (!format)
        return false;
    const QString section = import::paymentsSection();
    QString text = o.text(QStringLiteral("PARAMS"));
    if (import::hasSection(text, section)
        && !context().prompts.askYesNo(QStringLiteral("Format „%1” już istnieje.\nZastąpić go formatem „%2”?")
                                           .arg(section, format->title)))
        return false;
    text = import::withSection(text, section, import::bankSection(*format));
    saveChange(o, [&] { o.setValue(QStringLiteral("PARAMS"), text); });
    return true;
}

void TDMOpcje::removeWelfareCentre()
{
    Table& o = *options().table;
    if (!context().db().hasColumn(QStringLiteral("OPCJE"), QStringLiteral("OPIE")))
        return;
    if (!o.isOpen())
        o.open();
    if (o.isEmpty())
        return;
    saveChange(o, [&] { o.clear(QStringLiteral("OPIE")); });
}

QString TDMOpcje::welfareCentrePickTitle()
{
    return QStringLiteral("Ośrodek pomocy - WYBÓR");
}

bool TDMOpcje::chooseWelfareCentre()
{
    Table& o = *options().table;
    if (!context().db().hasColumn(QStringLiteral("OPCJE"), QStringLiteral("OPIE")))
        return false;
    if (!o.isOpen())
        o.open();
    if (o.isEmpty())
        return false;

    // The children the user sees, active ones first, by name.
    struct Child {
        int kod;
        bool active;
        QString name;
        QString caption;
    };
    QList<Child> children;
    Query q(context().db(), QStringLiteral("select KOD, NAZWA, ULICA, PESEL, KLASA, AKTYWNY from DZIECI"));
    q.exec();
    while (q.next()) {
        const QVariant group = q.value(4);
        if (!permissions::groupVisible(context().login.visibleGroups, group.isNull() ? QString() : group.toString()))
            continue;
        children << Child{q.value(0).toInt(), q.value(5).toString() == QLatin1String("T"), q.value(1).toString(),
                          childCaption(q.value(1).toString(), q.value(2).toString(), q.value(3).toString())};
    }
    QCollator polish{QLocale(QLocale::Polish)};
    std::stable_sort(children.begin(), children.end(), [&polish](const Child& a, const Child& b) {
        if (a.active != b.active)
            return a.active;
        return polish.compare(a.name, b.name) < 0;
    });
    QList<PickEntry> rows;
    for (const Child& c : children)
        rows << PickEntry{c.caption, c.kod};
    int key = o.isNull(QStringLiteral("OPIE")) ? 0 : o.asInt(QStringLiteral("OPIE"));
    if (!context().prompts.pickRecord(welfareCentrePickTitle(), rows, key, false))
        return false;
    saveChange(o, [&] { o.setValue(QStringLiteral("OPIE"), key); });
    return true;
}
