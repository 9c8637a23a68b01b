#include "date_time_dialogs.h"

#include "browser/picker_logic.h"
#include "dialog_parts.h"
#include "store/polish_dates.h"
#include "store/year_range.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QSpinBox>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

void addPrompt(QDialog* dialog, QVBoxLayout* layout, const QString& prompt)
{
    if (prompt.isEmpty())
        return;
    auto* label = new QLabel(prompt, dialog);
    label->setObjectName(QStringLiteral("Opis"));
    label->setWordWrap(true);
    layout->addWidget(label);
}

}  // namespace

TDlData::TDlData(const QString& title, const QString& prompt, const QDate& date, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    addPrompt(this, layout, prompt);
    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName(QStringLiteral("Kalendarz"));
    m_calendar->setLocale(QLocale(QLocale::Polish, QLocale::Poland));
    m_calendar->setFirstDayOfWeek(Qt::Monday);
    m_calendar->setGridVisible(true);
    m_calendar->setDateRange(QDate(polish::firstYear, 1, 1), QDate(polish::lastYear, 12, 31));
    m_calendar->setSelectedDate(picker::startDate(date, QDate::currentDate()));
    // Double-click or Enter on a day confirms it.
    connect(m_calendar, &QCalendarWidget::activated, this, &QDialog::accept);
    layout->addWidget(m_calendar);
    layout->addLayout(dialog_parts::okCancelRow(this));
    m_calendar->setFocus();
}

QDate TDlData::date() const
{
    return m_calendar->selectedDate();
}

TDlCzas::TDlCzas(const QString& title, const QString& prompt, const QTime& time, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    addPrompt(this, layout, prompt);
    m_edit = new QTimeEdit(this);
    m_edit->setObjectName(QStringLiteral("Czas"));
    // Times of the day are kept to the minute.
    m_edit->setDisplayFormat(QStringLiteral("HH:mm"));
    m_edit->setTime(picker::startTime(time, QTime::currentTime()));
    layout->addWidget(m_edit);
    layout->addLayout(dialog_parts::okCancelRow(this));
    setMinimumWidth(260);
    m_edit->setFocus();
}

void TDlCzas::startWithOne()
{
    m_typeOne = true;
}

void TDlCzas::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_edit->setFocus();
    m_edit->setSelectedSection(QDateTimeEdit::HourSection);
    if (!m_typeOne)
        return;
    m_typeOne = false;
    // Typed once the window has its focus: the focus arriving later would
    // select the hours again and the next digit would replace the 1.
    QTimer::singleShot(0, m_edit, [edit = m_edit] {
        edit->setSelectedSection(QDateTimeEdit::HourSection);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
        QCoreApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
        QCoreApplication::sendEvent(edit, &release);
    });
}

QTime TDlCzas::time() const
{
    const QTime t = m_edit->time();
    return QTime(t.hour(), t.minute());
}

TDlMiesiac::TDlMiesiac(const QString& title, const QString& description, int year, int month, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    addPrompt(this, layout, description);
    auto* row = new QHBoxLayout;
    m_year = new QSpinBox(this);
    m_year->setObjectName(QStringLiteral("Rok"));
    m_year->setRange(polish::firstYear, polish::lastYear);
    m_year->setValue(year > 0 ? year : QDate::currentDate().year());
    m_month = new QComboBox(this);
    m_month->setObjectName(QStringLiteral("Miesiac"));
    for (int m = 1; m <= 12; ++m)
        m_month->addItem(polish::monthName(m));
    m_month->setCurrentIndex(month >= 1 && month <= 12 ? month - 1 : QDate::currentDate().month() - 1);
    row->addWidget(m_year);
    row->addWidget(m_month, 1);
    layout->addLayout(row);
    layout->addLayout(dialog_parts::okCancelRow(this));
    setMinimumWidth(300);
    m_month->setFocus();
}

int TDlMiesiac::year() const
{
    return m_year->value();
}

int TDlMiesiac::month() const
{
    return m_month->currentIndex() + 1;
}
