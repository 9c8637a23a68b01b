#pragma once
// The memo editor a command opens: a base window holding one memo field of
// a data set's current row. Typing edits the row, "Zapisz" saves it and
// "Anuluj" drops its changes; when the current row changes the editor shows
// the new row's text. The window goes when its table does.

#include "browser/ui/tfm_podstawa.h"

#include <QPointer>

#include <functional>

class KeyValueSettings;
class Prompts;
class QPlainTextEdit;
class QToolButton;
class Table;

class MemoFieldWindow : public TFmPodstawa {
    Q_OBJECT
public:
    MemoFieldWindow(Table& table, const QString& field, const QString& caption, KeyValueSettings& settings,
                    Prompts& prompts, QWidget* openedFrom = nullptr);

    QPlainTextEdit* editor() const { return m_editor; }
    QToolButton* saveButton() const { return m_save; }
    QToolButton* cancelButton() const { return m_cancel; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showRow();
    void typed();
    void save();
    void cancel();
    void updateButtons();
    void refused(const std::function<void()>& step);

    QPointer<Table> m_table;
    QString m_field;
    KeyValueSettings& m_settings;
    Prompts& m_prompts;
    QString m_key;
    QPlainTextEdit* m_editor;
    QToolButton* m_save;
    QToolButton* m_cancel;
    bool m_showing = false;  // the editor is being filled from the row, not typed into
    bool m_writing = false;  // the typed text is going into the row
};
