#include "memo_field_window.h"

#include "browser/refusal.h"
#include "browser/ui/text_dialogs.h"
#include "browser/window_title.h"
#include "store/database.h"
#include "store/error.h"
#include "store/rights.h"
#include "store/table.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

MemoFieldWindow::MemoFieldWindow(Table& table, const QString& field, const QString& caption,
                                 KeyValueSettings& settings, Prompts& prompts, QWidget* openedFrom)
    : m_table(&table), m_field(field), m_settings(settings), m_prompts(prompts)
{
    setObjectName(QStringLiteral("MemoFieldWindow"));
    setOpenedFrom(openedFrom);
    const QString title = browser::baseTitle(browser::OpenedFrom::MenuCommand, caption, QString());
    setWindowTitle(title);
    m_key = browser::settingsKey(title);

    const MemoButtons buttons = makeMemoButtons(this);
    m_save = buttons.save;
    m_cancel = buttons.cancel;
    containerLayout()->addLayout(buttons.row);
    m_editor = new QPlainTextEdit(this);
    m_editor->setObjectName(QStringLiteral("Memo"));
    setMemoTabStops(m_editor);
    containerLayout()->addWidget(m_editor, 1);

    connect(m_save, &QToolButton::clicked, this, &MemoFieldWindow::save);
    connect(m_cancel, &QToolButton::clicked, this, &MemoFieldWindow::cancel);
    connect(m_editor, &QPlainTextEdit::textChanged, this, &MemoFieldWindow::typed);
    // Another row, another save or a change made elsewhere: the field's text again.
    connect(&table, &Table::scrolled, this, &MemoFieldWindow::showRow);
    connect(&table, &Table::dataChanged, this, &MemoFieldWindow::showRow);
    connect(&table, &Table::stateChanged, this, &MemoFieldWindow::showRow);
    // Its table goes with the window or module it belongs to; so does this one.
    connect(&table, &QObject::destroyed, this, &QWidget::close);

    resize(520, 380);
    place(settings, m_key, false, false);
    showRow();
    m_editor->setFocus();
}

void MemoFieldWindow::showRow()
{
    if (m_writing)
        return;
    const bool open = m_table && m_table->isOpen();
    const bool hasRow = open && (!m_table->isEmpty() || m_table->isEditing());
    const QString text = hasRow ? m_table->text(m_field) : QString();
    // The text typed comes back through the field; leave the caret alone then.
    if (m_editor->toPlainText() != text) {
        m_showing = true;
        m_editor->setPlainText(text);
        m_showing = false;
    }
    const bool writable = hasRow && !m_table->database().isReadOnly()
        && m_table->database().tableRights(m_table->tableName()).canWrite(m_field);
    m_editor->setReadOnly(!writable);
    updateButtons();
}

void MemoFieldWindow::typed()
{
    if (m_showing || !m_table || m_editor->isReadOnly())
        return;
    const QString text = m_editor->toPlainText();
    m_writing = true;
    refused([&] {
        if (!m_table->isEditing())
            m_table->edit();
        m_table->setValue(m_field, text);
    });
    m_writing = false;
    updateButtons();
}

void MemoFieldWindow::save()
{
    if (m_table && m_table->isEditing())
        refused([&] { m_table->post(); });
}

void MemoFieldWindow::cancel()
{
    if (m_table && m_table->isEditing())
        m_table->cancel();
    showRow();
}

void MemoFieldWindow::updateButtons()
{
    const bool editing = m_table && m_table->isEditing();
    m_save->setEnabled(editing);
    m_cancel->setEnabled(editing);
}

// A refused edit or save is told, and the editor shows the row as it is.
void MemoFieldWindow::refused(const std::function<void()>& step)
{
    try {
        step();
    } catch (const Error& e) {
        m_writing = false;
        refusal::show(m_prompts, e);
        showRow();
    }
}

void MemoFieldWindow::closeEvent(QCloseEvent* event)
{
    savePlace(m_settings, m_key);
    TFmPodstawa::closeEvent(event);
}
