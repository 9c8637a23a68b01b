#include "calculator_window.h"

#include "browser/module.h"
#include "browser/ui/tfm_kartot.h"
#include "store/error.h"
#include "store/table.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

CalculatorWindow& CalculatorWindow::shared()
{
    // Deliberately never destroyed before the application: it outlives
    // every browser that feeds it.
    static QPointer<CalculatorWindow> window;
    if (!window)
        window = new CalculatorWindow;
    return *window;
}

void CalculatorWindow::install()
{
    TFmKartot::hooks().calculator = [](TFmKartot& browser, const QString& value) {
        CalculatorWindow& w = shared();
        w.setTarget(&browser);
        w.open(value);
    };
    TFmKartot::hooks().calculatorShown = [] { return shared().isVisible(); };
    TFmKartot::hooks().feedCalculator = [](const QString& value) {
        shared().feed(value);
        shared().raise();
    };
    // Pressing "Wstaw" makes the calculator the active window, so the
    // window active before it is remembered: a browser, or none.
    QObject::connect(qApp, &QApplication::focusChanged, &shared(), [](QWidget*, QWidget* now) {
        if (!now || now->window() == &shared())
            return;
        shared().setTarget(qobject_cast<TFmKartot*>(now->window()));
    });
}

CalculatorWindow::CalculatorWindow(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("Kalkulator"));
    // Esc puts the calculator away, as it does any dialog.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    escape->setContext(Qt::WindowShortcut);
    auto* layout = new QVBoxLayout(this);
    auto* line = new QHBoxLayout;
    m_expression = new QLineEdit(this);
    m_result = new QLineEdit(this);
    m_result->setReadOnly(true);
    line->addWidget(m_expression, 2);
    line->addWidget(new QLabel(QStringLiteral(" = "), this));
    line->addWidget(m_result, 1);
    layout->addLayout(line);

    auto* grid = new QGridLayout;
    const char* const rows[4][5] = {{"7", "8", "9", "/", "("},
                                    {"4", "5", "6", "*", ")"},
                                    {"1", "2", "3", "-", "Usuń z."},
                                    {"0", ",", "Wstaw", "+", "Usuń w"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c) {
            const QString caption = QString::fromUtf8(rows[r][c]);
            auto* b = new QPushButton(caption, this);
            b->setFocusPolicy(Qt::NoFocus);  // the caret stays where it was
            connect(b, &QPushButton::clicked, this, [this, caption] { press(caption); });
            grid->addWidget(b, r, c);
            m_buttons << b;
        }
    layout->addLayout(grid);
    connect(m_expression, &QLineEdit::textEdited, this, [this] { takeBox(); });
}

TFmKartot* CalculatorWindow::target() const
{
    return m_target;
}

void CalculatorWindow::setTarget(TFmKartot* browser)
{
    m_target = browser;
}

QPushButton* CalculatorWindow::button(const QString& caption) const
{
    for (QPushButton* b : m_buttons)
        if (b->text() == caption)
            return b;
    return nullptr;
}

void CalculatorWindow::takeBox()
{
    m_logic.setExpression(m_expression->text(), m_expression->cursorPosition());
    if (m_expression->hasSelectedText())
        m_logic.setSelection(m_expression->selectionStart(), int(m_expression->selectedText().size()));
    m_result->setText(m_logic.result());
}

void CalculatorWindow::showLogic()
{
    m_expression->setText(m_logic.expression());
    m_expression->setCursorPosition(m_logic.caret());
    m_result->setText(m_logic.result());
}

void CalculatorWindow::press(const QString& caption)
{
    takeBox();
    if (caption == QStringLiteral("Usuń z."))
        m_logic.deleteBack();
    else if (caption == QStringLiteral("Usuń w"))
        m_logic.clear();
    else if (caption == QLatin1String("Wstaw")) {
        insertIntoBrowser();
        return;
    } else
        m_logic.insert(caption);
    showLogic();
}

void CalculatorWindow::open(const QString& value)
{
    takeBox();
    m_logic.feed(value);
    showLogic();
    show();
    raise();
    activateWindow();
}

void CalculatorWindow::feed(const QString& value)
{
    if (!isVisible())
        return;
    takeBox();
    if (m_logic.feedTerm(value))
        showLogic();
}

void CalculatorWindow::insertIntoBrowser()
{
    takeBox();
    const QString result = m_logic.result();
    TFmKartot* browser = m_target;
    close();
    if (!browser || result.isEmpty())
        return;
    const QString field = browser->currentField();
    const FieldView* view = browser->dataSet().field(field);
    if (field.isEmpty() || (view && view->readOnly))
        return;
    // A row the user may not change refuses the edit; that is said, not thrown
    // out of the button's click.
    QString message;
    try {
        message = calc::writeResult(browser->table(), field, result);
    } catch (const Error& e) {
        message = e.message();
    }
    if (!message.isEmpty())
        QMessageBox::warning(browser, windowTitle(), message);
}

void CalculatorWindow::closeEvent(QCloseEvent* event)
{
    // Closing only hides the window; the next opening starts afresh.
    m_logic.clear();
    showLogic();
    event->accept();
    hide();
}
