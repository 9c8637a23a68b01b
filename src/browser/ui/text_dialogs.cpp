#include "text_dialogs.h"

#include "choice_dialog.h"
#include "dialog_parts.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QLabel* promptLabel(QDialog* dialog, const QString& text)
{
    auto* label = new QLabel(text, dialog);
    label->setObjectName(QStringLiteral("Opis"));
    label->setWordWrap(true);
    label->setVisible(!text.isEmpty());
    return label;
}

}  // namespace

void setMemoTabStops(QPlainTextEdit* edit)
{
    // A horizontal dialog unit is a quarter of the average character width.
    edit->setTabStopDistance(70.0 * edit->fontMetrics().averageCharWidth() / 4.0);
}

MemoButtons makeMemoButtons(QWidget* parent)
{
    MemoButtons b{new QHBoxLayout, new QToolButton(parent), new QToolButton(parent)};
    b.save->setObjectName(QStringLiteral("Zapisz"));
    b.save->setText(QStringLiteral("Zapisz"));
    b.save->setToolTip(QStringLiteral("Zapisz"));
    b.cancel->setObjectName(QStringLiteral("Anuluj"));
    b.cancel->setText(QStringLiteral("Anuluj"));
    b.cancel->setToolTip(QStringLiteral("Anuluj zmiany"));
    b.row->addWidget(b.save);
    b.row->addWidget(b.cancel);
    b.row->addStretch(1);
    return b;
}

// --- text prompt ---------------------------------------------------------

TDlTekst::TDlTekst(const QString& title, const QString& label, const QString& text, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    QLabel* caption = promptLabel(this, label);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Tekst"));
    m_edit->setMaxLength(255);
    m_edit->setText(text);
    m_edit->selectAll();
    caption->setBuddy(m_edit);
    layout->addWidget(caption);
    layout->addWidget(m_edit);
    layout->addLayout(dialog_parts::okCancelRow(this));
    setMinimumWidth(340);
    m_edit->setFocus();
}

void TDlTekst::setPassword(bool password)
{
    m_edit->setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
}

void TDlTekst::addOption(const QString& caption, bool checked)
{
    m_option = new QCheckBox(caption, this);
    m_option->setObjectName(QStringLiteral("Opcja"));
    m_option->setChecked(checked);
    static_cast<QVBoxLayout*>(layout())->insertWidget(2, m_option);
}

QString TDlTekst::text() const
{
    return m_edit->text();
}

bool TDlTekst::option() const
{
    return m_option && m_option->isChecked();
}

// --- memo prompt ---------------------------------------------------------

TDlMemo::TDlMemo(const QString& title, const QString& prompt, bool withLine, const QString& line,
                 const QString& memo, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(promptLabel(this, prompt));
    if (withLine) {
        m_line = new QLineEdit(line, this);
        m_line->setObjectName(QStringLiteral("Linia"));
        layout->addWidget(m_line);
    }
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo"));
    m_memo->setPlainText(memo);
    setMemoTabStops(m_memo);
    layout->addWidget(m_memo, 1);
    QPushButton* ok = nullptr;
    layout->addLayout(dialog_parts::okCancelRow(this, &ok));
    // Enter belongs to the memo; the OK button is not the default here.
    ok->setDefault(false);
    ok->setAutoDefault(false);
    resize(460, 300);
    if (m_line) {
        m_line->setFocus();
        m_line->setCursorPosition(int(m_line->text().size()));
    } else {
        m_memo->setFocus();
    }
}

QString TDlMemo::line() const
{
    return m_line ? m_line->text() : QString();
}

QString TDlMemo::memo() const
{
    return m_memo->toPlainText();
}

// --- memo editor ---------------------------------------------------------

TFmMemo::TFmMemo(const QString& caption, const QString& text, QWidget* parent)
    : QDialog(parent), m_original(text)
{
    setWindowTitle(caption);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    const MemoButtons buttons = makeMemoButtons(this);
    m_save = buttons.save;
    m_cancel = buttons.cancel;
    layout->addLayout(buttons.row);
    m_editor = new QPlainTextEdit(this);
    m_editor->setObjectName(QStringLiteral("Memo"));
    m_editor->setPlainText(text);
    setMemoTabStops(m_editor);
    layout->addWidget(m_editor, 1);
    connect(m_save, &QToolButton::clicked, this, &TFmMemo::save);
    connect(m_cancel, &QToolButton::clicked, this, &TFmMemo::revert);
    connect(m_editor, &QPlainTextEdit::textChanged, this, &TFmMemo::updateButtons);
    updateButtons();

    askSave = [this](const QString& question) {
        return TDlPytanie(TDlPytanie::Form::YesNo, question, this).ask() == Answer::Yes;
    };

    resize(520, 380);
    QSettings settings(QStringLiteral("Vendrix"), QStringLiteral("Lunawa"));
    settings.beginGroup(settingsGroup());
    if (settings.contains(QStringLiteral("Width"))) {
        setGeometry(settings.value(QStringLiteral("Left")).toInt(), settings.value(QStringLiteral("Top")).toInt(),
                    settings.value(QStringLiteral("Width")).toInt(), settings.value(QStringLiteral("Height")).toInt());
    }
    m_editor->setFocus();
}

TFmMemo::~TFmMemo()
{
    if (isMaximized() || isMinimized())
        return;
    QSettings settings(QStringLiteral("Vendrix"), QStringLiteral("Lunawa"));
    settings.beginGroup(settingsGroup());
    const QRect g = geometry();
    settings.setValue(QStringLiteral("Left"), g.x());
    settings.setValue(QStringLiteral("Top"), g.y());
    settings.setValue(QStringLiteral("Width"), g.width());
    settings.setValue(QStringLiteral("Height"), g.height());
}

QString TFmMemo::settingsGroup() const
{
    // Windows with the same title up to ":" share their place.
    const QString title = windowTitle();
    const qsizetype colon = title.indexOf(QLatin1Char(':'));
    return colon < 0 ? title : title.left(colon);
}

QString TFmMemo::text() const
{
    return m_editor->toPlainText();
}

void TFmMemo::save()
{
    m_saved = true;
    m_original = m_editor->toPlainText();
    accept();
}

void TFmMemo::revert()
{
    // Drops the edit and closes, without the question of closing.
    m_editor->setPlainText(m_original);
    QDialog::reject();
}

void TFmMemo::updateButtons()
{
    m_save->setEnabled(m_editor->toPlainText() != m_original);
}

void TFmMemo::reject()
{
    if (m_editor->toPlainText() != m_original && askSave && askSave(QStringLiteral("Zapisać zmiany?"))) {
        save();
        return;
    }
    QDialog::reject();
}
