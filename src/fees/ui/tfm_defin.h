#pragma once
// The definition editor: the definition as a strip of token boxes, the
// button panel that inserts tokens before the current one, OK and cancel.

#include "fees/definition_tokens.h"

#include <QDialog>
#include <QList>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;
class QWidget;
struct RunContext;

class TFmDefin : public QDialog {
    Q_OBJECT
public:
    explicit TFmDefin(QList<fees::ExtraClass> classes, QWidget* parent = nullptr);

    // Shows the editor modally on `definition`; true on OK with the new text.
    bool run(const QString& title, QString& definition);

    // Loads a definition without showing the window (run() does it too).
    void load(const QString& definition);
    fees::DefinitionTokens& tokens() { return m_tokens; }
    // The token boxes left to right, then the end marker.
    QList<QWidget*> stripElements() const;
    QComboBox* quantityList() const { return m_quantities; }
    QComboBox* classList() const { return m_classes; }
    QComboBox* markList() const { return m_marks; }
    QToolButton* insertButton() const { return m_insert; }
    // The panel button with this caption ("+", "7", "Usuń pozycje", …).
    QPushButton* button(const QString& caption) const;
    QPushButton* okButton() const { return m_ok; }

    // Where refusals go; a message box unless replaced (tests do).
    std::function<void(const QString&)> showMessage;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildPanel(QWidget* panel);
    void rebuildStrip();
    void highlightCurrent();
    void showChoices();
    void insertChar(QChar c);
    void insertChosen();
    void removeCurrent();
    void accept() override;

    fees::DefinitionTokens m_tokens;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_strip = nullptr;
    QList<QWidget*> m_elements;
    QComboBox* m_quantities = nullptr;
    QComboBox* m_classes = nullptr;
    QComboBox* m_marks = nullptr;
    QToolButton* m_insert = nullptr;
    QList<QPushButton*> m_buttons;
    QPushButton* m_ok = nullptr;
    bool m_rebuilding = false;
};

// The desktop's definition editor for the methods register: lists the
// store's extra classes and opens TFmDefin over the active window.
bool editDefinitionInWindow(RunContext& context, const QString& title, QString& definition);
