#include "terminal_window.h"

#include "attendance/terminal_log.h"
#include "browser/run_context.h"
#include "store/polish_dates.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QLabel* label(int points, bool bold, QWidget* parent)
{
    auto* l = new QLabel(parent);
    QFont f = l->font();
    f.setPointSize(points);
    f.setBold(bold);
    l->setFont(f);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QString shown(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QKeySequence toggleKey()
{
    return QKeySequence(Qt::CTRL | Qt::Key_Z);
}

}  // namespace

TFmWprObec::TFmWprObec(terminal::TerminalSetup setup, QWidget* parent)
    : QDialog(parent), m_terminal(std::move(setup))
{
    setObjectName(QStringLiteral("TFmWprObec"));
    setWindowTitle(QStringLiteral("Obecności"));
    build();
    // The screen less a margin, so that the frame stays on it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(area.width() - 20, area.height() - 60);
        move(area.center() - rect().center());
    }
    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &TFmWprObec::tick);
    tick();  // the clock, the date and the mode before the window shows
    m_timer->start();
}

TFmWprObec::~TFmWprObec() = default;

void TFmWprObec::build()
{
    auto* outer = new QVBoxLayout(this);
    auto* panel = new QWidget(this);
    panel->setMaximumWidth(900);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(panel, 1);
    row->addStretch();
    outer->addStretch();
    outer->addLayout(row);
    outer->addStretch();

    auto* v = new QVBoxLayout(panel);
    m_clock = label(48, true, panel);
    m_date = label(20, false, panel);
    m_weekday = label(20, false, panel);
    m_mode = label(20, true, panel);
    m_code = new QLineEdit(panel);
    m_code->setObjectName(QStringLiteral("code"));
    QFont big = m_code->font();
    big.setPointSize(36);
    m_code->setFont(big);
    m_code->setAlignment(Qt::AlignCenter);
    m_code->setContextMenuPolicy(Qt::CustomContextMenu);
    m_code->installEventFilter(this);
    m_child = label(24, true, panel);
    m_group = label(18, false, panel);
    m_list = new QListWidget(panel);
    m_list->setMinimumHeight(160);
    m_result = label(28, true, panel);
    m_result->setWordWrap(true);
    m_result->setMinimumHeight(120);

    m_questionPanel = new QWidget(panel);
    auto* q = new QVBoxLayout(m_questionPanel);
    m_questionText = label(20, true, m_questionPanel);
    m_questionText->setWordWrap(true);
    m_password = new QLineEdit(m_questionPanel);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setAlignment(Qt::AlignCenter);
    m_password->setFont(big);
    m_password->installEventFilter(this);
    m_questionOk = new QPushButton(QStringLiteral("OK"), m_questionPanel);
    m_questionCancel = new QPushButton(QStringLiteral("Anuluj"), m_questionPanel);
    m_questionDelete = new QPushButton(QStringLiteral("Usuń"), m_questionPanel);
    auto* qButtons = new QHBoxLayout;
    qButtons->addStretch();
    for (QPushButton* b : {m_questionOk, m_questionCancel, m_questionDelete})
        qButtons->addWidget(b);
    qButtons->addStretch();
    q->addWidget(m_questionText);
    q->addWidget(m_password);
    q->addLayout(qButtons);

    m_ok = new QPushButton(QStringLiteral("OK"), panel);
    m_cancel = new QPushButton(QStringLiteral("Anuluj"), panel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch();

    for (QWidget* w : std::initializer_list<QWidget*>{m_clock, m_date, m_weekday, m_mode, m_code, m_child, m_group,
                                                      m_list, m_result, m_questionPanel})
        v->addWidget(w);
    v->addLayout(buttons);

    m_toggle = new QAction(this);
    m_toggle->setShortcut(toggleKey());
    // Ctrl+Z anywhere in the window but the code box, which takes it itself.
    m_toggle->setShortcutContext(Qt::WindowShortcut);
    addAction(m_toggle);
    connect(m_toggle, &QAction::triggered, this, [this] {
        m_terminal.toggleMode();
        refresh();
    });
    connect(m_code, &QWidget::customContextMenuRequested, this, &TFmWprObec::showCodeMenu);
    connect(m_code, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_terminal.setCode(text);
        refresh();
    });
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < m_listed.size()) {
            m_terminal.chooseChild(m_listed[row]);
            refresh();
        }
    });
    connect(m_ok, &QPushButton::clicked, this, [this] {
        m_terminal.pressOk();
        refresh();
    });
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_terminal.pressCancel();
        refresh();
    });
    connect(m_questionOk, &QPushButton::clicked, this, [this] { answer(terminal::Reply::Ok); });
    connect(m_questionCancel, &QPushButton::clicked, this, [this] { answer(terminal::Reply::Cancel); });
    connect(m_questionDelete, &QPushButton::clicked, this, [this] { answer(terminal::Reply::Delete); });
}

