#include "tfm_podstawa.h"

#include "browser/docking_rules.h"
#include "browser/key_value_settings.h"
#include "browser/ui/dock_box.h"
#include "browser/window_placement.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHash>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The windows of the family by id: a dragged box names its window by id,
// so a drop never trusts a pointer carried in the drag.
QHash<int, QPointer<TFmPodstawa>>& family()
{
    static QHash<int, QPointer<TFmPodstawa>> windows;
    return windows;
}

int nextId()
{
    static int last = 0;
    return ++last;
}

}  // namespace

TFmPodstawa::TFmPodstawa(QWidget* parent) : QMainWindow(parent), m_id(nextId())
{
    family().insert(m_id, this);
    m_box = new DockBox(docking::undockedCaption(), this);
    m_box->setPayload(QByteArray::number(m_id));
    auto* boxLayout = new QVBoxLayout(m_box);
    boxLayout->setContentsMargins(2, 2, 2, 2);
    m_dockSplitter = new QSplitter(Qt::Vertical, m_box);
    m_dockSplitter->setObjectName(QStringLiteral("Rozdzielacz"));
    m_dockSplitter->setChildrenCollapsible(false);
    boxLayout->addWidget(m_dockSplitter);
    auto* body = new QWidget(m_dockSplitter);
    body->setObjectName(QStringLiteral("Tresc"));
    m_boxLayout = new QVBoxLayout(body);
    m_boxLayout->setContentsMargins(0, 0, 0, 0);
    m_boxLayout->setSpacing(2);
    m_dockSplitter->addWidget(body);
    setCentralWidget(m_box);
    setAcceptDrops(true);
    statusBar()->showMessage(QString());
    // A docked box is captioned with its window's title, and follows it.
    connect(this, &QWidget::windowTitleChanged, this, [this](const QString& title) {
        if (m_dockedIn)
            m_box->setTitle(title);
    });

    m_fileMenu = menuBar()->addMenu(QStringLiteral("&Plik"));
    m_close = new QAction(QStringLiteral("&Zamknij"), this);
    m_close->setShortcut(QKeySequence(QStringLiteral("Alt+F4")));
    connect(m_close, &QAction::triggered, this, &QWidget::close);
    m_fileMenu->addAction(m_close);

    m_settingsMenu = menuBar()->addMenu(QStringLiteral("&Ustawienia"));
    m_onTop = new QAction(QStringLiteral("&Na wierzchu"), this);
    m_onTop->setCheckable(true);
    connect(m_onTop, &QAction::toggled, this, &TFmPodstawa::setStayOnTop);
    m_settingsMenu->addAction(m_onTop);
}

TFmPodstawa::~TFmPodstawa()
{
    family().remove(m_id);
    // Windows docked here get their content back and close in their own
    // way; otherwise their content would go with this window and leave
    // them hidden and empty.
    for (const QPointer<TFmPodstawa>& d : m_docked) {
        if (!d)
            continue;
        d->takeBoxBack();
        QMetaObject::invokeMethod(d.data(), &QWidget::close, Qt::QueuedConnection);
    }
    m_docked.clear();
    if (m_dockedIn) {
        m_dockedIn->forgetDocked(this);
        // The box lives in the other window; it goes with this one.
        delete m_box;
    }
}

QGroupBox* TFmPodstawa::container() const
{
    return m_box;
}

void TFmPodstawa::setStayOnTop(bool on)
{
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        show();
    if (m_onTop->isChecked() != on)
        m_onTop->setChecked(on);
}

namespace {

QSize contentSize(const QWidget& window)
{
    // The layout's own wish, widened and heightened so that the widest grid
    // shows all its columns and up to 30 rows.
    QSize size = window.sizeHint();
    int extraWidth = 0;
    int extraHeight = 0;
    for (const QTableView* view : window.findChildren<QTableView*>()) {
        if (view->isHidden() && view->testAttribute(Qt::WA_WState_ExplicitShowHide))
            continue;
        const int frame = 2 * view->frameWidth();
        const int scroll = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const int width = view->verticalHeader()->width() + view->horizontalHeader()->length() + frame + scroll;
        const int rows = view->model() ? std::min(view->model()->rowCount(), 30) : 0;
        const int height = view->horizontalHeader()->height() + std::max(rows, 5) * view->verticalHeader()->defaultSectionSize()
            + frame + scroll;
        extraWidth = std::max(extraWidth, width - view->sizeHint().width());
        extraHeight = std::max(extraHeight, height - view->sizeHint().height());
    }
    return size + QSize(extraWidth, extraHeight);
}

}  // namespace

