#include "window/KeyReleaseFilter.h"

#include "DrivenClock.h"

#include <QApplication>
#include <QKeyEvent>
#include <QList>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <array>
#include <chrono>

using namespace kivo;
using namespace Qt::StringLiterals;

namespace {

using namespace std::chrono_literals;

// Far past the wait after a release: what is told, has been told by then.
constexpr std::chrono::milliseconds aWhile = 1s;

// One key event of a press held down and let go: the first press, a release and a
// press that the platform repeats (marked as repeats or not), and the last release.
enum class KeyStep { Press, RepeatedRelease, RepeatedPress, UnmarkedRelease, UnmarkedPress, Release };
using Presses = QList<QList<KeyStep>>;

// One key event on one of the two watched lists.
struct KeyEvent {
    int list;
    int key;
    KeyStep step;
};

// A key that went up for good on a list.
struct Told {
    int list;
    int key;
    friend bool operator==(const Told &, const Told &) = default;
};

} // namespace

Q_DECLARE_METATYPE(KeyStep)
Q_DECLARE_METATYPE(KeyEvent)
Q_DECLARE_METATYPE(Told)

namespace QTest {
template <> char *toString(const Told &told)
{
    return qstrdup(QByteArray("list " + QByteArray::number(told.list) + ", key 0x" + QByteArray::number(told.key, 16)));
}
} // namespace QTest

class KeyReleaseFilterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void heldKeyActsOnce_data();
    void heldKeyActsOnce();
    void heldAtTheSpacingOfRealRepeats_data();
    void heldAtTheSpacingOfRealRepeats();
    void keysInTurn_data();
    void keysInTurn();
    void pressAfterARepeatedReleaseHolds();
    void cancelForgetsTheWaitingRelease();
    void eventsStillReachTheList();

private:
    void send(int list, int key, KeyStep step, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    QList<Told> told() const;

    std::array<QWidget, 2> m_lists;
    test::DrivenClock m_clock;
    std::unique_ptr<KeyReleaseFilter> m_filter;
    std::unique_ptr<QSignalSpy> m_keyUps;
};

void KeyReleaseFilterTest::init()
{
    m_filter = std::make_unique<KeyReleaseFilter>();
    for (QWidget &list : m_lists)
        m_filter->watch(list);
    m_keyUps = std::make_unique<QSignalSpy>(m_filter.get(), &KeyReleaseFilter::KeyUp);
}

void KeyReleaseFilterTest::cleanup()
{
    m_keyUps.reset();
    m_filter.reset();
}

void KeyReleaseFilterTest::send(int list, int key, KeyStep step, Qt::KeyboardModifiers modifiers)
{
    const bool down = step == KeyStep::Press || step == KeyStep::RepeatedPress || step == KeyStep::UnmarkedPress;
    const bool repeat = step == KeyStep::RepeatedPress || step == KeyStep::RepeatedRelease;
    QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers, QString(), repeat);
    QApplication::sendEvent(&m_lists.at(static_cast<std::size_t>(list)), &event);
}

QList<Told> KeyReleaseFilterTest::told() const
{
    QList<Told> keys;
    for (const QList<QVariant> &signal : *m_keyUps) {
        const auto *list = signal.at(0).value<QWidget *>();
        keys.append({list == &m_lists[0] ? 0 : list == &m_lists[1] ? 1 : -1, signal.at(1).toInt()});
    }
    return keys;
}

