#include "commands/InputBlocker.h"

#include "DrivenClock.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QSet>
#include <QShortcutEvent>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>

#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>

using namespace kivo;
using namespace std::chrono_literals;

namespace {

// A widget that notes the events it is given of the kinds that a test sent it.
class Receiver final : public QWidget {
public:
    Receiver()
    {
        setMouseTracking(true);
        setAcceptDrops(true);
    }

    // The kinds sent, and those received (a widget may be handed one kind twice).
    QSet<QEvent::Type> sent;
    QSet<QEvent::Type> received;

    void forget()
    {
        sent.clear();
        received.clear();
    }

protected:
    bool event(QEvent *event) override
    {
        if (sent.contains(event->type()))
            received.insert(event->type());
        if (event->type() == QEvent::DragEnter)
            static_cast<QDragEnterEvent *>(event)->acceptProposedAction();
        return QWidget::event(event);
    }
};

// Sends the receiver what a user or the window system would, the way it would arrive.
using Delivery = std::function<void(Receiver &)>;

void post(Receiver &to, QEvent *event)
{
    to.sent.insert(event->type());
    QCoreApplication::postEvent(&to, event);
}

Delivery mouseClick()
{
    return [](Receiver &to) {
        const QPointF at(5, 5);
        const QPointF global = to.mapToGlobal(at);
        post(to, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, {}));
        post(to, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, {}));
        post(to, new QMouseEvent(QEvent::MouseButtonDblClick, at, global, Qt::LeftButton, Qt::LeftButton, {}));
        post(to, new QMouseEvent(QEvent::MouseMove, at, global, Qt::NoButton, Qt::NoButton, {}));
    };
}

Delivery keys()
{
    return [](Receiver &to) {
        post(to, new QKeyEvent(QEvent::ShortcutOverride, Qt::Key_Delete, Qt::NoModifier));
        post(to, new QKeyEvent(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier));
        post(to, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier));
        post(to, new QShortcutEvent(QKeySequence(Qt::ALT | Qt::Key_L), 1));
    };
}

Delivery wheelAndContextMenu()
{
    return [](Receiver &to) {
        const QPointF at(5, 5);
        post(to, new QWheelEvent(at, to.mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase,
                                 false));
        post(to, new QContextMenuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), to.mapToGlobal(QPoint(5, 5))));
    };
}

Delivery drop()
{
    return [](Receiver &to) {
        static QMimeData files;
        files.setText(QStringLiteral("file:///tmp/a.tvs"));
        post(to, new QDragEnterEvent(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, {}));
        post(to, new QDropEvent(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, {}));
    };
}

// The window system's close box, or the program's own closing of a window.
Delivery close(bool byTheUser)
{
    return [byTheUser](Receiver &to) {
        to.sent.insert(QEvent::Close);
        QCloseEvent event;
        if (byTheUser)
            QSpontaneKeyEvent::setSpontaneous(&event);
        QCoreApplication::instance()->notify(&to, &event);
    };
}

Delivery repaintAndOwnEvents()
{
    return [](Receiver &to) {
        post(to, new QEvent(QEvent::UpdateRequest));
        post(to, new QEvent(QEvent::User));
    };
}

// A key event, or a left button's when the key is none, at a moment after the one before.
struct Input {
    QEvent::Type type;
    int key;
    bool autoRepeat = false;
    std::chrono::milliseconds later{0};
};

void post(Receiver &to, const Input &input)
{
    if (input.key == Qt::Key_unknown) {
        const QPointF at(5, 5);
        const bool down = input.type == QEvent::MouseButtonPress;
        post(to, new QMouseEvent(input.type, at, to.mapToGlobal(at), Qt::LeftButton,
                                 down ? Qt::LeftButton : Qt::NoButton, {}));
    } else {
        post(to, new QKeyEvent(input.type, input.key, Qt::NoModifier, QString(), input.autoRepeat));
    }
}

} // namespace

Q_DECLARE_METATYPE(Delivery)
Q_DECLARE_METATYPE(Input)

class InputBlockerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void inputIsDropped_data();
    void inputIsDropped();
    void heldThroughTheBlockActsNoMore_data();
    void heldThroughTheBlockActsNoMore();
    void timersAndSocketsWaitForTheLoop();

private:
    test::DrivenClock m_clock;
    std::unique_ptr<Receiver> m_receiver;
};

void InputBlockerTest::init()
{
    m_receiver = std::make_unique<Receiver>();
    m_receiver->resize(20, 20);
    m_receiver->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_receiver.get()));
}

void InputBlockerTest::cleanup()
{
    m_receiver.reset();
    // Whatever a test left held is let go.
    m_clock.advance(1s);
}

void InputBlockerTest::inputIsDropped_data()
{
    QTest::addColumn<Delivery>("delivery");
    QTest::addColumn<bool>("dropped");

    QTest::newRow("mouse click, double-click and move") << mouseClick() << true;
    QTest::newRow("keys and shortcuts") << keys() << true;
    QTest::newRow("wheel and context menu") << wheelAndContextMenu() << true;
    QTest::newRow("drop") << drop() << true;
    QTest::newRow("close box") << close(true) << true;
    QTest::newRow("the program closes a window") << close(false) << false;
    QTest::newRow("repaint and the program's own events") << repaintAndOwnEvents() << false;
}