void TFmPodstawa::place(KeyValueSettings& settings, const QString& key, bool modalWindows, bool centred)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    std::optional<QRect> owner;
    if (m_openedFrom && m_openedFrom->isWindow())
        owner = m_openedFrom->frameGeometry();
    QRect r = placement::initial(available, owner, contentSize(*this));
    if (centred)
        r.moveCenter(available.center());
    bool maximize = false;
    if (!modalWindows) {
        const placement::Stored s = placement::load(settings, key);
        if (s.geometry)
            r = placement::onScreen(*s.geometry, available);
        maximize = s.maximized;
    }
    setGeometry(r);
    if (maximize)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TFmPodstawa::savePlace(KeyValueSettings& settings, const QString& key) const
{
    const bool normal = !isMaximized() && !isMinimized() && windowModality() == Qt::NonModal;
    placement::save(settings, key, geometry(), isMaximized(), normal);
}

// --- docking ---------------------------------------------------------------------

bool TFmPodstawa::canDock(const TFmPodstawa& source) const
{
    if (&source == this || source.m_dockedIn || m_dockedIn || !source.m_box)
        return false;
    if (source.m_box->title() != docking::undockedCaption())
        return false;
    // A modal window blocks the others; nothing moves out of or into it.
    return source.windowModality() == Qt::NonModal && windowModality() == Qt::NonModal;
}

bool TFmPodstawa::dock(TFmPodstawa& source)
{
    if (!canDock(source))
        return false;
    DockBox* box = source.m_box;
    const int height = docking::dockedHeight(box->height());
    QList<int> sizes = m_dockSplitter->sizes();
    int total = 0;
    for (int s : sizes)
        total += s;
    if (total <= 0)
        total = m_dockSplitter->height();
    source.takeCentralWidget();
    box->setTitle(source.windowTitle());
    m_dockSplitter->addWidget(box);
    box->show();
    source.m_dockedIn = this;
    m_docked << &source;
    m_dockSplitter->setSizes(docking::sizesWithDocked(sizes, total, height));
    source.hide();
    return true;
}

QList<TFmPodstawa*> TFmPodstawa::dockedWindows() const
{
    QList<TFmPodstawa*> out;
    for (const QPointer<TFmPodstawa>& d : m_docked)
        if (d)
            out << d.data();
    return out;
}

TFmPodstawa* TFmPodstawa::holding(QWidget* w)
{
    const DockBox* box = DockBox::holding(w);
    return box ? qobject_cast<TFmPodstawa*>(box->owner()) : nullptr;
}

bool TFmPodstawa::closeDocked()
{
    for (TFmPodstawa* d : dockedWindows()) {
        if (!d->close())
            return false;
    }
    return true;
}

void TFmPodstawa::forgetDocked(TFmPodstawa* window)
{
    m_docked.removeAll(window);
}

void TFmPodstawa::takeBoxBack()
{
    if (!m_dockedIn)
        return;
    m_dockedIn = nullptr;
    m_box->setTitle(docking::undockedCaption());
    setCentralWidget(m_box);
}

TFmPodstawa* TFmPodstawa::sourceOf(const QMimeData* data) const
{
    if (!data || !data->hasFormat(docking::mimeType()))
        return nullptr;
    bool ok = false;
    const int id = data->data(docking::mimeType()).toInt(&ok);
    return ok ? family().value(id).data() : nullptr;
}

void TFmPodstawa::dragEnterEvent(QDragEnterEvent* event)
{
    const TFmPodstawa* source = sourceOf(event->mimeData());
    if (source && canDock(*source))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFmPodstawa::dragMoveEvent(QDragMoveEvent* event)
{
    const TFmPodstawa* source = sourceOf(event->mimeData());
    if (source && canDock(*source))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFmPodstawa::dropEvent(QDropEvent* event)
{
    TFmPodstawa* source = sourceOf(event->mimeData());
    if (source && dock(*source))
        event->acceptProposedAction();
    else
        event->ignore();
}
