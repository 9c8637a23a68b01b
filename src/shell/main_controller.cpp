#include "main_controller.h"

#include "browser/area_registry.h"
#include "browser/message_log.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "shell/admin_web_password.h"
#include "shell/backup_command.h"
#include "shell/main_commands.h"
#include "shell/main_toolbar.h"
#include "shell/tdm_ochrona.h"
#include "store/database.h"
#include "store/error.h"
#include "store/polish_dates.h"
#include "store/tdm_baza.h"

#include <QFileInfo>
#include <QVariantMap>

using permissions::MenuEntry;

namespace {

MenuEntry* findIn(QList<MenuEntry>& entries, const QString& name)
{
    for (MenuEntry& e : entries) {
        if (e.name == name && !e.separator)
            return &e;
        if (e.submenu)
            if (MenuEntry* found = findIn(e.children, name))
                return found;
    }
    return nullptr;
}

QString withoutAccelerator(QString caption)
{
    const int at = caption.indexOf(QLatin1Char('&'));
    if (at >= 0)
        caption.remove(at, 1);
    return caption;
}

// DZIECI numbered by the program instead of the store marks an installation
// kept for one group of children.
bool oneGroupStore(Database& db)
{
    for (const StoreField& f : db.fields(QStringLiteral("DZIECI")))
        if (f.name == QLatin1String("KOD"))
            return !f.autoInc && (f.type == FieldType::Integer || f.type == FieldType::SmallInt);
    return false;
}

}  // namespace

MainController::MainController(MainServices services) : m(std::move(services)), m_menus(mainmenu::menuTree())
{
    m_title = applicationTitle();
    m.context.opener.addListener(&m_watch);
}

MainController::~MainController()
{
    m.context.opener.removeListener(&m_watch);
}

MenuEntry* MainController::entry(const QString& command) { return findIn(m_menus, command); }

const MenuEntry* MainController::entry(const QString& command) const
{
    return maintoolbar::findCommand(m_menus, command);
}

bool MainController::isShown(const QString& command) const
{
    const MenuEntry* e = entry(command);
    if (!e || !e->shown())
        return false;
    // A command is reachable only while its menu is shown too.
    for (const MenuEntry& menu : m_menus)
        if (maintoolbar::findCommand(menu.children, command))
            return menu.shown();
    return true;
}

QString MainController::caption(const QString& command) const
{
    if (command == mainmenu::systemDateCommand())
        return QStringLiteral("&Data systemu: ") + polish::shortDate(m.context.baza.systemDate());
    const mainmenu::CommandDef* def = mainmenu::command(command);
    return def ? def->caption : QString();
}

bool MainController::isChecked(const QString& command) const
{
    const mainmenu::CommandDef* def = mainmenu::command(command);
    if (!def)
        return false;
    switch (def->action) {
    case mainmenu::Action::DateFilter:
        return m.context.baza.systemDateFilter();
    case mainmenu::Action::ModalWindows:
        return m.context.settings.modalWindows;
    case mainmenu::Action::RaisedButtons:
        return m.context.settings.raisedButtons;
    case mainmenu::Action::AutoEdit:
        return m.context.settings.autoEdit;
    case mainmenu::Action::StayOnTop:
        return m.context.settings.stayOnTop;
    case mainmenu::Action::Area:
        for (WindowOpener::WindowId w : m_windows.value(command))
            if (m.context.opener.isOpen(w))
                return true;
        return false;
    default:
        return false;
    }
}

bool MainController::firstShow()
{
    if (m.security.current().everLoggedIn())
        return true;
    m.view.commandsChanged();  // the system date's caption
    bool loggedIn = false;
    try {
        loggedIn = login();
    } catch (const Error& e) {
        m.context.prompts.showError(e.message());
    }
    if (!loggedIn) {
        m_mustEnd = true;
        return false;
    }
    Database& db = m.context.db();
    try {
        m.context.institution = Institution::read(db);
        m.context.settings.oneGroupMode = oneGroupStore(db);
        m_aboutText = m.context.institution.name + QLatin1Char('\n') + m.context.institution.address;
        m.context.params = Parameters();
        m.context.params.load(db);
        checkDeliveredPassword();
    } catch (const Error& e) {
        m.context.prompts.showError(e.message());
        m_mustEnd = true;
        return false;
    }
    applyLogin();
    loadSettings();
    if (m_settings.reminder == MainSettings::remindAtStart() && isShown(mainmenu::remindersCommand()))
        remindAtStart();
    m.view.closeStartupNotice();
    return true;
}

