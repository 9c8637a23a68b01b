#include "tdm_obecn.h"

#include "import/import_requests.h"

#include "obecn_columns.h"

#include "browser/area_registry.h"
#include "browser/key_value_settings.h"
#include "browser/prompts.h"
#include "printouts/attendance_print_area.h"
#include "registers/child_caption.h"
#include "registers/held_classes.h"
#include "shell/access_rules.h"
#include "store/database.h"
#include "store/error.h"
#include "store/table.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScopedValueRollback>
#include <QTimer>

namespace {

const QString settingsGroup = QStringLiteral("Obecn");
const QString sortKey = QStringLiteral("PolaIndeksu");
const QString defaultOrder = QStringLiteral("AKTYWNY;KLASA;NAZWA");

Command command(const QString& name, const QString& caption, const QString& label, const QString& shortcut,
                std::function<void()> handler)
{
    Command c;
    c.name = name;
    c.caption = caption;
    c.label = label;
    c.shortcut = shortcut;
    c.handler = std::move(handler);
    return c;
}

// "Wydruk obecności miesiąca": the desktop asks its questions and opens the preview.
Command printCommand(TDMObecn* window)
{
    Command c = command(QStringLiteral("Wydruk1"), QStringLiteral("Wydruk obecności miesiąca"), QStringLiteral("Wydruk"),
                        QString(), [window] {
                            window->context().areas.open(area::attendancePrintout(), window->context(),
                                                         {{area::attendanceWindowKey(), QVariant::fromValue<QObject*>(window)}});
                        });
    c.wanted = window->context().areas.has(area::attendancePrintout());
    return c;
}

}  // namespace

QString TDMObecn::freeDayRefusal()
{
    return QStringLiteral("Nie można wprowadzać obecności na dzień wolny\r\n(zmień dni wolne danego miesiąca w rozrachunkach)");
}

QString TDMObecn::otherGroupRefusal()
{
    return QStringLiteral("Nie można wstawiać obecności na zajęciach dodatkowych z innej grupy");
}

QString TDMObecn::timeOrderRefusal()
{
    return QStringLiteral("Czas przyjścia nie może być większy niż Czas wyjścia");
}

