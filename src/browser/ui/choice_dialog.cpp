#include "choice_dialog.h"

#include "browser/picker_logic.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

TDlKomunikat::TDlKomunikat(bool error, const QString& text, QWidget* parent) : QMessageBox(parent)
{
    setIcon(error ? QMessageBox::Critical : QMessageBox::Information);
    setWindowTitle(error ? QStringLiteral("Błąd") : QStringLiteral("Informacja"));
    setText(text);
    QPushButton* ok = addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    setDefaultButton(ok);
    setEscapeButton(ok);
}

TDlPytanie::TDlPytanie(Form form, const QString& text, QWidget* parent) : QMessageBox(parent), m_form(form)
{
    setIcon(QMessageBox::Question);
    setWindowTitle(QStringLiteral("Potwierdzenie"));
    setText(text);
    m_yes = addButton(QStringLiteral("&Tak"), QMessageBox::YesRole);
    m_no = addButton(QStringLiteral("&Nie"), QMessageBox::NoRole);
    if (form == Form::YesNoCancel) {
        m_cancel = addButton(QStringLiteral("&Anuluj"), QMessageBox::RejectRole);
        setEscapeButton(m_cancel);
    } else {
        setEscapeButton(m_no);
    }
    setDefaultButton(m_yes);
}

void TDlPytanie::closeEvent(QCloseEvent* event)
{
    if (m_form != Form::YesNoClosable) {
        QMessageBox::closeEvent(event);
        return;
    }
    m_closed = true;
    event->accept();
    done(0);
}

void TDlPytanie::keyPressEvent(QKeyEvent* event)
{
    if (m_form == Form::YesNoClosable && event->key() == Qt::Key_Escape) {
        m_closed = true;
        done(0);
        return;
    }
    QMessageBox::keyPressEvent(event);
}

Answer TDlPytanie::ask()
{
    m_closed = false;
    exec();
    if (m_closed)
        return Answer::Cancel;
    if (clickedButton() == m_yes)
        return Answer::Yes;
    if (clickedButton() == m_no)
        return Answer::No;
    return m_form == Form::YesNo ? Answer::No : Answer::Cancel;
}

TDlWybor::TDlWybor(const QString& title, const QString& message, const QStringList& buttons, ChoiceIcon icon,
                   QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    constexpr int margins = 12;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(margins, margins, margins, margins);

    auto* top = new QHBoxLayout;
    auto* iconLabel = new QLabel(this);
    iconLabel->setObjectName(QStringLiteral("Ikona"));
    const QStyle::StandardPixmap pixmap =
        icon == ChoiceIcon::Question ? QStyle::SP_MessageBoxQuestion : QStyle::SP_MessageBoxInformation;
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    iconLabel->setPixmap(style()->standardIcon(pixmap, nullptr, this).pixmap(iconSize, iconSize));
    iconLabel->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* text = new QLabel(message, this);
    text->setObjectName(QStringLiteral("Tresc"));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    top->addWidget(iconLabel, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    layout->addLayout(top, 1);

    int widest = 0;
    for (const QString& caption : buttons)
        widest = std::max(widest, fontMetrics().horizontalAdvance(QString(caption).remove(QLatin1Char('&'))));
    const int standard = 75;
    const int buttonWidth = picker::choiceButtonWidth(widest, standard);

    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    row->addStretch(1);
    for (int i = 0; i < buttons.size(); ++i) {
        auto* button = new QPushButton(buttons.at(i), this);
        button->setFixedWidth(buttonWidth);
        connect(button, &QPushButton::clicked, this, [this, i] { done(-(i + 1)); });
        row->addWidget(button);
        m_buttons.append(button);
    }
    row->addStretch(1);
    layout->addLayout(row);
    if (!m_buttons.isEmpty())
        m_buttons.first()->setDefault(true);

    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int width = picker::choiceDialogWidth(area.width(), int(buttons.size()), buttonWidth, margins);
    setFixedWidth(width);
    adjustSize();
    move(area.center() - QPoint(this->width() / 2, height() / 2));
}