void KeyReleaseFilterTest::heldKeyActsOnce_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    // Each inner list is one press of the key, held down from its first to its last
    // event; the presses are apart as far as a person's are.
    QTest::addColumn<Presses>("presses");

    using enum KeyStep;
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const QList<KeyStep> once{Press, Release};
    const QList<KeyStep> marked{Press, RepeatedRelease, RepeatedPress, RepeatedRelease, RepeatedPress, Release};
    const QList<KeyStep> unmarked{Press, UnmarkedRelease, UnmarkedPress, UnmarkedRelease, UnmarkedPress, Release};
    const QList<KeyStep> mixed{Press, UnmarkedRelease, UnmarkedPress, RepeatedRelease, RepeatedPress, Release};
    QTest::newRow("one press") << int(Qt::Key_Delete) << none << Presses{once};
    QTest::newRow("held, repeats marked") << int(Qt::Key_Delete) << none << Presses{marked};
    QTest::newRow("held, repeats unmarked") << int(Qt::Key_Delete) << none << Presses{unmarked};
    QTest::newRow("held, some repeats unmarked") << int(Qt::Key_Delete) << none << Presses{mixed};
    QTest::newRow("Backspace held") << int(Qt::Key_Backspace) << none << Presses{unmarked};
    QTest::newRow("two presses") << int(Qt::Key_Delete) << none << Presses{once, once};
    QTest::newRow("two holds") << int(Qt::Key_Delete) << none << Presses{unmarked, marked};
    QTest::newRow("Backspace, two presses") << int(Qt::Key_Backspace) << none << Presses{once, once};
    QTest::newRow("Shift+Delete held")
        << int(Qt::Key_Delete) << Qt::KeyboardModifiers(Qt::ShiftModifier) << Presses{unmarked};
}

void KeyReleaseFilterTest::heldKeyActsOnce()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(Presses, presses);

    for (int list = 0; list < int(m_lists.size()); ++list) {
        m_keyUps->clear();
        int run = 0;
        for (const QList<KeyStep> &press : presses) {
            for (const KeyStep step : press) {
                // Nothing is told before the key is let go for good.
                QCOMPARE(m_keyUps->size(), run);
                send(list, key, step, modifiers);
            }
            ++run;
            m_clock.advance(aWhile);
            QCOMPARE(m_keyUps->size(), run);
            // Once for the press, on its list.
            QCOMPARE(told().constLast(), (Told{list, key}));
        }
    }
}

void KeyReleaseFilterTest::heldAtTheSpacingOfRealRepeats_data()
{
    QTest::addColumn<int>("key");
    // How far apart the platform repeats the held key, and how long after each
    // repeated release the press that goes with it arrives: at once, or later on a
    // busy machine, up to the next repeat.
    QTest::addColumn<int>("everyMs");
    QTest::addColumn<int>("pressAfterMs");

    const int del = Qt::Key_Delete;
    const int back = Qt::Key_Backspace;
    QTest::newRow("Delete, 25 repeats a second, pressed at once") << del << 40 << 0;
    QTest::newRow("Delete, 30 a second, pressed 10 ms late") << del << 33 << 10;
    QTest::newRow("Delete, 25 a second, pressed 30 ms late") << del << 40 << 30;
    QTest::newRow("Backspace, 33 a second, pressed 20 ms late") << back << 30 << 20;
    QTest::newRow("Backspace, 25 a second, pressed 35 ms late") << back << 40 << 35;
}

// A key held down for a second acts once, at its last release.
void KeyReleaseFilterTest::heldAtTheSpacingOfRealRepeats()
{
    QFETCH(int, key);
    QFETCH(int, everyMs);
    QFETCH(int, pressAfterMs);
    const std::chrono::milliseconds every(everyMs);
    const std::chrono::milliseconds pressAfter(pressAfterMs);

    send(0, key, KeyStep::Press);
    // The platform's delay before it repeats a held key.
    m_clock.advance(500ms);
    for (int repeat = 0; repeat < 15; ++repeat) {
        send(0, key, KeyStep::UnmarkedRelease);
        m_clock.advance(pressAfter);
        send(0, key, KeyStep::UnmarkedPress);
        m_clock.advance(every - pressAfter);
        QVERIFY2(m_keyUps->isEmpty(), qPrintable(u"told at repeat %1"_s.arg(repeat)));
    }
    send(0, key, KeyStep::Release);
    m_clock.advance(aWhile);

    QCOMPARE(told(), (QList<Told>{{0, key}}));
}