TDMObecn::TDMObecn(RunContext& context, KeyValueSettings* settings, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMObecn"), parent)
{
    build(settings);
}

TDMObecn::TDMObecn(RunContext& context, DataSet& master, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMObecn"), parent), m_master(&master)
{
    build(nullptr);
}

TDMObecn::~TDMObecn()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    try {
        saveSortOrder();
    } catch (...) {
        // A window going away does not fail over its settings.
    }
}

void TDMObecn::build(KeyValueSettings* settings)
{
    RunContext& ctx = context();
    m_view.day = ctx.systemDate();
    m_settings = settings;
    if (!m_settings && !singleChild()) {
        m_ownSettings = std::make_unique<UserSettings>();
        m_settings = m_ownSettings.get();
    }

    m_groups = new Table(ctx.db(), QStringLiteral("KLASY"), this);
    m_groups->setOrdering(QStringLiteral("KOLEJ"));
    m_groups->open();

    DataSet& ds = addDataSet(QStringLiteral("Dzieci"), QStringLiteral("DZIECI"),
                             singleChild() ? QStringLiteral("KOD") : defaultOrder);
    Table& t = *ds.table;
    obecn::declareColumns(ds, *m_groups, ctx.params, singleChild());
    RunContext* c = &ctx;
    t.setRowTest([c](const Table& row) {
        return row.text(QStringLiteral("AKTYWNY")) == QLatin1String("T")
            && permissions::groupVisible(c->login.visibleGroups, row.text(QStringLiteral("KLASA")));
    });
    t.events().onCalcFields = [this](Table& row) {
        obecn::computeRow(row, m_view, m_data, context().params.naliczanieMinut);
    };
    // Made before any browser connects, so the view data is new before a
    // browser reads the cells.
    connect(&t, &Table::dataChanged, this, [this] { listReread(); });
    if (singleChild()) {
        // The list follows the register's child; the view follows the list
        // (a new master row reads the list again).
        t.setMasterLink(m_master->table, QStringLiteral("KOD"), QStringLiteral("KOD"));
        ds.master = m_master;
    } else if (m_settings) {
        // A stored order that is not an ordering of the table is ignored.
        const QString stored = m_settings->text(settingsGroup, sortKey);
        for (const StoreIndex& i : ctx.db().indexes(QStringLiteral("DZIECI")))
            if (!stored.isEmpty() && i.fields.join(QLatin1Char(';')).compare(stored, Qt::CaseInsensitive) == 0)
                t.setOrdering(i.fields.join(QLatin1Char(';')));
    }

    buildHeldClasses();
    buildCommands();
    applyFunctions();
    rebuild();
    if (!singleChild())
        if (QCoreApplication* app = QCoreApplication::instance())
            app->installEventFilter(this);
}

bool TDMObecn::eventFilter(QObject* watched, QEvent* event)
{
    // The window owning the module (or the main window it is docked in)
    // became active again after another window had the user: read again
    // once the activation has been handled. The first activation follows
    // the view's own read, so it reads nothing.
    if (!watched || watched != parent())
        return false;
    if (event->type() == QEvent::WindowDeactivate)
        m_leftSinceRead = true;
    else if (event->type() == QEvent::WindowActivate && m_leftSinceRead) {
        m_leftSinceRead = false;
        QTimer::singleShot(0, this, [this] {
            if (m_commandDepth > 0)
                m_rebuildWaiting = true;
            else if (children().table->isOpen())
                rebuild();
        });
    }
    return false;
}

void TDMObecn::listReread()
{
    if (m_rebuilding || !children().table->isOpen())
        return;
    if (m_commandDepth > 0) {
        m_rebuildWaiting = true;
        return;
    }
    rebuild();
}

void TDMObecn::asCommand(const std::function<void()>& work)
{
    ++m_commandDepth;
    try {
        work();
    } catch (...) {
        --m_commandDepth;
        throw;
    }
    if (--m_commandDepth == 0 && m_rebuildWaiting) {
        m_rebuildWaiting = false;
        rebuild();
    }
}

void TDMObecn::buildCommands()
{
    QList<Command>& c = children().commands;
    c << command(QStringLiteral("Dzien1"), QStringLiteral("&Dzień sprawdzania obecności"), QStringLiteral("Ustaw dzień"),
                 QString(), [this] { pickDay(); })
      << command(QStringLiteral("Poprzedni1"), QStringLiteral("Poprzedni dzień sprawdzania obecności"),
                 QStringLiteral("Poprzedni dzień"), QString(), [this] { previous(); })
      << command(QStringLiteral("Nastepny1"), QStringLiteral("Następny dzień sprawdzania obecności"),
                 QStringLiteral("Następny dzień"), QString(), [this] { next(); })
      << command(QStringLiteral("Miesiac1"), QStringLiteral("Obecności z całego &miesiąca"), QStringLiteral("Cały miesiąc"),
                 QString(), [this] { toggleMonthView(); })
      << Command::separatorLine()
      << command(QStringLiteral("Obecnosc1"), QStringLiteral("Obecność"), QStringLiteral("Obecność"),
                 QStringLiteral("Ctrl+T"), [this] { enterCode(u'T'); })
      << command(QStringLiteral("Nieobecnosc1"), QStringLiteral("Nieobecność"), QStringLiteral("Nieobecność"),
                 QStringLiteral("Ctrl+N"), [this] { enterCode(u'N'); })
      << command(QStringLiteral("Zgloszona1"), QStringLiteral("Zgłoszona nieobecność"), QStringLiteral("Zgłosz. nieob."),
                 QStringLiteral("Ctrl+Z"), [this] { enterCode(u'Z'); })
      << command(QStringLiteral("Nieokreslona1"), QStringLiteral("Nieokreślona obecność"), QStringLiteral("Nieokr. obecn."),
                 QStringLiteral("Ctrl+Y"), [this] { enterCode(QChar()); })
      << command(QStringLiteral("Przyjscie1"), QStringLiteral("Czas przyjścia"), QStringLiteral("Czas przyjścia"),
                 QStringLiteral("Ctrl+P"), [this] { enterArrival(); })
      << command(QStringLiteral("Wyjscie1"), QStringLiteral("Czas wyjścia"), QStringLiteral("Czas wyjścia"),
                 QStringLiteral("Ctrl+W"), [this] { enterDeparture(); })
      << Command::separatorLine()
      << command(QStringLiteral("Przepisz1"), QStringLiteral("Przepisz czasy deklarowane"), QStringLiteral("Przepisz dekl."),
                 QString(), [this] { copyDeclaredTimes(); })
      << command(QStringLiteral("Wypelnij1"), QStringLiteral("Wypełnij nieokreślone obecności"),
                 QStringLiteral("Wypełnij puste"), QString(), [this] { fillUndetermined(); })
      << Command::separatorLine()
      << command(QStringLiteral("Zajecia1"), QStringLiteral("Zajęcia dodatkowe dnia"), QStringLiteral("Zajęcia dodat."),
                 QStringLiteral("Ctrl+D"), [this] { openDayClasses(); })
      << command(QStringLiteral("Domyslni1"), QStringLiteral("Domyślni obecni na zaj. dod."),
                 QStringLiteral("Obecni na zaj. dod."), QString(), [this] { defaultParticipants(); })
      << printCommand(this)
      << command(QStringLiteral("Wczytaj1"), QStringLiteral("Wczytaj z pliku"), QStringLiteral("Wczytaj z pliku"),
                 QString(), [this] { importFromFile(); });
    for (Command& cmd : c) {
        if (cmd.name == QStringLiteral("Zajecia1"))
            cmd.opensWindow = true;
        if (cmd.handler)
            cmd.handler = [this, work = std::move(cmd.handler)] { asCommand(work); };
    }
}

void TDMObecn::importFromFile()
{
    bool monthly = false;
    if (context().params.obecnosciSumarycznie) {
        const auto kind = import::askAttendanceKind(context().prompts);
        if (!kind)
            return;
        monthly = *kind;
    }
    if (import::importFromWindow(context(), import::attendanceRequest(context(), m_view.day, monthly)))
        rebuild();
}

void TDMObecn::buildHeldClasses()
{
    DataSet& ds = addDataSet(QStringLiteral("Zajodb"), QStringLiteral("ZAJODB"), QStringLiteral("DATA;ZAJECIE"));
    heldclasses::installRules(ds, context(), heldclasses::Window::Attendance);
    Table::Events& ev = ds.table->events();
    auto previousNew = ev.onNewRecord;
    ev.onNewRecord = [this, previousNew](Table& t) {
        if (previousNew)
            previousNew(t);
        t.setValue(QStringLiteral("DATA"), m_view.day);
        // The earliest class of the day not held yet, as its column shows it.
        for (const obecn::ClassColumn& c : m_data.classes)
            if (!c.held()) {
                t.setValue(QStringLiteral("ZAJECIE"), c.classCode);
                t.setValue(QStringLiteral("KLASA"), c.group);
                break;
            }
    };
    auto previousPost = ev.afterPost;
    ev.afterPost = [this, previousPost](Table& t) {
        if (previousPost)
            previousPost(t);
        rebuild();
    };
    auto previousDelete = ev.afterDelete;
    ev.afterDelete = [this, previousDelete](Table& t) {
        if (previousDelete)
            previousDelete(t);
        rebuild();
    };
}

QString TDMObecn::title() const
{
    return obecn::windowTitle(m_view, singleChild());
}

QList<int> TDMObecn::listedChildren() const
{
    // The single-child list may not have followed its master yet.
    if (singleChild())
        return {m_master->table->isEmpty() ? 0 : m_master->table->asInt(QStringLiteral("KOD"))};
    QList<int> out;
    const Table& t = *children().table;
    for (int i = 0; i < t.rowCount(); ++i)
        out << t.valueAt(i, QStringLiteral("KOD")).toInt();
    return out;
}

void TDMObecn::rebuild()
{
    Table& t = *children().table;
    const QScopedValueRollback rebuilding(m_rebuilding, true);
    if (!t.isOpen())
        t.open();
    m_data = obecn::loadViewData(context(), m_view, listedChildren(), obecn::kClassColumns);
    obecn::applyView(children(), m_view, m_data, context().params.obecnosciSumarycznie);
    m_countEdit.reset();
    t.refresh();
    emit dataSetChanged(&children());
    emit titleChanged(&children(), title());
}

void TDMObecn::setDay(QDate day)
{
    if (!day.isValid())
        return;
    m_view.day = day;
    rebuild();
    Table& held = *heldClasses().table;
    held.setRange({day}, {day});
    if (held.isOpen())
        held.refresh();
}

void TDMObecn::pickDay()
{
    QDate d = m_view.day;
    if (context().prompts.pickDate(QStringLiteral("Data obecności"), QString(), d))
        setDay(d);
}

void TDMObecn::previous()
{
    setDay(obecn::stepped(m_view.day, m_view.monthView, -1));
}

void TDMObecn::next()
{
    setDay(obecn::stepped(m_view.day, m_view.monthView, 1));
}

void TDMObecn::toggleMonthView()
{
    if (!m_view.monthView) {
        QString range = QStringLiteral("1-31");
        const obecn::DayRange r = context().prompts.askText(QStringLiteral("Widok miesiąca"), QStringLiteral("Zakres dni:"), range)
            ? obecn::parseDayRange(range)
            : obecn::DayRange{};
        m_view.from = r.from;
        m_view.to = r.to;
        m_view.monthView = true;
    } else {
        m_view.monthView = false;
        m_view.from = 1;
        m_view.to = 31;
    }
    m_view.mayEdit = false;
    setMonthCaptions();
    rebuild();
}

void TDMObecn::setMonthCaptions()
{
    const QString from = m_view.monthView ? QStringLiteral("dzień") : QStringLiteral("miesiąc");
    const QString to = m_view.monthView ? QStringLiteral("miesiąc") : QStringLiteral("dzień");
    for (const QString& name : {QStringLiteral("Poprzedni1"), QStringLiteral("Nastepny1")})
        if (Command* c = children().command(name)) {
            c->caption.replace(from, to);
            c->label.replace(from, to);
        }
}

void TDMObecn::openDayClasses()
{
    Table& held = *heldClasses().table;
    held.setRange({m_view.day}, {m_view.day});
    browse(heldClasses(), QStringLiteral("Zajęcia dodatkowe dnia"), children().command(QStringLiteral("Zajecia1")));
}

void TDMObecn::currentFieldChanged(DataSet& ds, const QString& field)
{
    if (&ds == &children())
        setSelectedField(field);
}

bool TDMObecn::canInsert(const DataSet& ds) const
{
    return &ds != &children();
}

bool TDMObecn::canDelete(const DataSet& ds) const
{
    return &ds != &children();
}

int TDMObecn::currentChild() const
{
    const Table& t = *children().table;
    return t.isEmpty() ? 0 : t.asInt(QStringLiteral("KOD"));
}

QString TDMObecn::currentCaption() const
{
    const Table& t = *children().table;
    return childCaption(t.text(QStringLiteral("NAZWA")), t.text(QStringLiteral("ULICA")), t.text(QStringLiteral("PESEL")));
}

QString TDMObecn::currentGroupName() const
{
    return children().table->text(obecn::field::groupName());
}

void TDMObecn::saveSortOrder()
{
    if (singleChild() || !m_settings)
        return;
    m_settings->setValue(settingsGroup, sortKey, children().table->ordering());
}
