#include "main_window.h"

#include "browser/run_context.h"
#include "browser/window_placement.h"
#include "browser/ui/tfm_kartot.h"
#include "browser/ui/toolbar_click.h"
#include "browser/ui/ui_window_opener.h"
#include "shell/main_commands.h"
#include "shell/startup_trace.h"
#include "shell/ui/startup_watch.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <memory>
#include <utility>

namespace {

const QString kWebAddress = QStringLiteral("www.vendrix.pl");
const QString kMailAddress = QStringLiteral("biuro@vendrix.pl");

// The maker's addresses: blue, red under the mouse, opened when clicked.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& text, const QUrl& target, QWidget* parent) : QLabel(text, parent), m_target(target)
    {
        setCursor(Qt::PointingHandCursor);
        paint(Qt::blue);
    }

protected:
    void enterEvent(QEnterEvent*) override { paint(Qt::red); }
    void leaveEvent(QEvent*) override { paint(Qt::blue); }
    void mouseReleaseEvent(QMouseEvent*) override { QDesktopServices::openUrl(m_target); }

private:
    void paint(const QColor& colour)
    {
        QPalette p = palette();
        p.setColor(QPalette::WindowText, colour);
        setPalette(p);
    }
    QUrl m_target;
};

QPixmap makerPicture()
{
    QPixmap pm(72, 72);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(250, 204, 60));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(6, 6, 60, 60));
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QRectF(24, 2, 52, 52));  // a crescent: the moon of the name
    return pm;
}

QString plain(QString caption)
{
    const int at = caption.indexOf(QLatin1Char('&'));
    if (at >= 0)
        caption.remove(at, 1);
    return caption;
}

}  // namespace

// --- About --------------------------------------------------------------------

TFmAbout::TFmAbout(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog)
{
    setObjectName(QStringLiteral("TFmAbout"));
    setWindowTitle(QStringLiteral("O programie"));
    auto* frame = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* picture = new QLabel(this);
    picture->setPixmap(makerPicture());
    top->addWidget(picture, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    auto* name = new QLabel(QStringLiteral("Lunawa"), this);
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    name->setFont(big);
    texts->addWidget(name);
    texts->addWidget(new QLabel(QStringLiteral("wersja 1.2"), this));
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("aboutText"));
    texts->addWidget(m_text);
    texts->addWidget(new LinkLabel(kWebAddress, QUrl(QStringLiteral("https://") + kWebAddress), this));
    texts->addWidget(new LinkLabel(kMailAddress, QUrl(QStringLiteral("mailto:") + kMailAddress), this));
    top->addLayout(texts, 1);
    frame->addLayout(top);
    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    frame->addWidget(m_ok, 0, Qt::AlignHCenter);
    // Painted rather than styled: a style sheet costs the start-up notice
    // several milliseconds.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xf4, 0xf6, 0xfb));
    setPalette(colours);
    setAutoFillBackground(true);
}

void TFmAbout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setPen(QPen(QColor(0x4a, 0x6a, 0x9a), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void TFmAbout::setText(const QString& text) { m_text->setText(text); }

QString TFmAbout::text() const { return m_text->text(); }

void TFmAbout::showNotice()
{
    m_ok->hide();
    setModal(false);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
}

void TFmAbout::showModal()
{
    m_ok->show();
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    exec();
}

// --- Main window ----------------------------------------------------------------

TFmMain::TFmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("TFmMain"));
    setWindowTitle(MainController::applicationTitle());
    toolbarclick::install();
    m_about = new TFmAbout(this);
    m_about->showNotice();

    // The area windows open over the space below the toolbar.
    auto* desk = new QWidget(this);
    desk->setObjectName(QStringLiteral("desk"));
    desk->setAutoFillBackground(true);
    QPalette deskColours = desk->palette();
    deskColours.setColor(QPalette::Window, QColor(0xe8, 0xec, 0xf3));
    desk->setPalette(deskColours);
    setCentralWidget(desk);
    // The desk moves down when the toolbar comes; area windows open below it.
    desk->installEventFilter(this);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->setMinimumHeight(statusBar()->fontMetrics().height() + 8);
    buildMenus();
    // The whole screen from the start; the user's settings may change it later.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);

    // Coming back to the program while a dialog is open puts the focus there.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            return;
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->activateWindow();
            modal->setFocus();
        }
    });
}

TFmMain::~TFmMain()
{
    placement::setDeskTop(0);
    TFmKartot::hooks().mainCommandCaption = nullptr;
    TFmKartot::hooks().runMainCommand = nullptr;
}

