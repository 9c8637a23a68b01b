#include "tfm_synchr.h"

#include "browser/message_log.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "sync/http_transport.h"
#include "sync/sync_session.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TFmSynchr::TFmSynchr(RunContext& context, Mode mode, const QUrl& address, QWidget* parent)
    : QDialog(parent), m_context(context), m_mode(mode), m_transport(std::make_unique<HttpTransport>())
{
    setWindowTitle(QStringLiteral("Synchronizacja danych"));
    setObjectName(QStringLiteral("FmSynchr"));
    m_session = std::make_unique<SyncSession>(*m_transport, context.prompts, address);
    m_synchronizer = std::make_unique<websync::Synchronizer>(
        websync::Environment{context.db(), context.params, context.institution, context.prompts}, *m_session);

    auto* layout = new QVBoxLayout(this);
    auto* passwordRow = new QHBoxLayout;
    m_passwordLabel = new QLabel(QStringLiteral("Hasło"), this);
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    passwordRow->addWidget(m_passwordLabel);
    passwordRow->addWidget(m_password, 1);
    layout->addLayout(passwordRow);

    m_monthButton = new QPushButton(this);
    m_onlyRequests = new QCheckBox(QStringLiteral("Tylko zgłoszenia i informacje"), this);
    layout->addWidget(m_monthButton);
    layout->addWidget(m_onlyRequests);
    m_monthButton->setVisible(mode == Full);
    m_onlyRequests->setVisible(mode == Full);
    if (mode == Full) {
        m_start = websync::defaultStartMonth(context.db());
        showStartMonth();
        connect(m_monthButton, &QPushButton::clicked, this, &TFmSynchr::chooseStartMonth);
    }

    m_items = new QListWidget(this);
    m_items->addItems(websync::configurationItems());
    m_active = new QCheckBox(QStringLiteral("Aktywne"), this);
    m_adding = new QCheckBox(QStringLiteral("Dopisywanie pozycji"), this);
    layout->addWidget(m_items);
    layout->addWidget(m_active);
    layout->addWidget(m_adding);
    m_items->setVisible(false);
    m_active->setVisible(false);
    m_adding->setVisible(false);
    connect(m_items, &QListWidget::currentRowChanged, this, &TFmSynchr::showItem);
    connect(m_active, &QCheckBox::clicked, this, &TFmSynchr::itemChanged);
    connect(m_adding, &QCheckBox::clicked, this, &TFmSynchr::itemChanged);

    m_action = new QLabel(QStringLiteral("Naciśnij \"Start\" aby rozpocząć proces"), this);
    m_action->setObjectName(QStringLiteral("action"));
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    layout->addWidget(m_action);
    layout->addWidget(m_progress);

    m_startButton = new QPushButton(QStringLiteral("Start"), this);
    m_startButton->setDefault(true);
    layout->addWidget(m_startButton, 0, Qt::AlignRight);
    connect(m_startButton, &QPushButton::clicked, this, [this] { m_running ? stop() : start(); });

    m_session->onAction = [this](const QString& label) { m_action->setText(label); };
    m_session->onProgress = [this](int value, int maximum) {
        m_progress->setRange(0, qMax(1, maximum));
        m_progress->setValue(qMin(value, qMax(1, maximum)));
    };
    resize(420, sizeHint().height());
}

TFmSynchr::~TFmSynchr() = default;

const websync::Summary& TFmSynchr::summary() const
{
    return m_synchronizer->summary();
}

QString TFmSynchr::password() const
{
    return m_password->text();
}

void TFmSynchr::setPassword(const QString& password, bool startWhenShown)
{
    m_password->setText(password);
    m_autoStart = startWhenShown;
}

void TFmSynchr::setConfiguration(const QString& configuration)
{
    m_configuration = configuration;
    m_passwordLabel->setText(QStringLiteral("Ustaw parametry konfiguracji"));
    m_password->setVisible(false);
    m_items->setVisible(true);
    m_active->setVisible(true);
    m_adding->setVisible(true);
    m_items->setCurrentRow(0);
    showItem(0);
    m_action->setText(QStringLiteral("Naciśnij \"Start\" aby zatwierdzić ustawienia"));
}

