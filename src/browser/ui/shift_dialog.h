#pragma once
// "Przesuń wszystko": four arrows around a step box. Alone it returns the
// first shift chosen; with a handler attached (the template designer) every
// press is applied at once and the dialog stays open until closed.

#include "browser/picker_logic.h"

#include <QDialog>

#include <functional>

class QSpinBox;
class QToolButton;

class TDlPrzesun : public QDialog {
    Q_OBJECT
public:
    using Handler = std::function<void(int vertical, int horizontal)>;

    explicit TDlPrzesun(QWidget* parent = nullptr);
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    // Alone: true and the shift (vertical, horizontal) after one press.
    bool askShift(int& vertical, int& horizontal);

    QSpinBox* stepBox() const { return m_step; }
    QToolButton* arrow(picker::ShiftDirection direction) const;

private:
    void press(picker::ShiftDirection direction);

    QSpinBox* m_step;
    QToolButton* m_arrows[4];
    Handler m_handler;
    QPair<int, int> m_last;
};