void KeyReleaseFilterTest::keysInTurn_data()
{
    QTest::addColumn<QList<KeyEvent>>("events");
    // What is told the moment the last event has been handled, and what after a wait.
    QTest::addColumn<QList<Told>>("atOnce");
    QTest::addColumn<QList<Told>>("after");

    using enum KeyStep;
    const int del = Qt::Key_Delete;
    const int back = Qt::Key_Backspace;
    const int right = Qt::Key_Right;
    QTest::newRow("an arrow at its release")
        << QList<KeyEvent>{{0, right, Press}, {0, right, Release}} << QList<Told>{{0, right}}
        << QList<Told>{{0, right}};
    QTest::newRow("an arrow held: its marked repeats are no releases")
        << QList<KeyEvent>{{0, right, Press}, {0, right, RepeatedRelease}, {0, right, RepeatedPress},
                           {0, right, Release}}
        << QList<Told>{{0, right}} << QList<Told>{{0, right}};
    QTest::newRow("Delete waits")
        << QList<KeyEvent>{{0, del, Press}, {0, del, Release}} << QList<Told>{} << QList<Told>{{0, del}};
    // The key let go first keeps its command, and keeps it first.
    QTest::newRow("Delete, then Backspace let go")
        << QList<KeyEvent>{{0, del, Press}, {0, back, Press}, {0, del, Release}, {0, back, Release}}
        << QList<Told>{{0, del}} << QList<Told>{{0, del}, {0, back}};
    QTest::newRow("Delete on one list, then on the other")
        << QList<KeyEvent>{{0, del, Press}, {0, del, Release}, {1, del, Press}, {1, del, Release}}
        << QList<Told>{{0, del}} << QList<Told>{{0, del}, {1, del}};
    QTest::newRow("Delete waiting, an arrow let go")
        << QList<KeyEvent>{{0, del, Press}, {0, del, Release}, {0, right, Press}, {0, right, Release}}
        << QList<Told>{{0, right}} << QList<Told>{{0, right}, {0, del}};
}

void KeyReleaseFilterTest::keysInTurn()
{
    QFETCH(QList<KeyEvent>, events);
    QFETCH(QList<Told>, atOnce);
    QFETCH(QList<Told>, after);

    for (const KeyEvent &event : events)
        send(event.list, event.key, event.step);

    QCOMPARE(told(), atOnce);
    m_clock.advance(aWhile);
    QCOMPARE(told(), after);
}

// The platform's repeats of a held key may come further apart than the release waits.
void KeyReleaseFilterTest::pressAfterARepeatedReleaseHolds()
{
    send(0, Qt::Key_Delete, KeyStep::Press);
    send(0, Qt::Key_Delete, KeyStep::UnmarkedRelease);
    send(0, Qt::Key_Delete, KeyStep::UnmarkedPress);

    m_clock.advance(aWhile);
    QVERIFY(m_keyUps->isEmpty());
    send(0, Qt::Key_Delete, KeyStep::Release);
    m_clock.advance(aWhile);
    QCOMPARE(told(), (QList<Told>{{0, Qt::Key_Delete}}));
}

void KeyReleaseFilterTest::cancelForgetsTheWaitingRelease()
{
    send(0, Qt::Key_Delete, KeyStep::Press);
    send(0, Qt::Key_Delete, KeyStep::Release);

    m_filter->cancel();

    // A waiting release would be told before the next key's.
    send(1, Qt::Key_Backspace, KeyStep::Press);
    send(1, Qt::Key_Backspace, KeyStep::Release);
    m_clock.advance(aWhile);
    QCOMPARE(told(), (QList<Told>{{1, Qt::Key_Backspace}}));
}

void KeyReleaseFilterTest::eventsStillReachTheList()
{
    // A list that records the keys that reach it.
    class Recorder final : public QWidget {
    public:
        QList<QEvent::Type> keys;

    protected:
        bool event(QEvent *event) override
        {
            if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
                keys.append(event->type());
            return QWidget::event(event);
        }
    } list;
    m_filter->watch(list);

    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, Qt::Key_Delete, Qt::NoModifier);
        QApplication::sendEvent(&list, &event);
    }

    QCOMPARE(list.keys, (QList<QEvent::Type>{QEvent::KeyPress, QEvent::KeyRelease}));
    m_clock.advance(aWhile);
    QCOMPARE(m_keyUps->size(), 1);
}

QTEST_MAIN(KeyReleaseFilterTest)
#include "KeyReleaseFilterTest.moc"
