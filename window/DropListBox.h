#pragma once

#include <QListWidget>

class QDragMoveEvent;
class QDropEvent;

namespace kivo {

// A list box whose owner handles its mouse presses and everything dragged over or
// dropped on it. A press is reported after the list has handled it, so that the row
// under the pointer is already current; drags and drops are left entirely to the
// owner, which accepts or refuses them on the event (an entering drag is always
// taken, so that its moves reach the owner).
class DropListBox final : public QListWidget {
    Q_OBJECT

public:
    explicit DropListBox(QWidget *parent = nullptr);

Q_SIGNALS:
    void MouseDown(Qt::MouseButton button);
    // A drag enters or moves over the list.
    void OLEDragOver(QDragMoveEvent *event);
    void OLEDragDrop(QDropEvent *event);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

} // namespace kivo
