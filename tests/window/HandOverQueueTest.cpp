#include "window/HandOverQueue.h"

#include "commands/InputBlocker.h"

#include "DrivenClock.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

using namespace kivo;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// How long the queue waits before it tries again.
constexpr std::chrono::milliseconds retry = 250ms;

// A window that tells its queue of its events as the main window does, and notes what
// the queue offered and how.
class Window final : public QWidget {
public:
    Window()
        : queue(*this, [this](const QString &commandLine) { offer(commandLine); })
    {
    }

    struct Offered {
        QString commandLine;
        bool active;
        int depth;
    };
    QList<Offered> offered;
    QStringList commandLines() const
    {
        QStringList lines;
        for (const Offered &o : offered)
            lines.append(o.commandLine);
        return lines;
    }
    // What offering a command line does besides, as the name prompt might.
    std::function<void(const QString &)> whileOffered;
    HandOverQueue queue;

protected:
    bool event(QEvent *event) override
    {
        const bool handled = QWidget::event(event);
        queue.windowEvent(*event);
        return handled;
    }

private:
    void offer(const QString &commandLine)
    {
        ++m_depth;
        offered.append({commandLine, isActiveWindow(), m_depth});
        if (whileOffered)
            whileOffered(commandLine);
        --m_depth;
    }
    int m_depth = 0;
};

// A menu of the window, open as when the user has clicked on the menu bar.
std::unique_ptr<QMenu> openMenu(QWidget &window)
{
    auto menu = std::make_unique<QMenu>(&window);
    menu->addAction(u"Exit"_s);
    menu->popup(window.geometry().center());
    return menu;
}

// Makes the window busy; what it returns ends that.
using Busy = std::function<std::function<void()>(Window &)>;

} // namespace

Q_DECLARE_METATYPE(Busy)

class HandOverQueueTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void offeredOnlyWhileOpen();
    void waitsWhileTheWindowIsBusy_data();
    void waitsWhileTheWindowIsBusy();
    void waitsInsideAnEventLoopOfItsOwn();
    void offeredAtTheFront();
    void offeredWhenTheFrontIsRefused();
    void fileHandedOverWhileOneIsOfferedComesAfterIt();
    void offerAllDoesNotWait();
    void closedQueueOffersNoMore();

private:
    void activate(QWidget &window);

    test::DrivenClock m_clock;
    std::unique_ptr<Window> m_window;
};

