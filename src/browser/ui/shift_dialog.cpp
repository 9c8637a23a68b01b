#include "shift_dialog.h"

#include <QGridLayout>
#include <QSpinBox>
#include <QToolButton>

using picker::ShiftDirection;

TDlPrzesun::TDlPrzesun(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Przesuń wszystko"));
    auto* grid = new QGridLayout(this);
    m_step = new QSpinBox(this);
    m_step->setObjectName(QStringLiteral("Krok"));
    m_step->setRange(0, 100);
    m_step->setValue(1);
    const struct {
        ShiftDirection direction;
        Qt::ArrowType arrow;
        int row;
        int column;
        const char* name;
    } places[] = {
        {ShiftDirection::Up, Qt::UpArrow, 0, 1, "Gora"},
        {ShiftDirection::Down, Qt::DownArrow, 2, 1, "Dol"},
        {ShiftDirection::Left, Qt::LeftArrow, 1, 0, "Lewo"},
        {ShiftDirection::Right, Qt::RightArrow, 1, 2, "Prawo"},
    };
    for (const auto& p : places) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(p.name));
        button->setArrowType(p.arrow);
        button->setAutoRepeat(true);
        grid->addWidget(button, p.row, p.column, Qt::AlignCenter);
        m_arrows[int(p.direction)] = button;
        const ShiftDirection direction = p.direction;
        connect(button, &QToolButton::clicked, this, [this, direction] { press(direction); });
    }
    grid->addWidget(m_step, 1, 1);
}

QToolButton* TDlPrzesun::arrow(ShiftDirection direction) const
{
    return m_arrows[int(direction)];
}

void TDlPrzesun::press(ShiftDirection direction)
{
    m_last = picker::shift(direction, m_step->value());
    if (m_handler)
        m_handler(m_last.first, m_last.second);
    else
        accept();
}

bool TDlPrzesun::askShift(int& vertical, int& horizontal)
{
    if (exec() != QDialog::Accepted)
        return false;
    vertical = m_last.first;
    horizontal = m_last.second;
    return true;
}
