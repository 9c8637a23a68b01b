#pragma once
// Messages and questions: information and error messages, yes/no questions
// in their three forms, and the choice dialog with buttons of its own.

#include "browser/prompts.h"

#include <QDialog>
#include <QMessageBox>

class QPushButton;

// Information ("Informacja") or error ("Błąd") with an "OK" button.
class TDlKomunikat : public QMessageBox {
    Q_OBJECT
public:
    TDlKomunikat(bool error, const QString& text, QWidget* parent = nullptr);
};

// A question with "&Tak", "&Nie" and, when asked for, "&Anuluj".
class TDlPytanie : public QMessageBox {
    Q_OBJECT
public:
    enum class Form {
        YesNo,          // closing answers No
        YesNoClosable,  // closing (or Escape) answers Cancel
        YesNoCancel,
    };
    TDlPytanie(Form form, const QString& text, QWidget* parent = nullptr);
    Answer ask();

    QPushButton* yesButton() const { return m_yes; }
    QPushButton* noButton() const { return m_no; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Form m_form;
    QPushButton* m_yes;
    QPushButton* m_no;
    QPushButton* m_cancel = nullptr;
    bool m_closed = false;
};

// Half as wide as the screen (wider when the buttons need it), centred on
// it, the icon at the top left, the message to its right and one button per
// caption in a centred row. exec() gives -1 for the first button, -2 for the
// second …, 0 when closed without a button.
class TDlWybor : public QDialog {
    Q_OBJECT
public:
    TDlWybor(const QString& title, const QString& message, const QStringList& buttons, ChoiceIcon icon,
             QWidget* parent = nullptr);

    const QList<QPushButton*>& buttons() const { return m_buttons; }

private:
    QList<QPushButton*> m_buttons;
};
