#pragma once
// "Pojemnik": the box holding a window's content. While it is not docked
// it is dragged by its top left corner into another window.

#include <QGroupBox>
#include <QPoint>
#include <QPointer>

class DockBox : public QGroupBox {
    Q_OBJECT
public:
    DockBox(const QString& title, QWidget* owner);

    // The window whose content the box holds, wherever the box lives.
    QWidget* owner() const { return m_owner; }
    // What a drag carries to name the owner.
    void setPayload(const QByteArray& payload) { m_payload = payload; }
    const QByteArray& payload() const { return m_payload; }

    // The box of the window holding `w`, the innermost one; null for none.
    static DockBox* holding(QWidget* w);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void startDrag();

    QPointer<QWidget> m_owner;
    QByteArray m_payload;
    QPoint m_pressedAt;
    bool m_pressed = false;
};
