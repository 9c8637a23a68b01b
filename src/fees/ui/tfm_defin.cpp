#include "tfm_defin.h"

#include "fees/tdm_sposoby.h"

#include "browser/run_context.h"
#include "store/tdm_baza.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Keeps a panel in the middle of its row however wide the window grows.
QHBoxLayout* centred(QWidget* widget)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(widget);
    row->addStretch();
    return row;
}

}  // namespace

TFmDefin::TFmDefin(QList<fees::ExtraClass> classes, QWidget* parent)
    : QDialog(parent), m_tokens(std::move(classes))
{
    setWindowTitle(QStringLiteral("Definicja liczenia"));
    showMessage = [this](const QString& text) { QMessageBox::warning(this, windowTitle(), text); };

    auto* layout = new QVBoxLayout(this);
    m_scroll = new QScrollArea(this);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->setWidgetResizable(true);
    m_strip = new QWidget;
    auto* stripRow = new QHBoxLayout(m_strip);
    stripRow->setContentsMargins(2, 2, 2, 2);
    stripRow->setSpacing(2);
    stripRow->addStretch();
    m_scroll->setWidget(m_strip);
    m_scroll->setMinimumHeight(m_strip->sizeHint().height() + m_scroll->horizontalScrollBar()->sizeHint().height() + 30);
    layout->addWidget(m_scroll);

    auto* panel = new QWidget(this);
    buildPanel(panel);
    layout->addLayout(centred(panel));

    auto* buttons = new QWidget(this);
    auto* buttonRow = new QHBoxLayout(buttons);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    m_ok = new QPushButton(QStringLiteral("&OK"), buttons);
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), buttons);
    buttonRow->addWidget(m_ok);
    buttonRow->addWidget(cancel);
    connect(m_ok, &QPushButton::clicked, this, &TFmDefin::accept);
    connect(cancel, &QPushButton::clicked, this, &TFmDefin::reject);
    layout->addLayout(centred(buttons));

    resize(640, sizeHint().height());
    rebuildStrip();
}

void TFmDefin::buildPanel(QWidget* panel)
{
    auto* grid = new QGridLayout(panel);
    const char* const rows[4][5] = {{"7", "8", "9", "/", "("},
                                    {"4", "5", "6", "*", ")"},
                                    {"1", "2", "3", "-", nullptr},
                                    {"0", ",", nullptr, "+", nullptr}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c) {
            if (!rows[r][c])
                continue;
            const QString caption = QString::fromLatin1(rows[r][c]);
            auto* b = new QPushButton(caption, panel);
            b->setFocusPolicy(Qt::NoFocus);  // typing goes on in the strip
            b->setFixedWidth(32);
            connect(b, &QPushButton::clicked, this, [this, caption] { insertChar(caption[0]); });
            grid->addWidget(b, r, c);
            m_buttons << b;
        }
    auto* remove = new QPushButton(QStringLiteral("Usuń pozycje"), panel);
    remove->setFocusPolicy(Qt::NoFocus);
    connect(remove, &QPushButton::clicked, this, &TFmDefin::removeCurrent);
    grid->addWidget(remove, 3, 4, 1, 1);
    m_buttons << remove;

    m_quantities = new QComboBox(panel);
    m_quantities->addItems(fees::quantityCaptions());
    m_classes = new QComboBox(panel);
    for (const fees::ExtraClass& c : m_tokens.classes())
        m_classes->addItem(c.name, c.code);
    m_classes->setCurrentIndex(-1);
    m_marks = new QComboBox(panel);
    m_marks->addItems(fees::presenceMarkNames());
    m_insert = new QToolButton(panel);
    m_insert->setArrowType(Qt::UpArrow);
    m_insert->setToolTip(QStringLiteral("Przenosi wartość"));

    auto* choices = new QGridLayout;
    choices->addWidget(m_quantities, 0, 0, 1, 2);
    choices->addWidget(m_insert, 0, 2);
    choices->addWidget(m_classes, 1, 0);
    choices->addWidget(m_marks, 1, 1);
    grid->addLayout(choices, 0, 6, 4, 1, Qt::AlignTop);
    grid->setColumnMinimumWidth(5, 12);

    connect(m_quantities, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_tokens.chooseQuantity(index);
        showChoices();
    });
    connect(m_classes, &QComboBox::currentIndexChanged, this, [this](int index) { m_tokens.chooseClass(index); });
    connect(m_marks, &QComboBox::currentIndexChanged, this, [this](int index) { m_tokens.chooseMark(index); });
    connect(m_insert, &QToolButton::clicked, this, &TFmDefin::insertChosen);
    showChoices();
}

QPushButton* TFmDefin::button(const QString& caption) const
{
    for (QPushButton* b : m_buttons)
        if (b->text() == caption)
            return b;
    return nullptr;
}

void TFmDefin::showChoices()
{
    m_classes->setVisible(m_tokens.classListShown());
    m_marks->setVisible(m_tokens.markListShown());
    const QSignalBlocker block(m_marks);
    m_marks->setCurrentIndex(m_tokens.chosenMark());
}

