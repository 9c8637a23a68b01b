#include "free_days_editor.h"

#include "browser/ui/dialog_parts.h"

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const char* const weekdays[] = {"Pn", "Wt", "Śr", "Cz", "Pt", "So", "N"};

}  // namespace

TDlDniWolne::TDlDniWolne(int year, int month, const QSet<int>& ticked, QWidget* parent)
    : QDialog(parent)
{
    auto* outer = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int c = 0; c < 7; ++c) {
        auto* head = new QLabel(QString::fromUtf8(weekdays[c]), this);
        QFont bold = head->font();
        bold.setBold(true);
        head->setFont(bold);
        grid->addWidget(head, 0, c);
    }
    const QDate first(year, month, 1);
    const int offset = first.dayOfWeek() - 1;  // the first row starts on the first day's weekday
    for (int d = 1; d <= first.daysInMonth(); ++d) {
        auto* box = new QCheckBox(QString::number(d), this);
        box->setChecked(ticked.contains(d));
        const int cell = offset + d - 1;
        grid->addWidget(box, 1 + cell / 7, cell % 7);
        m_days << box;
    }
    outer->addLayout(grid);
    outer->addLayout(dialog_parts::okCancelRow(this));
    resize(405, 330);
}

QSet<int> TDlDniWolne::ticked() const
{
    QSet<int> out;
    for (int i = 0; i < m_days.size(); ++i)
        if (m_days[i]->isChecked())
            out.insert(i + 1);
    return out;
}

QCheckBox* TDlDniWolne::dayBox(int day) const
{
    return day >= 1 && day <= m_days.size() ? m_days[day - 1] : nullptr;
}

bool editFreeDaysInWindow(RunContext&, const QString& title, int year, int month, QSet<int>& ticked)
{
    TDlDniWolne dialog(year, month, ticked, QApplication::activeWindow());
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    ticked = dialog.ticked();
    return true;
}
