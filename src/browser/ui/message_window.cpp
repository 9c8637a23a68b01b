#include "message_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

QGroupBox* listBox(const QString& caption, QListWidget** list, QWidget* parent)
{
    auto* box = new QGroupBox(caption, parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    *list = new QListWidget(box);
    (*list)->setObjectName(caption);
    // Small enough for the splitter to give the remarks their two thirds.
    (*list)->setMinimumHeight(2 * (*list)->fontMetrics().height());
    layout->addWidget(*list);
    return box;
}

// Lists only grow between clearings: append what is new, refill otherwise.
void follow(QListWidget* list, const QStringList& texts)
{
    if (list->count() > texts.size())
        list->clear();
    for (int i = list->count(); i < texts.size(); ++i)
        list->addItem(texts.at(i));
}

QString previewHtml(const QList<MessageLogLine>& lines)
{
    QString html = QStringLiteral("<table cellspacing=0 cellpadding=3>");
    for (const MessageLogLine& line : lines) {
        html += QStringLiteral("<tr><td width=80><b>%1</b></td><td>%2</td></tr>")
                    .arg(line.label.toHtmlEscaped(), line.text.toHtmlEscaped());
    }
    return html + QStringLiteral("</table>");
}

}  // namespace

TFmKomunikaty::TFmKomunikaty(MessageLog& log, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_log(log)
{
    setObjectName(QStringLiteral("Komunikaty"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    m_lists = new QSplitter(Qt::Vertical, this);
    m_errorsBox = listBox(QStringLiteral("Błędy"), &m_errors, m_lists);
    m_remarksBox = listBox(QStringLiteral("Uwagi"), &m_remarks, m_lists);
    m_lists->addWidget(m_errorsBox);
    m_lists->addWidget(m_remarksBox);
    layout->addWidget(m_lists, 1);

    m_panel = new QWidget(this);
    auto* panel = new QVBoxLayout(m_panel);
    panel->setContentsMargins(0, 0, 0, 0);
    auto* texts = new QHBoxLayout;
    m_description = new QLabel(m_panel);
    m_description->setObjectName(QStringLiteral("Opis"));
    m_counter = new QLabel(m_panel);
    m_counter->setObjectName(QStringLiteral("Licznik"));
    texts->addWidget(m_description, 1);
    texts->addWidget(m_counter);
    panel->addLayout(texts);
    m_bar = new QProgressBar(m_panel);
    m_bar->setRange(0, 100);
    panel->addWidget(m_bar);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(QStringLiteral("OK"), m_panel);
    m_previewButton = new QPushButton(QStringLiteral("Podgląd list"), m_panel);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_previewButton);
    panel->addLayout(buttons);
    layout->addWidget(m_panel);

    connect(m_ok, &QPushButton::clicked, this, [this] { m_log.hide(); });
    connect(m_previewButton, &QPushButton::clicked, this, &TFmKomunikaty::preview);
    resize(560, m_panel->sizeHint().height() + 8);
    m_log.attach(this);
}

TFmKomunikaty::~TFmKomunikaty()
{
    m_log.attach(nullptr);
    delete m_preview;
}

void TFmKomunikaty::messageLogChanged(const MessageLog& log)
{
    setWindowTitle(log.title().isEmpty() ? QStringLiteral("Komunikaty") : log.title());
    m_description->setText(log.description());
    m_counter->setText(log.counter());
    m_bar->setValue(log.bar());
    follow(m_errors, log.errors());
    follow(m_remarks, log.remarks());
}

void TFmKomunikaty::applyLayout(const MessageLog& log)
{
    const int panelHeight = m_panel->sizeHint().height() + 8;
    const MessageLogLayout l = log.layout(panelHeight);
    m_lists->setVisible(l.errorsHeight + l.remarksHeight > 0);
    m_errorsBox->setVisible(l.errorsHeight > 0);
    m_remarksBox->setVisible(l.remarksHeight > 0);
    // The minimum height must follow the parts shown before the resize, and
    // the splitter shares out its final height only once the layout has run.
    layout()->activate();
    resize(width(), l.windowHeight);
    layout()->activate();
    m_lists->setSizes({l.errorsHeight, l.remarksHeight});
}

void TFmKomunikaty::showMessageLog(const MessageLog& log)
{
    if (isMinimized())
        showNormal();
    else
        show();
    applyLayout(log);
    raise();
}

void TFmKomunikaty::hideMessageLog()
{
    hide();
}

void TFmKomunikaty::processPendingEvents()
{
    QCoreApplication::processEvents();
}

void TFmKomunikaty::closeEvent(QCloseEvent* event)
{
    m_log.hide();
    event->accept();
}

void TFmKomunikaty::preview()
{
    showMinimized();
    const QList<MessageLogLine> lines = m_log.printLines();
    if (m_previewHandler) {
        m_previewHandler(lines);
        return;
    }
    if (!m_preview) {
        // Not a child: it must stay up while this window is minimised.
        m_preview = new QDialog;
        m_preview->setWindowTitle(QStringLiteral("Podgląd list"));
        auto* layout = new QVBoxLayout(m_preview);
        auto* text = new QTextBrowser(m_preview);
        text->setObjectName(QStringLiteral("Listy"));
        layout->addWidget(text);
        m_preview->resize(640, 480);
    }
    m_preview->findChild<QTextBrowser*>()->setHtml(previewHtml(lines));
    m_preview->show();
    m_preview->raise();
}