void HandOverQueueTest::activate(QWidget &window)
{
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

void HandOverQueueTest::init()
{
    m_window = std::make_unique<Window>();
    activate(*m_window);
}

void HandOverQueueTest::cleanup()
{
    m_window.reset();
}

void HandOverQueueTest::offeredOnlyWhileOpen()
{
    m_window->queue.add(u"a.tvs"_s);
    QVERIFY(m_window->offered.isEmpty());

    m_window->queue.open();
    m_window->queue.add(QString());
    // A start that names no file adds nothing, and lets what waits come up.
    QCOMPARE(m_window->commandLines(), QStringList{u"a.tvs"_s});
    m_window->queue.add(u"b.tvs"_s);
    QCOMPARE(m_window->commandLines(), (QStringList{u"a.tvs"_s, u"b.tvs"_s}));
}

void HandOverQueueTest::waitsWhileTheWindowIsBusy_data()
{
    QTest::addColumn<Busy>("busy");

    QTest::newRow("a question") << Busy([](Window &window) -> std::function<void()> {
        auto question = std::make_shared<QDialog>(&window);
        question->setModal(true);
        question->show();
        return [question] { question->hide(); };
    });
    QTest::newRow("a menu") << Busy([](Window &window) -> std::function<void()> {
        std::shared_ptr<QMenu> menu = openMenu(window);
        return [menu] { menu->hide(); };
    });
    QTest::newRow("a transfer") << Busy([](Window &) -> std::function<void()> {
        auto transfer = std::make_shared<std::optional<InputBlocker>>(std::in_place);
        return [transfer] { transfer->reset(); };
    });
}

void HandOverQueueTest::waitsWhileTheWindowIsBusy()
{
    QFETCH(Busy, busy);

    m_window->queue.open();
    const std::function<void()> end = busy(*m_window);

    m_window->queue.add(u"a.tvs"_s);

    m_clock.advance(retry);
    QVERIFY(m_window->offered.isEmpty());
    end();
    m_clock.advance(retry);
    QTRY_COMPARE(m_window->commandLines(), QStringList{u"a.tvs"_s});
}

// A drag or a dialog runs an event loop inside the program's own.
void HandOverQueueTest::waitsInsideAnEventLoopOfItsOwn()
{
    m_window->queue.open();
    bool offeredInside = true;
    QEventLoop program;
    QTimer::singleShot(0, &program, [&] {
        QEventLoop inner;
        QTimer::singleShot(0, &inner, [&] {
            m_window->queue.add(u"a.tvs"_s);
            offeredInside = !m_window->offered.isEmpty();
            inner.quit();
        });
        inner.exec();
        program.quit();
    });
    program.exec();

    QVERIFY(!offeredInside);
    m_clock.advance(retry);
    QCOMPARE(m_window->commandLines(), QStringList{u"a.tvs"_s});
}

void HandOverQueueTest::offeredAtTheFront()
{
    m_window->queue.open();
    QWidget elsewhere;
    activate(elsewhere);

    m_window->queue.add(u"a.tvs"_s);
    QVERIFY(m_window->offered.isEmpty());
    activate(*m_window);

    QCOMPARE(m_window->commandLines(), QStringList{u"a.tvs"_s});
    QVERIFY(m_window->offered.front().active);
}

void HandOverQueueTest::offeredWhenTheFrontIsRefused()
{
    m_window->queue.open();
    QWidget elsewhere;
    activate(elsewhere);

    m_window->queue.add(u"a.tvs"_s);

    m_clock.advance(retry - 1ms);
    QVERIFY(m_window->offered.isEmpty());
    m_clock.advance(1ms);
    QCOMPARE(m_window->commandLines(), QStringList{u"a.tvs"_s});
    QVERIFY(!m_window->offered.front().active);
    // The next file waits for the front again.
    m_window->queue.add(u"b.tvs"_s);
    m_clock.advance(retry - 1ms);
    QCOMPARE(m_window->offered.size(), 1);
    m_clock.advance(1ms);
    QCOMPARE(m_window->offered.size(), 2);
}

void HandOverQueueTest::fileHandedOverWhileOneIsOfferedComesAfterIt()
{
    m_window->queue.open();
    m_window->whileOffered = [this](const QString &commandLine) {
        if (commandLine != u"a.tvs")
            return;
        m_window->queue.add(u"b.tvs"_s);
        // The window is closed while the first file's name is asked.
        m_window->queue.offerAll();
    };

    m_window->queue.add(u"a.tvs"_s);

    QCOMPARE(m_window->commandLines(), (QStringList{u"a.tvs"_s, u"b.tvs"_s}));
    for (const Window::Offered &offered : std::as_const(m_window->offered))
        QCOMPARE(offered.depth, 1);
}

// The window is going: what it took is offered before, whatever is open.
void HandOverQueueTest::offerAllDoesNotWait()
{
    m_window->queue.open();
    const std::unique_ptr<QMenu> menu = openMenu(*m_window);
    m_window->queue.add(u"a.tvs"_s);
    m_window->queue.add(u"b.tvs"_s);
    QVERIFY(m_window->offered.isEmpty());

    m_window->queue.offerAll();

    QCOMPARE(m_window->commandLines(), (QStringList{u"a.tvs"_s, u"b.tvs"_s}));
}

void HandOverQueueTest::closedQueueOffersNoMore()
{
    m_window->queue.open();
    const std::unique_ptr<QMenu> menu = openMenu(*m_window);
    m_window->queue.add(u"a.tvs"_s);
    QVERIFY(m_window->offered.isEmpty());

    m_window->queue.close();
    menu->hide();
    activate(*m_window);
    m_window->queue.offerAll();

    // Well past the moment at which it would have been tried again.
    m_clock.advance(10 * retry);
    QCoreApplication::processEvents();
    QVERIFY(m_window->offered.isEmpty());
}

QTEST_MAIN(HandOverQueueTest)
#include "HandOverQueueTest.moc"
