#pragma once
// The date picker (a calendar), the time picker and the month picker, each
// with an optional prompt above.

#include <QDate>
#include <QDialog>
#include <QTime>

class QCalendarWidget;
class QComboBox;
class QSpinBox;
class QTimeEdit;

class TDlData : public QDialog {
    Q_OBJECT
public:
    TDlData(const QString& title, const QString& prompt, const QDate& date, QWidget* parent = nullptr);
    QDate date() const;
    QCalendarWidget* calendar() const { return m_calendar; }

private:
    QCalendarWidget* m_calendar;
};

class TDlCzas : public QDialog {
    Q_OBJECT
public:
    TDlCzas(const QString& title, const QString& prompt, const QTime& time, QWidget* parent = nullptr);
    // Opens as if the digit 1 had just been typed into the hours.
    void startWithOne();
    QTime time() const;
    QTimeEdit* edit() const { return m_edit; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTimeEdit* m_edit;
    bool m_typeOne = false;
};

class TDlMiesiac : public QDialog {
    Q_OBJECT
public:
    TDlMiesiac(const QString& title, const QString& description, int year, int month, QWidget* parent = nullptr);
    int year() const;
    int month() const;
    QSpinBox* yearBox() const { return m_year; }
    QComboBox* monthBox() const { return m_month; }

private:
    QSpinBox* m_year;
    QComboBox* m_month;
};