QPushButton* TFmWprObec::questionButton(terminal::Reply reply) const
{
    switch (reply) {
    case terminal::Reply::Ok:
        return m_questionOk;
    case terminal::Reply::Cancel:
        return m_questionCancel;
    case terminal::Reply::Delete:
        return m_questionDelete;
    }
    return nullptr;
}

void TFmWprObec::tick()
{
    m_terminal.tick();
    refresh();
}

void TFmWprObec::answer(terminal::Reply reply)
{
    const QString password = m_password->text();
    m_password->clear();
    m_terminal.answer(reply, password);
    refresh();
}

void TFmWprObec::showCodeMenu(const QPoint& at)
{
    QMenu menu(this);
    QAction* toggle = menu.addAction(terminal::toggleCaption(m_terminal.mode()));
    toggle->setShortcut(toggleKey());
    if (menu.exec(m_code->mapToGlobal(at)) == toggle) {
        m_terminal.toggleMode();
        refresh();
    }
}

bool TFmWprObec::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        m_terminal.noteActivity();
        // The code box would take Ctrl+Z as its undo.
        if (watched == m_code && key->keyCombination() == toggleKey()[0]) {
            m_terminal.toggleMode();
            refresh();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFmWprObec::keyPressEvent(QKeyEvent* event)
{
    // Escape is "Anuluj" here; the window closes by its frame.
    if (event->key() == Qt::Key_Escape) {
        if (m_terminal.question().isOpen())
            answer(terminal::Reply::Cancel);
        else {
            m_terminal.pressCancel();
            refresh();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFmWprObec::refreshList()
{
    QList<int> kods;
    for (const terminal::ChildInfo& c : m_terminal.matches())
        kods << c.kod;
    if (kods != m_listed) {
        const QSignalBlocker block(m_list);
        m_list->clear();
        for (const terminal::ChildInfo& c : m_terminal.matches())
            m_list->addItem(c.name + QStringLiteral("  (") + c.group + QLatin1Char(')'));
        m_listed = kods;
        m_list->setCurrentRow(kods.isEmpty() ? -1 : 0);
    }
    m_list->setVisible(m_terminal.listShown());
}

void TFmWprObec::refresh()
{
    const terminal::AttendanceTerminal& t = m_terminal;
    m_clock->setText(t.now().time().toString(QStringLiteral("HH:mm:ss")));
    m_date->setText(polish::shortDate(t.today()));
    m_weekday->setText(terminal::weekdayText(t.today(), t.freeDay()));
    m_mode->setText(terminal::modeCaption(t.mode()));
    m_toggle->setText(terminal::toggleCaption(t.mode()));
    if (m_code->text() != t.code())
        m_code->setText(t.code());
    const bool childShown = t.child().has_value();
    m_child->setText(childShown ? t.child()->name : QString());
    m_group->setText(childShown ? t.child()->groupText() : QString());
    m_child->setVisible(childShown);
    m_group->setVisible(childShown);
    refreshList();
    m_result->setText(shown(t.result()));

    const terminal::Question& q = t.question();
    const bool asking = q.isOpen();
    for (QWidget* w : std::initializer_list<QWidget*>{m_code, m_list, m_ok, m_cancel})
        w->setEnabled(!asking);
    m_questionPanel->setVisible(asking);
    m_questionText->setText(shown(q.text));
    m_password->setVisible(asking && q.password);
    m_questionCancel->setVisible(q.cancel);
    m_questionDelete->setVisible(q.remove);
    // Enter answers the question while one is open, and is "OK" otherwise.
    m_ok->setDefault(!asking);
    m_questionOk->setDefault(asking);
    if (asking) {
        if (q.password)
            m_password->setFocus();
        else
            m_questionOk->setFocus();
    } else if (!m_list->hasFocus()) {
        m_code->setFocus();
    }
}

void openTerminalWindow(RunContext& context)
{
    Database& db = context.db();
    const int userCode = context.login.userCode;
    terminal::TerminalSetup setup;
    setup.db = &db;
    setup.clientNumber = context.institution.clientNumber;
    setup.minuteStep = context.params.wprowadzanieMinut;
    setup.passwordMatches = [&db, userCode](const QString& p) { return terminal::userPasswordMatches(db, userCode, p); };
    setup.logFolder = terminal::defaultLogFolder();
    TFmWprObec window(setup, QApplication::activeWindow());
    window.exec();
}