void TFmMain::attach(MainServices services)
{
    m_controller = std::make_unique<MainController>(services);
    commandsChanged();
    // A browser keeps the windows of this window's commands docked in it
    // by their captions, and opens them again through these.
    auto* opener = dynamic_cast<UiWindowOpener*>(&services.context.opener);
    if (!opener)
        return;
    TFmKartot::hooks().mainCommandCaption = [this, opener](const TFmKartot& window) {
        for (const mainmenu::CommandDef& def : mainmenu::commands())
            for (WindowOpener::WindowId id : m_controller->windowsOf(def.name))
                if (opener->window(id) == &window)
                    return def.caption;
        return QString();
    };
    TFmKartot::hooks().runMainCommand = [this, opener](const QString& caption) -> TFmKartot* {
        for (const mainmenu::CommandDef& def : mainmenu::commands()) {
            if (def.action != mainmenu::Action::Area || def.caption != caption)
                continue;
            // Run again, an open window's command would close it.
            if (!m_controller->isShown(def.name) || m_controller->isChecked(def.name))
                return nullptr;
            m_controller->run(def.name);
            const QList<WindowOpener::WindowId> windows = m_controller->windowsOf(def.name);
            return windows.isEmpty() ? nullptr : opener->window(windows.last());
        }
        return nullptr;
    };
}

QString TFmMain::commandPicture(int image)
{
    // One picture per command image: no two registers look alike.
    static const QHash<int, QString> pictures{
        {1, "system-users"},         {2, "security-high"},           {3, "face-smile"},
        {4, "user-info"},            {5, "task-due"},                {6, "emblem-documents"},
        {7, "dialog-information"},   {8, "mail-message-new"},        {9, "appointment-soon"},
        {10, "appointment-missed"},  {11, "emblem-favorite"},        {12, "mail-send"},
        {13, "emblem-package"},      {14, "network-transmit-receive"}, {15, "user-available"},
        {16, "format-justify-fill"}, {17, "accessories-calculator"}, {18, "zoom-fit-best"},
        {19, "insert-image"},        {20, "document-page-setup"},    {29, "document-open"},
        {30, "document-save-as"},    {31, "document-new"},           {47, "media-playback-pause"},
        {48, "go-last"},             {49, "starred"},                {50, "input-dialpad"},
        {52, "emblem-important"},
    };
    const auto it = pictures.constFind(image);
    return it == pictures.cend() ? QString() : QStringLiteral(":/icons/") + *it + QStringLiteral(".png");
}

QIcon TFmMain::commandIcon(int image, const QString& caption)
{
    if (image < 0)
        return QIcon();
    if (const QString picture = commandPicture(image); !picture.isEmpty() && QFile::exists(picture))
        return QIcon(picture);
    // A command without a picture of its own: its caption's first letters.
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromHsv((image * 47) % 360, 150, 200));
    p.drawRoundedRect(QRectF(1, 1, 22, 22), 5, 5);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    // The caption's first letters, so that neighbouring commands differ.
    p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, plain(caption).left(2));
    return QIcon(pm);
}

void TFmMain::buildMenus()
{
    for (const permissions::MenuEntry& menuEntry : mainmenu::menuTree()) {
        QMenu* menu = menuBar()->addMenu(menuEntry.caption);
        menu->setObjectName(menuEntry.name);
        connect(menu, &QMenu::aboutToShow, this, &TFmMain::ensureIcons);
        // Check marks follow the run's settings, which browsers change too.
        connect(menu, &QMenu::aboutToShow, this, &TFmMain::commandsChanged);
        QList<QAction*> actions;
        for (const permissions::MenuEntry& e : menuEntry.children) {
            if (e.separator) {
                actions << menu->addSeparator();
                continue;
            }
            const mainmenu::CommandDef* def = mainmenu::command(e.name);
            auto* action = new QAction(def->caption, this);
            action->setObjectName(def->name);
            if (!def->shortcut.isEmpty())
                action->setShortcut(QKeySequence(def->shortcut));
            action->setStatusTip(def->hint);
            action->setToolTip(plain(def->caption));
            // The toolbar button's text; the bar shows only pictures.
            if (!def->hint.isEmpty())
                action->setIconText(def->hint);
            action->setCheckable(def->isToggleSetting());
            const QString name = def->name;
            connect(action, &QAction::triggered, this, [this, name, action] {
                if (!m_controller)
                    return;
                // A window opened from the toolbar is titled with the button's text.
                const QToolButton* button = toolbarclick::current();
                m_controller->run(name, button && button->defaultAction() == action ? button->text() : QString());
            });
            menu->addAction(action);
            m_actions.insert(name, action);
            actions << action;
        }
        m_menus << menu;
        m_entryActions << actions;
    }
}

void TFmMain::ensureIcons()
{
    if (m_iconsSet)
        return;
    m_iconsSet = true;
    for (QAction* action : std::as_const(m_actions))
        if (const mainmenu::CommandDef* def = mainmenu::command(action->objectName()))
            action->setIcon(commandIcon(def->image, def->caption));
}

