#include "window/GraphicButton.h"

#include "ModalAnswerer.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <array>
#include <memory>

using namespace kivo;
using namespace Qt::StringLiterals;
using kivo::test::visibleTopLevels;

namespace {

// One thing the mouse does, at a point relative to one of the two boxes.
struct Step {
    enum Kind { Move, Press, Release };
    Kind kind;
    int box;
    QPoint at;
    Qt::MouseButton button = Qt::LeftButton;
};

Step move(int box, int x, int y)
{
    return {Step::Move, box, QPoint(x, y)};
}

Step press(int box, int x, int y, Qt::MouseButton button = Qt::LeftButton)
{
    return {Step::Press, box, QPoint(x, y), button};
}

Step release(int box, int x, int y, Qt::MouseButton button = Qt::LeftButton)
{
    return {Step::Release, box, QPoint(x, y), button};
}

constexpr int boxWidth = 50;
constexpr int boxHeight = 40;

QPixmap picture(const QColor &colour)
{
    QPixmap pixmap(boxWidth, boxHeight);
    pixmap.fill(colour);
    return pixmap;
}

// Records the presses and releases that reach the window's own handling of a box.
class ClickRecorder : public QObject {
public:
    QList<QEvent::Type> seen;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)
            seen.append(event->type());
        return QObject::eventFilter(watched, event);
    }
};

// A window with two picture boxes side by side, each driven by its GraphicButton.
class PictureWindow {
public:
    PictureWindow()
    {
        m_window.resize(200, 100);
        for (size_t i = 0; i < m_boxes.size(); ++i) {
            QLabel *box = new QLabel(&m_window);
            box->setGeometry(10 + 90 * int(i), 10, boxWidth, boxHeight);
            box->setPixmap(initial);
            box->installEventFilter(&clicks);
            m_boxes[i] = box;
            m_buttons[i] = std::make_unique<GraphicButton>();
            m_buttons[i]->setPictureBox(box);
            m_buttons[i]->initialize(normal, pressed, hover);
        }
        m_window.show();
        m_window.activateWindow();
    }
    ~PictureWindow()
    {
        if (QWidget *holder = QWidget::mouseGrabber())
            holder->releaseMouse();
    }

    // Waits until the window is active, with the pointer resting on it away from the boxes.
    bool isActive()
    {
        if (!QTest::qWaitForWindowActive(&m_window))
            return false;
        QTest::mouseMove(&m_window, QPoint(190, 90));
        return true;
    }
    QLabel *box(int i) const { return m_boxes.at(size_t(i)); }
    GraphicButton &button(int i) const { return *m_buttons.at(size_t(i)); }

    void perform(const Step &step) const
    {
        QLabel *target = box(step.box);
        switch (step.kind) {
        case Step::Move:
            QTest::mouseMove(target, step.at);
            break;
        case Step::Press:
            QTest::mousePress(target, step.button, {}, step.at);
            break;
        case Step::Release:
            QTest::mouseRelease(target, step.button, {}, step.at);
            break;
        }
    }

    // Each box's picture as a letter (I as the window gave it, N normal, P pressed, H
    // hover), then the box holding the mouse (A, B, or - for none).
    QString state() const
    {
        QString s;
        for (QLabel *b : m_boxes)
            s += letter(b->pixmap().cacheKey());
        QWidget *holder = QWidget::mouseGrabber();
        s += holder == box(0) ? u'A' : holder == box(1) ? u'B' : holder == nullptr ? u'-' : u'?';
        return s;
    }

    const QPixmap initial = picture(Qt::gray);
    const QPixmap normal = picture(Qt::white);
    const QPixmap pressed = picture(Qt::blue);
    const QPixmap hover = picture(Qt::yellow);
    ClickRecorder clicks;

private:
    QChar letter(qint64 key) const
    {
        if (key == initial.cacheKey())
            return u'I';
        if (key == normal.cacheKey())
            return u'N';
        if (key == pressed.cacheKey())
            return u'P';
        if (key == hover.cacheKey())
            return u'H';
        return u'?';
    }

    QWidget m_window;
    std::array<QLabel *, 2> m_boxes{};
    std::array<std::unique_ptr<GraphicButton>, 2> m_buttons;
};

} // namespace

Q_DECLARE_METATYPE(Step)

class GraphicButtonTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void pictures_data();
    void pictures();
    void clicksStillReachTheWindow();
    void aDialogOverTheWindowGetsTheMouse();
    void attachesToTheBox();
};

void GraphicButtonTest::cleanup()
{
    QVERIFY2(visibleTopLevels().isEmpty(), "a window outlived its test");
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
}

