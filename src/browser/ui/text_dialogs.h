#pragma once
// Text questions: the one-line prompt (with an optional check box), the
// memo prompt (with an optional line above it) and the memo editor of a
// field.

#include <QDialog>

#include <functional>

class QCheckBox;
class QHBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

class TDlTekst : public QDialog {
    Q_OBJECT
public:
    TDlTekst(const QString& title, const QString& label, const QString& text, QWidget* parent = nullptr);
    void setPassword(bool password);
    void addOption(const QString& caption, bool checked);

    QString text() const;
    bool option() const;
    QLineEdit* edit() const { return m_edit; }
    QCheckBox* optionBox() const { return m_option; }

private:
    QLineEdit* m_edit;
    QCheckBox* m_option = nullptr;
};

class TDlMemo : public QDialog {
    Q_OBJECT
public:
    // With `withLine` a one-line box above the memo takes `line` and the focus.
    TDlMemo(const QString& title, const QString& prompt, bool withLine, const QString& line, const QString& memo,
            QWidget* parent = nullptr);

    QString line() const;
    QString memo() const;
    QLineEdit* lineEdit() const { return m_line; }
    QPlainTextEdit* memoEdit() const { return m_memo; }

private:
    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_memo;
};

// The memo editor: the field's text with a navigator: save (and close) or
// cancel the edit. Closing it with unsaved changes asks whether to save
// them. Its size and place are kept per caption.
class TFmMemo : public QDialog {
    Q_OBJECT
public:
    TFmMemo(const QString& caption, const QString& text, QWidget* parent = nullptr);
    ~TFmMemo() override;

    QString text() const;
    bool saved() const { return m_saved; }
    QPlainTextEdit* editor() const { return m_editor; }
    QToolButton* saveButton() const { return m_save; }
    QToolButton* cancelButton() const { return m_cancel; }

    // The question asked when closing with changes; replaced in tests.
    std::function<bool(const QString&)> askSave;

    // Closing, Escape included: asks first when the text was changed.
    void reject() override;

private:
    void save();
    void revert();
    void updateButtons();
    QString settingsGroup() const;

    QString m_original;
    QPlainTextEdit* m_editor;
    QToolButton* m_save;
    QToolButton* m_cancel;
    bool m_saved = false;
};

// Tab stops of the memo boxes: every 70 dialog units of the box's font.
void setMemoTabStops(QPlainTextEdit* edit);

// The "Zapisz" / "Anuluj" row above a memo editor.
struct MemoButtons {
    QHBoxLayout* row;
    QToolButton* save;
    QToolButton* cancel;
};
MemoButtons makeMemoButtons(QWidget* parent);