QList<QWidget*> TFmDefin::stripElements() const
{
    return m_elements;
}

void TFmDefin::load(const QString& definition)
{
    m_tokens.load(definition);
    rebuildStrip();
}

void TFmDefin::rebuildStrip()
{
    // The boxes are reused and only their texts change, so that a long
    // definition stays quick to type into.
    m_rebuilding = true;
    auto* row = static_cast<QHBoxLayout*>(m_strip->layout());
    if (m_elements.isEmpty()) {
        auto* end = new QLineEdit(m_strip);
        end->setReadOnly(true);
        end->setFixedWidth(8);
        end->setAccessibleName(QStringLiteral("koniec"));
        end->installEventFilter(this);
        row->insertWidget(0, end);
        m_elements << end;
    }
    const QList<fees::DefinitionToken>& tokens = m_tokens.tokens();
    while (m_elements.size() - 1 > tokens.size()) {
        QWidget* w = m_elements.takeAt(m_elements.size() - 2);
        w->removeEventFilter(this);
        row->removeWidget(w);
        w->hide();
        w->deleteLater();  // may be the box whose key started this
    }
    while (m_elements.size() - 1 < tokens.size()) {
        auto* box = new QLineEdit(m_strip);
        box->setReadOnly(true);
        box->installEventFilter(this);
        const int at = int(m_elements.size()) - 1;
        row->insertWidget(at, box);
        m_elements.insert(at, box);
        box->show();
    }
    const QFontMetrics metrics(font());
    const int extra = metrics.horizontalAdvance(QStringLiteral(" W"));
    for (int i = 0; i < tokens.size(); ++i) {
        auto* box = static_cast<QLineEdit*>(m_elements[i]);
        if (box->property("code").toString() == tokens[i].code && box->text() == tokens[i].description)
            continue;
        box->setProperty("code", tokens[i].code);
        box->setText(tokens[i].description);
        box->setFixedWidth(metrics.horizontalAdvance(tokens[i].description) + extra + 8);
        box->setCursorPosition(0);
    }
    m_rebuilding = false;
    highlightCurrent();
    QWidget* current = m_elements[m_tokens.current()];
    if (isVisible()) {
        m_rebuilding = true;  // the focus follows the model, not the other way round
        current->setFocus();
        m_rebuilding = false;
    }
    m_scroll->ensureWidgetVisible(current);
}

void TFmDefin::highlightCurrent()
{
    const QPalette normal = QApplication::palette(m_strip);
    for (int i = 0; i < m_elements.size(); ++i) {
        QPalette p = normal;
        if (i == m_tokens.current()) {
            p.setColor(QPalette::Base, normal.color(QPalette::Highlight));
            p.setColor(QPalette::Text, normal.color(QPalette::HighlightedText));
        }
        m_elements[i]->setPalette(p);
    }
}

bool TFmDefin::eventFilter(QObject* watched, QEvent* event)
{
    const int index = int(m_elements.indexOf(static_cast<QWidget*>(watched)));
    if (index < 0 || m_rebuilding)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        m_tokens.setCurrent(index);
        highlightCurrent();
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        QChar c;
        if (key->key() == Qt::Key_Backspace)
            c = QLatin1Char('\b');
        else if (!key->text().isEmpty() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            c = key->text()[0];
        if (!c.isNull()) {
            bool handled = false;
            const int before = m_tokens.chosenQuantity();
            const QString message = m_tokens.typedKey(c, &handled);
            if (handled) {
                if (m_tokens.chosenQuantity() != before) {
                    const QSignalBlocker block(m_quantities);
                    m_quantities->setCurrentIndex(m_tokens.chosenQuantity());
                    showChoices();
                }
                if (!message.isEmpty())
                    showMessage(message);
                rebuildStrip();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFmDefin::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The dialog would focus the first box and so make it current; the
    // editor opens with the end marker current.
    m_elements[m_tokens.current()]->setFocus();
}

void TFmDefin::insertChar(QChar c)
{
    m_tokens.insertChar(c);
    rebuildStrip();
}

void TFmDefin::insertChosen()
{
    const QString message = m_tokens.insertChosen();
    if (!message.isEmpty()) {
        showMessage(message);
        return;
    }
    rebuildStrip();
}

void TFmDefin::removeCurrent()
{
    if (m_tokens.removeCurrent())
        rebuildStrip();
}

void TFmDefin::accept()
{
    // Cutting the text would store a different method than the one shown.
    const QString refusal = m_tokens.refusal();
    if (!refusal.isEmpty()) {
        showMessage(refusal);
        return;
    }
    QDialog::accept();
}

bool TFmDefin::run(const QString& title, QString& definition)
{
    if (!title.isEmpty())
        setWindowTitle(title);
    load(definition);
    if (exec() != QDialog::Accepted)
        return false;
    definition = m_tokens.definition();
    return true;
}

bool editDefinitionInWindow(RunContext& context, const QString& title, QString& definition)
{
    TFmDefin editor(TDMSposoby::extraClasses(context.db()), QApplication::activeWindow());
    return editor.run(title, definition);
}
