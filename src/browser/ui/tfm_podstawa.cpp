#include "tfm_podstawa.h"

#include "browser/key_value_settings.h"
#include "browser/window_placement.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

TFmPodstawa::TFmPodstawa(QWidget* parent) : QMainWindow(parent)
{
    m_box = new QGroupBox(QStringLiteral("<-"), this);
    m_box->setObjectName(QStringLiteral("Pojemnik"));
    m_boxLayout = new QVBoxLayout(m_box);
    m_boxLayout->setContentsMargins(2, 2, 2, 2);
    m_boxLayout->setSpacing(2);
    setCentralWidget(m_box);
    statusBar()->showMessage(QString());

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

void TFmPodstawa::setStayOnTop(bool on)
{
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        show();
    if (m_onTop->isChecked() != on)
        m_onTop->setChecked(on);
}

void TFmPodstawa::place(KeyValueSettings& settings, const QString& key, bool modalWindows, bool centred)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    std::optional<QRect> owner;
    if (m_openedFrom && m_openedFrom->isWindow())
        owner = m_openedFrom->frameGeometry();
    QRect r = placement::initial(available, owner);
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