void TFmMain::setTitle(const QString& title) { setWindowTitle(title); }

void TFmMain::setAboutText(const QString& text) { m_about->setText(text); }

void TFmMain::commandsChanged()
{
    if (!m_controller)
        return;
    const QList<permissions::MenuEntry>& menus = m_controller->menus();
    for (int i = 0; i < menus.size() && i < m_menus.size(); ++i) {
        m_menus[i]->menuAction()->setVisible(menus[i].shown());
        const QList<permissions::MenuEntry>& entries = menus[i].children;
        for (int j = 0; j < entries.size() && j < m_entryActions[i].size(); ++j) {
            QAction* action = m_entryActions[i][j];
            action->setVisible(entries[j].shown());
            if (entries[j].separator)
                continue;
            action->setText(m_controller->caption(entries[j].name));
            // A command that opened a window is checked (its button pressed)
            // while the window is open; others show no check box at all.
            const mainmenu::CommandDef* def = mainmenu::command(entries[j].name);
            const bool checked = m_controller->isChecked(entries[j].name);
            action->setCheckable(checked || (def && def->isToggleSetting()));
            action->setChecked(checked);
        }
    }
}

void TFmMain::makeToolbar()
{
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(24, 24));
    // As high with no buttons as with some, so the bar's height never changes.
    m_toolbar->setMinimumHeight(m_toolbar->iconSize().height() + 14);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolbar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_toolbar, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!m_controller)
            return;
        QMenu menu(this);
        menu.addAction(QStringLiteral("Ustaw &przyciski"), this, [this] { m_controller->customizeToolbar(); });
        menu.exec(m_toolbar->mapToGlobal(at));
    });
    addToolBar(Qt::TopToolBarArea, m_toolbar);
}

void TFmMain::toolbarChanged()
{
    if (!m_controller)
        return;
    if (!m_toolbar)
        makeToolbar();
    m_toolbar->clear();
    ensureIcons();
    const bool raised = m_controller->isChecked(QStringLiteral("Wypukeprzyciski1"));
    for (const QString& name : m_controller->toolbar()) {
        QAction* action = m_actions.value(name);
        if (!action) {
            auto* gap = new QWidget(m_toolbar);
            gap->setFixedWidth(8);
            m_toolbar->addWidget(gap);
            continue;
        }
        m_toolbar->addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(m_toolbar->widgetForAction(action)))
            button->setAutoRaise(!raised);
    }
}

void TFmMain::place(const QRect& frame, bool maximized)
{
    setGeometry(frame);
    if (maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        setWindowState(windowState() & ~Qt::WindowMaximized);
}

void TFmMain::setStayOnTop(bool on)
{
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        show();
}

void TFmMain::closeStartupNotice()
{
    QApplication::processEvents();
    m_about->hide();
}

void TFmMain::showAbout() { m_about->showModal(); }

void TFmMain::setWaitCursor(bool on)
{
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TFmMain::requestClose()
{
    QTimer::singleShot(0, this, &QWidget::close);
}

QRect TFmMain::availableGeometry() const
{
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

bool TFmMain::closeAll()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w == this || w == m_about || !w->isVisible() || qobject_cast<QMenu*>(w))
            continue;
        if (w->windowType() != Qt::Window && w->windowType() != Qt::Dialog)
            continue;
        if (!w->close() || w->isVisible())
            return false;
    }
    return true;
}

void TFmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    setMinimumSize(200, 120);
    updateDesk();
    m_about->raise();
    // The login dialog goes over the main window: it waits until the window is painted.
    startup::whenOnScreen(windowHandle(), this, [this] { runFirstShow(); });
}

void TFmMain::updateDesk()
{
    if (centralWidget() && isVisible())
        placement::setDeskTop(centralWidget()->mapToGlobal(QPoint(0, 0)).y());
}

bool TFmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Move)
        updateDesk();
    return QMainWindow::eventFilter(watched, event);
}

void TFmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    updateDesk();
}

void TFmMain::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    updateDesk();
}

void TFmMain::runFirstShow()
{
    startup::mark("main window exposed");
    const bool ok = !m_controller || m_controller->firstShow();
    if (!ok) {
        m_about->hide();
        close();
    }
    emit started(ok);
}

void TFmMain::closeEvent(QCloseEvent* event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    // Every other window goes first, each with its own questions, so that
    // its edits are saved before the backup copy is offered; a window that
    // stays open keeps the program running.
    if (!closeAll() || (m_controller && !m_controller->confirmClose())) {
        event->ignore();
        return;
    }
    m_closed = true;
    if (m_controller)
        m_controller->saveSettings(normalGeometry(), isMaximized());
    m_about->hide();
    event->accept();
    QMainWindow::closeEvent(event);
    emit runEnded();
}