void GraphicButtonTest::pictures_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<QStringList>("states"); // after each step, see PictureWindow::state

    const int w = boxWidth;
    const int h = boxHeight;
    QTest::newRow("hover from the first movement inside") << QList<Step>{move(0, 5, 5), move(0, 20, 20)}
                                                          << QStringList{u"HIA"_s, u"HIA"_s};
    QTest::newRow("normal from the first movement outside")
        << QList<Step>{move(0, 5, 5), move(0, -1, 5), move(0, 5, 5), move(0, 5, -1)}
        << QStringList{u"HIA"_s, u"NI-"_s, u"HIA"_s, u"NI-"_s};
    QTest::newRow("the right edge counts as inside")
        << QList<Step>{move(0, 5, 5), move(0, w, 5), move(0, w + 1, 5)}
        << QStringList{u"HIA"_s, u"HIA"_s, u"NI-"_s};
    QTest::newRow("the bottom edge counts as inside")
        << QList<Step>{move(0, 5, 5), move(0, w, h), move(0, 5, h + 1)}
        << QStringList{u"HIA"_s, u"HIA"_s, u"NI-"_s};
    QTest::newRow("the top-left corner counts as inside") << QList<Step>{move(0, 0, 0)} << QStringList{u"HIA"_s};
    QTest::newRow("press and release")
        << QList<Step>{move(0, 5, 5), press(0, 5, 5), release(0, 5, 5), move(0, 6, 6)}
        << QStringList{u"HIA"_s, u"PIA"_s, u"NI-"_s, u"HIA"_s};
    QTest::newRow("moving inside with the button down stays pressed")
        << QList<Step>{move(0, 5, 5), press(0, 5, 5), move(0, 30, 30), move(0, w, h), release(0, w, h)}
        << QStringList{u"HIA"_s, u"PIA"_s, u"PIA"_s, u"PIA"_s, u"NI-"_s};
    QTest::newRow("moving off with the button down")
        << QList<Step>{move(0, 5, 5), press(0, 5, 5), move(0, w + 10, 5), release(0, w + 10, 5)}
        << QStringList{u"HIA"_s, u"PIA"_s, u"NI-"_s, u"NI-"_s};
    QTest::newRow("pressed again without moving")
        << QList<Step>{move(0, 5, 5), press(0, 5, 5), release(0, 5, 5), press(0, 5, 5), move(0, 6, 6),
                       release(0, 6, 6)}
        << QStringList{u"HIA"_s, u"PIA"_s, u"NI-"_s, u"PIA"_s, u"PIA"_s, u"NI-"_s};
    QTest::newRow("right and middle buttons press too")
        << QList<Step>{move(0, 5, 5), press(0, 5, 5, Qt::RightButton), release(0, 5, 5, Qt::RightButton),
                       press(0, 5, 5, Qt::MiddleButton), release(0, 5, 5, Qt::MiddleButton)}
        << QStringList{u"HIA"_s, u"PIA"_s, u"NI-"_s, u"PIA"_s, u"NI-"_s};
    QTest::newRow("from one box to the next")
        << QList<Step>{move(0, 5, 5), move(1, 5, 5), move(1, 6, 5), move(0, 5, 5), move(0, 6, 5)}
        << QStringList{u"HIA"_s, u"NI-"_s, u"NHB"_s, u"NN-"_s, u"HNA"_s};
}

void GraphicButtonTest::pictures()
{
    QFETCH(QList<Step>, steps);
    QFETCH(QStringList, states);
    QCOMPARE(steps.size(), states.size());

    PictureWindow window;
    QVERIFY(window.isActive());
    QCOMPARE(window.state(), u"II-"_s);
    QStringList seen;
    for (const Step &step : steps) {
        window.perform(step);
        seen.append(window.state());
    }

    QCOMPARE(seen, states);
}

void GraphicButtonTest::clicksStillReachTheWindow()
{
    PictureWindow window;
    QVERIFY(window.isActive());

    window.perform(move(0, 5, 5));
    QTest::mouseClick(window.box(0), Qt::LeftButton, {}, QPoint(5, 5));

    QCOMPARE(window.clicks.seen, (QList<QEvent::Type>{QEvent::MouseButtonPress, QEvent::MouseButtonRelease}));
}

void GraphicButtonTest::aDialogOverTheWindowGetsTheMouse()
{
    PictureWindow window;
    QVERIFY(window.isActive());
    window.perform(move(0, 5, 5));
    QCOMPARE(window.state(), u"HIA"_s);

    QWidget dialog;
    dialog.resize(100, 50);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    QCOMPARE(window.state(), u"NI-"_s);
}

void GraphicButtonTest::attachesToTheBox()
{
    QLabel first;
    QLabel second;
    GraphicButton button;
    QCOMPARE(button.pictureBox(), nullptr);

    button.setPictureBox(&first);
    QCOMPARE(button.pictureBox(), &first);
    button.setPictureBox(&second);
    QCOMPARE(button.pictureBox(), &second);

    // The box that was left behind no longer changes its picture.
    const QPixmap mine = picture(Qt::gray);
    first.setPixmap(mine);
    button.initialize(picture(Qt::white), picture(Qt::blue), picture(Qt::yellow));
    QMouseEvent pressEvent(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                           Qt::LeftButton, {});
    QApplication::sendEvent(&first, &pressEvent);
    QCOMPARE(first.pixmap().cacheKey(), mine.cacheKey());
}

QTEST_MAIN(GraphicButtonTest)
#include "GraphicButtonTest.moc"