void MainController::remindAtStart()
{
    const mainmenu::CommandDef* def = mainmenu::command(mainmenu::remindersCommand());
    if (!def)
        return;
    // At start an empty list is not shown; the command shows it anyway.
    try {
        openArea(def->name, def->area,
                 {{QStringLiteral("title"), withoutAccelerator(def->caption)}, {QStringLiteral("atStart"), true}});
    } catch (const Error& e) {
        m.context.prompts.showError(e.message());
    }
}

void MainController::checkDeliveredPassword()
{
    const bool kept = m.security.deliveredPasswordKept();
    if (kept)
        m_aboutText += aboutCredentials();
    m.view.setAboutText(m_aboutText);
    if (kept && m.security.current().userName == TDMOchrona::deliveredLogin() && m.passwordDialog
        && m.context.prompts.askYesNo(deliveredPasswordQuestion())) {
        m.passwordDialog(TDMOchrona::deliveredLogin());
        if (!m.security.deliveredPasswordKept()) {
            m_aboutText.chop(aboutCredentials().size());
            m.view.setAboutText(m_aboutText);
        }
    }
}

bool MainController::login()
{
    if (m.arguments.size() >= 2) {
        // The store may still be unopened when the login comes from the command line.
        m.context.baza.open();
        if (m.security.login(m.arguments.at(0), m.arguments.at(1)))
            return true;
    }
    return m.loginDialog && m.loginDialog() == LoginResult::Accepted;
}

void MainController::applyLogin()
{
    CurrentLogin login = m.security.current();
    if (m.context.settings.oneGroupMode)
        login.functions = permissions::narrowToOneGroup(login.functions);
    m.context.login = login;
    m_title = applicationTitle() + QStringLiteral(" - ") + login.userName;
    m.view.setTitle(m_title);
    applyCommandVisibility();
}

bool MainController::areaAvailable(const QString& command) const
{
    const mainmenu::CommandDef* def = mainmenu::command(command);
    return !def || def->action != mainmenu::Action::Area || m.context.areas.has(def->area);
}

void MainController::applyCommandVisibility()
{
    // From the table every time, so a new login starts from what a login gives.
    m_menus = mainmenu::menuTree();
    permissions::applyFunctions(mainmenu::owner(), m_menus, m.context.login.functions);
    for (MenuEntry& menu : m_menus)
        for (MenuEntry& e : menu.children)
            if (!e.separator && !areaAvailable(e.name))
                e.visible = false;
    for (MenuEntry& menu : m_menus)
        if (menu.name == mainmenu::securityMenu() || menu.name == mainmenu::dataMenu()
            || menu.name == mainmenu::dictionaryMenu())
            permissions::tidyMenu(menu);
    m.view.commandsChanged();
}

void MainController::loadSettings()
{
    m_settings = MainSettings::load(m.settings);
    m.context.settings.modalWindows = m_settings.modalWindows;
    m.context.settings.autoEdit = m_settings.autoEdit;
    m.context.settings.raisedButtons = m_settings.raisedButtons;
    const MainSettings::Place place = m_settings.placement(m.view.availableGeometry());
    m.view.place(place.frame, place.maximized);
    m_toolbar = maintoolbar::fromStored(m_settings.buttons, m_menus);
    m.view.toolbarChanged();
    m.view.commandsChanged();
    m_settingsLoaded = true;
}

