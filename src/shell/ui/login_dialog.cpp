#include "login_dialog.h"

#include "shell/login_flow.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Passwords are masked with stars, as users of the program know them.
const QString kStars = QStringLiteral("lineedit-password-character: 42");

QString systemUserName()
{
    for (const char* variable : {"USERNAME", "USER", "LOGNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            return name;
    }
    // A session without those variables (a service, a bare shell): the home
    // folder is named after the account.
    return QDir::home().dirName();
}

QDialogButtonBox* okAndAbandon(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Porzuć"), QDialogButtonBox::RejectRole);
    return buttons;
}

}  // namespace

TDlLogin::TDlLogin(LoginFlow& flow, QWidget* parent) : QDialog(parent), m_flow(flow)
{
    setWindowTitle(QStringLiteral("Autoryzacja"));
    setModal(true);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Identyfikator"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("Haslo"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setStyleSheet(kStars);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Identyfikator"), m_name);
    form->addRow(QStringLiteral("Hasło"), m_password);
    auto* buttons = okAndAbandon(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TDlLogin::submit);
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        m_flow.abandon();
        reject();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (m_name->text().isEmpty())
        m_name->setText(systemUserName());
    setMinimumWidth(320);
}

QString TDlLogin::userName() const
{
    return m_name->text();
}

bool TDlLogin::run(bool* endProgram)
{
    m_password->clear();
    m_end = false;
    m_flow.start();
    (m_name->text().isEmpty() ? m_name : m_password)->setFocus();
    const bool ok = exec() == QDialog::Accepted;
    if (endProgram)
        *endProgram = m_end;
    return ok;
}

void TDlLogin::submit()
{
    switch (m_flow.submit(m_name->text(), m_password->text())) {
    case LoginFlow::Outcome::Accepted:
        accept();
        return;
    case LoginFlow::Outcome::EndProgram:
        m_end = true;
        reject();
        return;
    case LoginFlow::Outcome::TryAgain:
        m_password->clear();
        m_password->setFocus();
        return;
    }
}

TDlPassword::TDlPassword(PasswordChangeFlow& flow, QWidget* parent) : QDialog(parent), m_flow(flow)
{
    setWindowTitle(QStringLiteral("Autoryzacja - Zmiana hasła"));
    setModal(true);
    m_user = new QLabel(this);
    m_old = new QLineEdit(this);
    m_new = new QLineEdit(this);
    m_repeat = new QLineEdit(this);
    for (QLineEdit* e : {m_old, m_new, m_repeat}) {
        e->setEchoMode(QLineEdit::Password);
        e->setStyleSheet(kStars);
    }
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Identyfikator:"), m_user);
    form->addRow(QStringLiteral("Stare hasło:"), m_old);
    form->addRow(QStringLiteral("Hasło:"), m_new);
    form->addRow(QStringLiteral("Powtórz hasło:"), m_repeat);
    auto* buttons = okAndAbandon(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TDlPassword::submit);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(340);
}

bool TDlPassword::run(const QString& userName, bool checkOld)
{
    m_flow.start(userName, checkOld);
    m_user->setText(userName);
    m_old->clear();
    m_new->clear();
    m_repeat->clear();
    m_old->setEnabled(checkOld);
    // Without the old password its field takes the colour of the form.
    m_old->setStyleSheet(checkOld ? QString() : QStringLiteral("background: palette(window);"));
    (checkOld ? m_old : m_new)->setFocus();
    return exec() == QDialog::Accepted;
}

void TDlPassword::submit()
{
    switch (m_flow.submit(m_old->text(), m_new->text(), m_repeat->text())) {
    case PasswordChangeFlow::Outcome::Closed:
        accept();
        return;
    case PasswordChangeFlow::Outcome::Aborted:
        reject();
        return;
    case PasswordChangeFlow::Outcome::ClearAll:
        m_old->clear();
        [[fallthrough]];
    case PasswordChangeFlow::Outcome::ClearNew:
        m_new->clear();
        m_repeat->clear();
        m_new->setFocus();
        return;
    }
}
