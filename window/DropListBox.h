#pragma once

#include <QListWidget>
#include <QPoint>

#include <optional>

class QDragMoveEvent;
class QDropEvent;

namespace kivo {

// A list box whose owner handles its clicks, its mouse presses and everything
// dragged over or dropped on it. A press is reported after the list has handled it,
// so that the row under the pointer is already current; drags and drops are left
// entirely to the owner, which accepts or refuses them on the event (an entering
// drag is always taken, so that its moves reach the owner).
class DropListBox final : public QListWidget {
    Q_OBJECT

public:
    explicit DropListBox(QWidget *parent = nullptr);

    // Asked for while the owner handles MouseDown: StartDrag follows once the pointer
    // has moved the platform's drag distance with the pressed button held. A button
    // let go before that was a click, which the list handles as one.
    void beginDragOnMove();

Q_SIGNALS:
    // A click on a row, also on the row that is already current, or a change of the
    // current row by the keyboard or the program.
    void Click();
    void MouseDown(Qt::MouseButton button);
    // The drag asked for at the press is to start now; the owner runs it.
    void StartDrag();
    // A drag enters or moves over the list.
    void OLEDragOver(QDragMoveEvent *event);
    void OLEDragDrop(QDropEvent *event);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Inside a press the change of the current row is part of that click.
    bool m_pressing = false;
    QPoint m_pressedAt;
    Qt::MouseButton m_pressedButton = Qt::NoButton;
    // Where the press that asked for a drag went down, while the drag waits for the
    // pointer to move.
    std::optional<QPoint> m_dragFrom;
    // The press that is still down has been dragged.
    bool m_dragged = false;
};

} // namespace kivo