void MainController::run(const QString& command, const QString& buttonText)
{
    const mainmenu::CommandDef* def = mainmenu::command(command);
    if (!def || !isShown(command))
        return;
    RunContext& ctx = m.context;
    try {
        switch (def->action) {
        case mainmenu::Action::Close:
            m.view.requestClose();
            break;
        case mainmenu::Action::Backup:
            runBackup();
            break;
        case mainmenu::Action::Area: {
            if (closeWindowsOf(command))
                break;
            QString title = withoutAccelerator(buttonText.isEmpty() ? def->caption : buttonText);
            if (command == mainmenu::attendanceCommand())
                title = QStringLiteral("Lista obecności na: ") + polish::longDate(ctx.baza.systemDate());
            openArea(command, def->area, {{QStringLiteral("title"), title}});
            break;
        }
        case mainmenu::Action::NewPassword:
            if (m.passwordDialog)
                m.passwordDialog(m.security.current().userName);
            break;
        case mainmenu::Action::Logout:
            m.security.logout();
            break;
        case mainmenu::Action::Login:
            relogin();
            break;
        case mainmenu::Action::Internet:
            internet();
            break;
        case mainmenu::Action::SystemDate:
            pickSystemDate();
            break;
        case mainmenu::Action::DateFilter:
            ctx.baza.setSystemDateFilter(!ctx.baza.systemDateFilter());
            m.view.commandsChanged();
            break;
        case mainmenu::Action::ModalWindows:
            ctx.settings.modalWindows = !ctx.settings.modalWindows;
            m.view.commandsChanged();
            break;
        case mainmenu::Action::RaisedButtons:
            ctx.settings.raisedButtons = !ctx.settings.raisedButtons;
            m.view.commandsChanged();
            m.view.toolbarChanged();
            break;
        case mainmenu::Action::AutoEdit:
            ctx.settings.autoEdit = !ctx.settings.autoEdit;
            m.view.commandsChanged();
            break;
        case mainmenu::Action::StayOnTop:
            ctx.settings.stayOnTop = !ctx.settings.stayOnTop;
            m.view.setStayOnTop(ctx.settings.stayOnTop);
            m.view.commandsChanged();
            break;
        case mainmenu::Action::About:
            m.view.showAbout();
            break;
        }
    } catch (const Error& e) {
        ctx.prompts.showError(e.message());
    }
}

void MainController::openArea(const QString& command, const QString& area, const QVariantMap& arguments)
{
    const AreaRegistry::Opened opened = m.context.areas.openWindows(area, m.context, arguments);
    if (opened.windows.isEmpty())
        return;
    QList<WindowOpener::WindowId>& windows = m_windows[command];
    windows.removeIf([this](WindowOpener::WindowId w) { return !m.context.opener.isOpen(w); });
    windows << opened.windows;
    m.view.commandsChanged();
}

bool MainController::closeWindowsOf(const QString& command)
{
    if (!isChecked(command))
        return false;
    // Each closes in its own way; one keeping unsaved edits stays, and so
    // does the check mark.
    for (WindowOpener::WindowId w : m_windows.value(command))
        if (m.context.opener.isOpen(w))
            m.context.opener.closeWindow(w);
    m.view.commandsChanged();
    return true;
}

void MainController::windowClosed(WindowOpener::WindowId window)
{
    bool changed = false;
    for (auto it = m_windows.begin(); it != m_windows.end();) {
        changed = it->removeAll(window) > 0 || changed;
        it = it->isEmpty() ? m_windows.erase(it) : std::next(it);
    }
    if (changed)
        m.view.commandsChanged();
}

void MainController::relogin()
{
    // Open windows may hold unsaved edits: each asks in its own way, and a
    // window that stays open keeps the present login as it is.
    if (!m.windows.closeAll())
        return;
    Database& db = m.context.db();
    const QStringList credentials = db.credentials();
    const LoginResult result = m.loginDialog ? m.loginDialog() : LoginResult::Cancelled;
    if (result == LoginResult::Accepted) {
        applyLogin();
        m_toolbar.clear();
        m.view.toolbarChanged();
        loadSettings();
    } else if (result == LoginResult::Cancelled) {
        db.setCredentials(credentials);
    } else {
        m_mustEnd = true;
        m.view.requestClose();
    }
}

