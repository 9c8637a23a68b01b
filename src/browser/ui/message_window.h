#pragma once
// The message window "Komunikaty": one window for the whole run, kept on
// top, showing the state of a MessageLog — the lists "Błędy" and "Uwagi"
// above a panel with the description, counter, bar, "OK" and "Podgląd list".

#include "browser/message_log.h"

#include <QWidget>

#include <functional>

class QDialog;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSplitter;

class TFmKomunikaty : public QWidget, public MessageLogView {
    Q_OBJECT
public:
    using PreviewHandler = std::function<void(const QList<MessageLogLine>& lines)>;

    explicit TFmKomunikaty(MessageLog& log, QWidget* parent = nullptr);
    ~TFmKomunikaty() override;

    // "Podgląd list" hands the lines to this printout preview; without one
    // the window shows them in a plain preview of its own.
    void setPreviewHandler(PreviewHandler handler) { m_previewHandler = std::move(handler); }

    void messageLogChanged(const MessageLog& log) override;
    void showMessageLog(const MessageLog& log) override;
    void hideMessageLog() override;
    void processPendingEvents() override;

    QListWidget* errorsList() const { return m_errors; }
    QListWidget* remarksList() const { return m_remarks; }
    QGroupBox* errorsBox() const { return m_errorsBox; }
    QGroupBox* remarksBox() const { return m_remarksBox; }
    QWidget* bottomPanel() const { return m_panel; }
    QLabel* descriptionLabel() const { return m_description; }
    QLabel* counterLabel() const { return m_counter; }
    QProgressBar* bar() const { return m_bar; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* previewButton() const { return m_previewButton; }
    QDialog* previewWindow() const { return m_preview; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void preview();
    void applyLayout(const MessageLog& log);

    MessageLog& m_log;
    QSplitter* m_lists;
    QGroupBox* m_errorsBox;
    QGroupBox* m_remarksBox;
    QListWidget* m_errors;
    QListWidget* m_remarks;
    QWidget* m_panel;
    QLabel* m_description;
    QLabel* m_counter;
    QProgressBar* m_bar;
    QPushButton* m_ok;
    QPushButton* m_previewButton;
    QDialog* m_preview = nullptr;
    PreviewHandler m_previewHandler;
};