// What arrives while input is blocked is handled when the blocker catches up, or at
// the latest when it ends: input is dropped, everything else goes through. Once it
// has ended, input is taken again.
void InputBlockerTest::inputIsDropped()
{
    QFETCH(Delivery, delivery);
    QFETCH(bool, dropped);

    Receiver &receiver = *m_receiver;
    {
        InputBlocker blocked;
        QVERIFY(InputBlocker::isBlocking());
        delivery(receiver);
        blocked.catchUp();
        QCOMPARE(receiver.received, dropped ? QSet<QEvent::Type>{} : receiver.sent);
        receiver.forget();
        // Still queued when the blocker ends.
        delivery(receiver);
    }
    QVERIFY(!InputBlocker::isBlocking());
    QCoreApplication::processEvents();
    QCOMPARE(receiver.received, dropped ? QSet<QEvent::Type>{} : receiver.sent);

    // Past the moment at which a key let go during the block could still repeat.
    m_clock.advance(1s);
    receiver.forget();
    delivery(receiver);
    QCoreApplication::processEvents();
    QCOMPARE(receiver.received, receiver.sent);
}

void InputBlockerTest::heldThroughTheBlockActsNoMore_data()
{
    // What goes down while input is blocked, and what follows once the block has ended.
    QTest::addColumn<Input>("during");
    QTest::addColumn<QList<Input>>("after");

    const auto press = QEvent::KeyPress;
    const auto release = QEvent::KeyRelease;
    const int del = Qt::Key_Delete;
    // Repeats 25 a second, the press of each coming a little after its release.
    const auto held = [=](int key, bool marked) {
        QList<Input> repeats;
        for (int i = 0; i < 5; ++i) {
            repeats.append({release, key, marked, i == 0 ? 0ms : 30ms});
            repeats.append({press, key, marked, 10ms});
        }
        repeats.append({release, key, false, 30ms});
        return repeats;
    };
    QTest::newRow("Delete held, repeats unmarked") << Input{press, del} << held(del, false);
    QTest::newRow("Delete held, repeats marked") << Input{press, del} << held(del, true);
    QTest::newRow("Backspace held") << Input{press, Qt::Key_Backspace} << held(Qt::Key_Backspace, false);
    QTest::newRow("Delete let go just after") << Input{press, del} << QList<Input>{{release, del, false, 5ms}};
    QTest::newRow("an arrow let go just after")
        << Input{press, Qt::Key_Right} << QList<Input>{{release, Qt::Key_Right, false, 5ms}};
    QTest::newRow("a mouse button let go just after")
        << Input{QEvent::MouseButtonPress, Qt::Key_unknown}
        << QList<Input>{{QEvent::MouseButtonRelease, Qt::Key_unknown, false, 5ms}};
}

// A key or button that goes down while input is blocked and is let go afterwards acts
// neither at its release nor at its repeats; once it is up, it is taken again, and
// other keys are taken at once.
void InputBlockerTest::heldThroughTheBlockActsNoMore()
{
    QFETCH(Input, during);
    QFETCH(QList<Input>, after);

    Receiver &receiver = *m_receiver;
    {
        InputBlocker blocked;
        post(receiver, during);
        blocked.catchUp();
    }
    receiver.forget();
    for (const Input &input : std::as_const(after)) {
        m_clock.advance(input.later);
        post(receiver, input);
        QCoreApplication::processEvents();
    }
    QCOMPARE(receiver.received, QSet<QEvent::Type>{});

    // Another key in the meantime.
    if (during.key != Qt::Key_unknown) {
        receiver.forget();
        post(receiver, Input{QEvent::KeyPress, Qt::Key_Down});
        post(receiver, Input{QEvent::KeyRelease, Qt::Key_Down});
        QCoreApplication::processEvents();
        QCOMPARE(receiver.received, receiver.sent);
    }

    m_clock.advance(1s);
    receiver.forget();
    post(receiver, during);
    post(receiver, after.constLast());
    QCoreApplication::processEvents();
    QCOMPARE(receiver.received, receiver.sent);
}

// A timer that runs out and a socket that becomes readable while input is blocked
// could start a command; they are handled once the event loop runs again.
void InputBlockerTest::timersAndSocketsWaitForTheLoop()
{
    int pipe[2];
    QVERIFY(::pipe(pipe) == 0);
    const auto closePipe = qScopeGuard([&] {
        ::close(pipe[0]);
        ::close(pipe[1]);
    });
    QSocketNotifier readable(pipe[0], QSocketNotifier::Read);
    int reads = 0;
    connect(&readable, &QSocketNotifier::activated, this, [&] {
        ++reads;
        char byte = 0;
        QCOMPARE(::read(pipe[0], &byte, 1), ssize_t{1});
    });
    QTimer timer;
    timer.setSingleShot(true);
    timer.setInterval(0);
    int timeouts = 0;
    connect(&timer, &QTimer::timeout, this, [&] { ++timeouts; });
    {
        InputBlocker blocked;
        timer.start();
        QCOMPARE(::write(pipe[1], "x", 1), ssize_t{1});
        for (int i = 0; i < 3; ++i)
            blocked.catchUp();
        QCOMPARE(timeouts, 0);
        QCOMPARE(reads, 0);
    }
    QTRY_COMPARE(timeouts, 1);
    QTRY_COMPARE(reads, 1);
}

QTEST_MAIN(InputBlockerTest)
#include "InputBlockerTest.moc"