void MainController::runBackup()
{
    BackupEnvironment env;
    env.currentFolder = m.currentFolder;
    env.programFile = m.programFile;
    env.programCopied = [this](const QString& name) { m.view.setTitle(name); };
    env.waitCursor = [this](bool on) { m.view.setWaitCursor(on); };
    try {
        runBackupCopy(m.context.db(), m.context.prompts, m.messages, env);
    } catch (...) {
        m.view.setTitle(m_title);
        throw;
    }
    m.view.setTitle(m_title);
}

void MainController::internet()
{
    RunContext& ctx = m.context;
    enum Choice { Sync, Configure, AdminPassword, Logins };
    QStringList buttons;
    QList<Choice> choices;
    if (ctx.areas.has(mainmenu::syncArea())) {
        buttons << QStringLiteral("Synchronizować dane");
        choices << Sync;
    }
    if (ctx.areas.has(mainmenu::syncConfigurationArea())) {
        buttons << QStringLiteral("Ustawić konfigurację");
        choices << Configure;
    }
    buttons << QStringLiteral("Nadać hasło administratora");
    choices << AdminPassword;
    if (ctx.areas.has(mainmenu::webLoginsArea())) {
        buttons << QStringLiteral("Sprawdzić wejścia");
        choices << Logins;
    }
    const int answer = ctx.prompts.askChoice(QStringLiteral("Potwierdzenie"),
                                             QStringLiteral("Operacje na danych serwisu internetowego - chesz"), buttons);
    const int index = -answer - 1;
    if (answer == 0 || index < 0 || index >= choices.size())
        return;
    switch (choices.at(index)) {
    case Sync:
        ctx.areas.open(mainmenu::syncArea(), ctx);
        break;
    case Configure:
        ctx.areas.open(mainmenu::syncConfigurationArea(), ctx);
        break;
    case AdminPassword: {
        std::function<void()> send;
        if (ctx.areas.has(mainmenu::syncArea()))
            send = [&ctx] {
                ctx.areas.open(mainmenu::syncArea(), ctx, {{QStringLiteral("mode"), 2}, {QStringLiteral("key"), 0}});
            };
        setAdministratorWebPassword(ctx.db(), ctx.prompts, ctx.institution, send);
        break;
    }
    case Logins:
        ctx.areas.open(mainmenu::webLoginsArea(), ctx, {{QStringLiteral("title"), QStringLiteral("Sprawdzić wejścia")}});
        break;
    }
}

void MainController::pickSystemDate()
{
    QDate date = m.context.baza.systemDate();
    if (m.context.prompts.pickDate(QStringLiteral("Domyślna data systemu"), QString(), date) && date.isValid()) {
        m.context.baza.setSystemDate(date);
        m.view.commandsChanged();
    }
}

void MainController::customizeToolbar()
{
    if (maintoolbar::choose(m.context.prompts, m_menus, m_toolbar))
        m.view.toolbarChanged();
}

bool MainController::confirmClose()
{
    if (m_mustEnd || !m_settingsLoaded || !isShown(mainmenu::backupCommand()))
        return true;
    switch (m.context.prompts.askYesNoCancel(closeQuestion())) {
    case Answer::Cancel:
        return false;
    case Answer::No:
        return true;
    case Answer::Yes:
        // A failed copy must not pass for a made one: the user learns of it
        // before the program goes.
        try {
            runBackup();
        } catch (const Error& e) {
            m.context.prompts.showError(e.message());
        } catch (const std::exception& e) {
            m.context.prompts.showError(QString::fromLocal8Bit(e.what()));
        }
        return true;
    }
    return true;
}

void MainController::saveSettings(const QRect& frame, bool maximized)
{
    if (!m_settingsLoaded || m_mustEnd)
        return;
    m_settings.top = frame.top();
    m_settings.left = frame.left();
    m_settings.width = frame.width();
    m_settings.height = frame.height();
    m_settings.maximized = maximized;
    m_settings.modalWindows = m.context.settings.modalWindows;
    m_settings.autoEdit = m.context.settings.autoEdit;
    m_settings.raisedButtons = m.context.settings.raisedButtons;
    m_settings.buttons = maintoolbar::toStored(m_toolbar);
    m_settings.save(m.settings);
}
