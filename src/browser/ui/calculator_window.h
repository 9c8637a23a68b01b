#pragma once
// The calculator: one window for the whole run, on top of the others and
// not modal. Browsers feed their values into it; "Wstaw" writes its result
// into the focused field of the browser that was active last.

#include "browser/calculator.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QPushButton;
class TFmKartot;

class CalculatorWindow : public QWidget {
    Q_OBJECT
public:
    // Made hidden on first use and kept until the program ends.
    static CalculatorWindow& shared();
    // Lets every record browser open the calculator with Ctrl+K.
    static void install();

    // Shows the calculator, with `value` inserted at the caret when it is a number.
    void open(const QString& value = QString());
    // Inserts a browser's value when it is a number (a double-click while
    // shown), as a term added to a number before the caret.
    void feed(const QString& value);
    // "Wstaw".
    void insertIntoBrowser();

    const calc::Calculator& logic() const { return m_logic; }
    QLineEdit* expressionBox() const { return m_expression; }
    QLineEdit* resultBox() const { return m_result; }
    QPushButton* button(const QString& caption) const;
    // The browser "Wstaw" writes into: the window active before the
    // calculator, when it is a record browser.
    TFmKartot* target() const;
    void setTarget(TFmKartot* browser);

    explicit CalculatorWindow(QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void takeBox();   // the box as typed, and its caret and selection
    void showLogic(); // the logic's expression and caret back in the box
    void press(const QString& caption);

    calc::Calculator m_logic;
    QLineEdit* m_expression = nullptr;
    QLineEdit* m_result = nullptr;
    QList<QPushButton*> m_buttons;
    QPointer<TFmKartot> m_target;
};
