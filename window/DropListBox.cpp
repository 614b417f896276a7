#include "DropListBox.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMouseEvent>

namespace kivo {

DropListBox::DropListBox(QWidget *parent)
    : QListWidget(parent)
{
    // Drags start only where the owner starts them; the rows are never moved by Qt.
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

void DropListBox::mousePressEvent(QMouseEvent *event)
{
    QListWidget::mousePressEvent(event);
    Q_EMIT MouseDown(event->button());
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
