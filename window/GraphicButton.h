#pragma once

#include <QObject>
#include <QPixmap>
#include <QPointer>

class QLabel;
class QPointF;

namespace kivo {

// Gives a picture box the look of a three-state button: the normal picture, the
// pressed picture while a mouse button is down on it, the hover picture while the
// pointer is over it. It only changes pictures; the box's click still reaches the
// window, which runs the command.
class GraphicButton : public QObject {
    Q_OBJECT

public:
    explicit GraphicButton(QObject *parent = nullptr);
    ~GraphicButton() override;

    // From now on the box's mouse events drive its picture.
    void setPictureBox(QLabel *box);
    QLabel *pictureBox() const;
    // Keeps the three pictures; the box shows what it shows until the first mouse event.
    void initialize(const QPixmap &default_, const QPixmap &mouseDown, const QPixmap &mouseOver);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void m_PictureBox_MouseDown();
    void m_PictureBox_MouseUp();
    void m_PictureBox_MouseMove(const QPointF &position);
    void m_PictureBox_Deactivate();
    bool holdsMouse() const;
    void holdMouse();
    void letGoOfMouse();

    QPointer<QLabel> m_PictureBox;
    QPixmap m_Default;
    QPixmap m_MouseDown;
    QPixmap m_MouseOver;
};

} // namespace kivo
