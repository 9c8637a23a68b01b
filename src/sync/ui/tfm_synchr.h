#pragma once
// "Synchronizacja danych": the window that runs one mode of the exchange
// with the web service, with the password, the start month and the option
// of a full synchronisation, the configuration list of modes 3 and 4,
// Start/Stop, the action label and the progress bar.

#include "sync/sync_modes.h"

#include <QDialog>

#include <memory>

class HttpTransport;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class SyncSession;
struct RunContext;

class TFmSynchr : public QDialog {
    Q_OBJECT
public:
    enum Mode { Full = 1, Correction = 2, ReadConfiguration = 3, WriteConfiguration = 4, Attachment = 5, Logins = 6 };

    TFmSynchr(RunContext& context, Mode mode, const QUrl& address, QWidget* parent = nullptr);
    ~TFmSynchr() override;

    // Mode 2: the DZIECI key (0: the administrator). Mode 5: the link row and file.
    void setKey(int key) { m_key = key; }
    void setAttachment(int linkId, const QString& file) { m_key = linkId, m_file = file; }
    // Mode 4: the configuration string to edit.
    void setConfiguration(const QString& configuration);
    // Mode 5 with the password known: starts by itself when first shown.
    void setPassword(const QString& password, bool startWhenShown);

    const websync::Summary& summary() const;
    bool succeeded() const { return m_succeeded; }
    QString configuration() const { return m_configuration; }
    QString password() const;

    // Starts the mode (the "Start" button).
    void start();
    void stop();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void chooseStartMonth();
    void showStartMonth();
    void showItem(int item);
    void itemChanged();
    void setRunning(bool running);

    RunContext& m_context;
    Mode m_mode;
    int m_key = 0;
    QString m_file;
    QString m_configuration;
    websync::StartMonth m_start;
    bool m_running = false;
    bool m_succeeded = false;
    bool m_autoStart = false;

    std::unique_ptr<HttpTransport> m_transport;
    std::unique_ptr<SyncSession> m_session;
    std::unique_ptr<websync::Synchronizer> m_synchronizer;

    QLabel* m_passwordLabel = nullptr;
    QLineEdit* m_password = nullptr;
    QPushButton* m_monthButton = nullptr;
    QCheckBox* m_onlyRequests = nullptr;
    QListWidget* m_items = nullptr;
    QCheckBox* m_active = nullptr;
    QCheckBox* m_adding = nullptr;
    QLabel* m_action = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_startButton = nullptr;
};
