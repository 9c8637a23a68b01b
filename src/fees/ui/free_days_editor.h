#pragma once
// The free-days editor of the settlement months: a calendar of tick boxes,
// one per day, under the short weekday names from Monday to Sunday.

#include <QDialog>
#include <QList>
#include <QSet>

class QCheckBox;
struct RunContext;

class TDlDniWolne : public QDialog {
    Q_OBJECT
public:
    TDlDniWolne(int year, int month, const QSet<int>& ticked, QWidget* parent = nullptr);

    QSet<int> ticked() const;
    // The box of a day (1-based), for tests.
    QCheckBox* dayBox(int day) const;

private:
    QList<QCheckBox*> m_days;
};

// The desktop's editor for the months window, over the active window.
bool editFreeDaysInWindow(RunContext& context, const QString& title, int year, int month, QSet<int>& ticked);
