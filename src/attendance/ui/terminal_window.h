#pragma once
// TFmWprObec ("Obecności"): the attendance terminal at the entrance. A
// full-screen window with the clock, today's date and mode, a big code box
// fed by a bar-code reader as a keyboard (digits and Enter), the child
// named by the code, the result of the last entry and the questions of the
// entry shown inside the window. The rules live in AttendanceTerminal;
// this window only shows its state and passes on keys, clicks and seconds.

#include "attendance/terminal_session.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTimer;
class QWidget;
struct RunContext;

class TFmWprObec : public QDialog {
    Q_OBJECT
public:
    explicit TFmWprObec(terminal::TerminalSetup setup, QWidget* parent = nullptr);
    ~TFmWprObec() override;

    terminal::AttendanceTerminal& terminal() { return m_terminal; }

    // The timer's second, callable by tests.
    void tick();

    // The controls, for tests.
    QLineEdit* codeBox() const { return m_code; }
    QLabel* resultLabel() const { return m_result; }
    QLabel* childLabel() const { return m_child; }
    QLabel* modeLabel() const { return m_mode; }
    QWidget* questionPanel() const { return m_questionPanel; }
    QLabel* questionLabel() const { return m_questionText; }
    QLineEdit* passwordBox() const { return m_password; }
    QPushButton* questionButton(terminal::Reply reply) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    void refresh();
    void refreshList();
    void answer(terminal::Reply reply);
    void showCodeMenu(const QPoint& at);

    terminal::AttendanceTerminal m_terminal;
    QTimer* m_timer = nullptr;
    QLabel* m_clock = nullptr;
    QLabel* m_date = nullptr;
    QLabel* m_weekday = nullptr;
    QLabel* m_mode = nullptr;
    QLineEdit* m_code = nullptr;
    QLabel* m_child = nullptr;
    QLabel* m_group = nullptr;
    QListWidget* m_list = nullptr;
    QLabel* m_result = nullptr;
    QWidget* m_questionPanel = nullptr;
    QLabel* m_questionText = nullptr;
    QLineEdit* m_password = nullptr;
    QPushButton* m_questionOk = nullptr;
    QPushButton* m_questionCancel = nullptr;
    QPushButton* m_questionDelete = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QAction* m_toggle = nullptr;
    QList<int> m_listed;
};

// The terminal over the run's store, modal over the active window.
void openTerminalWindow(RunContext& context);
