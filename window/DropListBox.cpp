#include "DropListBox.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMouseEvent>

#include <utility>

namespace kivo {

DropListBox::DropListBox(QWidget *parent)
    : QListWidget(parent)
{
    // Drags start only where the owner starts them; the rows are never moved by Qt.
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    // A list that was emptied has no row to show.
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && !m_pressing)
            Q_EMIT Click();
    });
}

void DropListBox::beginDragOnMove()
{
    m_dragFrom = m_pressedAt;
}

void DropListBox::mousePressEvent(QMouseEvent *event)
{
    m_dragFrom.reset();
    m_dragged = false;
    m_pressedAt = event->position().toPoint();
    m_pressedButton = event->button();
    const int before = currentRow();
    m_pressing = true;
    QListWidget::mousePressEvent(event);
    m_pressing = false;
    // A left click on a row is a click even when that row stays current; another
    // button counts only where it made another row current.
    const bool onRow = itemAt(m_pressedAt) != nullptr;
    if ((event->button() == Qt::LeftButton && onRow) || (currentRow() != before && currentRow() >= 0))
        Q_EMIT Click();
    Q_EMIT MouseDown(event->button());
}

void DropListBox::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragFrom && event->buttons().testFlag(m_pressedButton)) {
        if ((event->position().toPoint() - *m_dragFrom).manhattanLength() >= QApplication::startDragDistance()) {
            m_dragFrom.reset();
            m_dragged = true;
            Q_EMIT StartDrag();
            // The press ends with its drag, as after the view's own drags.
            setState(NoState);
        }
        // Until then the press may still be a click: moving does not select rows.
        return;
    }
    m_dragFrom.reset();
    QListWidget::mouseMoveEvent(event);
}

void DropListBox::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragFrom.reset();
    // Most platforms end a drag with the release of the button, which the list then
    // never sees; where the release still comes after the drag, it must not narrow the
    // selection that was dragged.
    if (std::exchange(m_dragged, false) && event->button() == m_pressedButton)
        return;
    QListWidget::mouseReleaseEvent(event);
}

void DropListBox::dragEnterEvent(QDragEnterEvent *event)
{
    Q_EMIT OLEDragOver(event);
    // Qt sends the moves of a drag only to a widget that took it when it entered, so
    // the list takes every drag here; what the owner refuses keeps no drop action,
    // and the move that follows at once refuses it.
    event->accept();
}

void DropListBox::dragMoveEvent(QDragMoveEvent *event)
{
    Q_EMIT OLEDragOver(event);
}

void DropListBox::dragLeaveEvent(QDragLeaveEvent *event)
{
    // Leaving has no position; the last move already chose the row.
    event->accept();
}

void DropListBox::dropEvent(QDropEvent *event)
{
    Q_EMIT OLEDragDrop(event);
}

} // namespace kivo