void TFmSynchr::showItem(int item)
{
    if (item < 0)
        return;
    const QChar digit = item < m_configuration.size() ? m_configuration.at(item) : QLatin1Char('0');
    m_active->setChecked(digit != QLatin1Char('0'));
    m_adding->setVisible(websync::itemAllowsAdding(item));
    m_adding->setChecked(digit == QLatin1Char('2'));
}

void TFmSynchr::itemChanged()
{
    const int item = m_items->currentRow();
    if (item < 0)
        return;
    while (m_configuration.size() <= item)
        m_configuration += QLatin1Char('0');
    QChar digit = QLatin1Char('0');
    if (m_active->isChecked())
        digit = m_adding->isChecked() && websync::itemAllowsAdding(item) ? QLatin1Char('2') : QLatin1Char('1');
    m_configuration[item] = digit;
    showItem(item);
}

void TFmSynchr::showStartMonth()
{
    const QString month = m_start.year == 9999 ? QString()
                                                : QLocale(QLocale::Polish).standaloneMonthName(m_start.month);
    m_monthButton->setText(QStringLiteral("Miesiąc początkowy: ") + month + QLatin1Char(' ')
                           + QString::number(m_start.year));
}

void TFmSynchr::chooseStartMonth()
{
    int year = m_start.year == 9999 ? QDate::currentDate().year() : m_start.year;
    int month = m_start.month;
    if (!m_context.prompts.pickMonth(QStringLiteral("Wybór miesiące"),
                                     QStringLiteral("Wybierz miesiąc początkowy danych na serwerze"), year, month))
        return;
    m_start = websync::acceptedStartMonth(m_context.db(), {year, month});
    showStartMonth();
}

void TFmSynchr::setRunning(bool running)
{
    m_running = running;
    m_startButton->setText(running ? QStringLiteral("Stop") : QStringLiteral("Start"));
    m_password->setEnabled(!running);
    m_monthButton->setEnabled(!running);
    m_onlyRequests->setEnabled(!running);
    m_items->setEnabled(!running);
}

void TFmSynchr::start()
{
    if (m_running)
        return;
    // Each run is a new exchange: a new session, so a former Stop is forgotten.
    m_transport = std::make_unique<HttpTransport>();
    auto session = std::make_unique<SyncSession>(*m_transport, m_context.prompts, m_session->address());
    session->onAction = m_session->onAction;
    session->onProgress = m_session->onProgress;
    m_session = std::move(session);
    m_synchronizer = std::make_unique<websync::Synchronizer>(
        websync::Environment{m_context.db(), m_context.params, m_context.institution, m_context.prompts}, *m_session);

    setRunning(true);
    const QString password = m_password->text();
    bool ok = false;
    switch (m_mode) {
    case Full:
        ok = m_synchronizer->full(password, {m_start, m_onlyRequests->isChecked()});
        break;
    case Correction:
        ok = m_synchronizer->correction(password, m_key);
        break;
    case ReadConfiguration:
        ok = m_synchronizer->readConfiguration(password);
        m_configuration = m_synchronizer->summary().configuration;
        break;
    case WriteConfiguration:
        ok = m_synchronizer->writeConfiguration(password, m_configuration);
        break;
    case Attachment:
        ok = m_synchronizer->attachment(password, m_key, m_file);
        break;
    case Logins: {
        int months = 3;
        if (!websync::askLoginMonths(m_context.prompts, months)) {
            setRunning(false);
            return;
        }
        ok = m_synchronizer->logins(password, months, m_context.systemDate());
        break;
    }
    }
    setRunning(false);
    m_succeeded = ok;
    // Records that could not be applied go to the message window's errors.
    if (m_context.messages && !m_synchronizer->summary().skipped.isEmpty()) {
        m_context.messages->setTitle(windowTitle());
        for (const QString& text : m_synchronizer->summary().skipped)
            m_context.messages->addError(text);
        m_context.messages->show();
    }
    if (ok)
        accept();
}

void TFmSynchr::stop()
{
    if (m_running)
        m_session->stop();
}

void TFmSynchr::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_autoStart) {
        m_autoStart = false;
        QTimer::singleShot(0, this, &TFmSynchr::start);
    }
}

void TFmSynchr::closeEvent(QCloseEvent* event)
{
    // Closing while an exchange runs stops it first.
    if (m_running) {
        m_session->stop();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
