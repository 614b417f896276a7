#include "GraphicButton.h"

#include <QLabel>
#include <QMouseEvent>

namespace kivo {

GraphicButton::GraphicButton(QObject *parent)
    : QObject(parent)
{
}

GraphicButton::~GraphicButton()
{
    if (m_PictureBox != nullptr)
        m_PictureBox->removeEventFilter(this);
}

void GraphicButton::setPictureBox(QLabel *box)
{
    if (m_PictureBox != nullptr)
        m_PictureBox->removeEventFilter(this);
    m_PictureBox = box;
    if (box == nullptr)
        return;
    // The box must hear the pointer pass over it, not only drags.
    box->setMouseTracking(true);
    box->installEventFilter(this);
}

QLabel *GraphicButton::pictureBox() const
{
    return m_PictureBox;
}

void GraphicButton::initialize(const QPixmap &default_, const QPixmap &mouseDown, const QPixmap &mouseOver)
{
    m_Default = default_;
    m_MouseDown = mouseDown;
    m_MouseOver = mouseOver;
}

bool GraphicButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_PictureBox) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            m_PictureBox_MouseDown();
            break;
        case QEvent::MouseButtonRelease:
            m_PictureBox_MouseUp();
            break;
        case QEvent::MouseMove:
            m_PictureBox_MouseMove(static_cast<QMouseEvent *>(event)->position());
            break;
        case QEvent::WindowDeactivate:
            m_PictureBox_Deactivate();
            break;
        default:
            break;
        }
    }
    // The window's own click handling of the box sees every event too.
    return QObject::eventFilter(watched, event);
}

// A box holds the mouse while a button is down on it, as a window does on Windows;
// letting go of the button ends the hold.
void GraphicButton::m_PictureBox_MouseDown()
{
    holdMouse();
    m_PictureBox->setPixmap(m_MouseDown);
}

void GraphicButton::m_PictureBox_MouseUp()
{
    m_PictureBox->setPixmap(m_Default);
    letGoOfMouse();
}

void GraphicButton::m_PictureBox_MouseMove(const QPointF &position)
{
    const qreal width = m_PictureBox->width();
    const qreal height = m_PictureBox->height();
    // A point on the right or bottom edge still counts as inside.
    const bool outside =
        position.x() < 0 || position.y() < 0 || position.x() > width || position.y() > height;
    if (outside) {
        if (QWidget *holder = QWidget::mouseGrabber())
            holder->releaseMouse();
        m_PictureBox->setPixmap(m_Default);
    } else if (!holdsMouse()) {
        // Holding the mouse lets the box see the pointer leave it.
        holdMouse();
        m_PictureBox->setPixmap(m_MouseOver);
    }
}

// The box's window no longer has the user's attention, most often because the
// command behind a click opened a modal dialog: that dialog must get the mouse.
void GraphicButton::m_PictureBox_Deactivate()
{
    if (!holdsMouse())
        return;
    letGoOfMouse();
    m_PictureBox->setPixmap(m_Default);
}

bool GraphicButton::holdsMouse() const
{
    return QWidget::mouseGrabber() == m_PictureBox;
}

void GraphicButton::holdMouse()
{
    if (!holdsMouse())
        m_PictureBox->grabMouse();
}

void GraphicButton::letGoOfMouse()
{
    if (holdsMouse())
        m_PictureBox->releaseMouse();
}

} // namespace kivo
