#include "InputBlocker.h"

#include "platform/KeyRepeats.h"
#include "platform/Timer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcutEvent>

#include <map>

namespace kivo {

namespace {

int g_blockers = 0;

bool isUserInput(const QEvent &event)
{
    // Mouse, wheel, keys, touch, tablet, hover, enter and context menu events.
    if (event.isInputEvent())
        return true;
    switch (event.type()) {
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
        return true;
    case QEvent::Close:
        // The close box; the program's own closing goes on.
        return event.spontaneous();
    default:
        return false;
    }
}

// The keys and mouse buttons that went down while input was blocked. Their presses
// were dropped, and so is what follows from them after the block, until the key or
// button is let go: a held key's repeats and its release, a button's release, each of
// which would act as if it had been pressed now.
class HeldThroughTheBlock final : public QObject {
public:
    // The one for the application, made when first needed.
    static HeldThroughTheBlock &instance();

    // Notes a key or button that goes down or up while input is blocked.
    void blocked(const QEvent &event) { follows(event, true); }
    // The block has ended: from now on, what follows from those presses is dropped.
    void blockEnded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit HeldThroughTheBlock(QObject *application);
    // Whether the event belongs to a key or button held through the block; while it
    // lasts, each one that goes down is held.
    bool follows(const QEvent &event, bool blocking);
    bool followsKey(int key, QEvent::Type type, bool blocking);
    void letGoOfReleasedKeys();
    bool holdsAnything() const { return !m_keys.empty() || m_buttons != Qt::NoButton; }
    void watch(bool on);

    // Each held key, and whether its last event was a release that a repeated press
    // may still follow.
    std::map<int, bool> m_keys;
    Qt::MouseButtons m_buttons;
    Timer m_releaseWait;
    bool m_watching = false;
};

HeldThroughTheBlock &HeldThroughTheBlock::instance()
{
    static QPointer<HeldThroughTheBlock> held;
    if (held.isNull())
        held = new HeldThroughTheBlock(QCoreApplication::instance());
    return *held;
}

HeldThroughTheBlock::HeldThroughTheBlock(QObject *application)
    : QObject(application)
    , m_releaseWait(repeatedPressLag)
{
    connect(&m_releaseWait, &Timer::timeout, this, &HeldThroughTheBlock::letGoOfReleasedKeys);
}

void HeldThroughTheBlock::blockEnded()
{
    watch(holdsAnything());
}

bool HeldThroughTheBlock::eventFilter(QObject *watched, QEvent *event)
{
    // A new block drops everything itself, and notes it here.
    if (!InputBlocker::isBlocking() && follows(*event, false))
        return true;
    return QObject::eventFilter(watched, event);
}

bool HeldThroughTheBlock::follows(const QEvent &event, bool blocking)
{
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return followsKey(static_cast<const QKeyEvent &>(event).key(), event.type(), blocking);
    case QEvent::Shortcut: {
        const QKeySequence &keys = static_cast<const QShortcutEvent &>(event).key();
        return !keys.isEmpty() && m_keys.contains(keys[0].key());
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // The second press of a double-click comes before the double-click.
        const Qt::MouseButton button = static_cast<const QMouseEvent &>(event).button();
        if (blocking && event.type() == QEvent::MouseButtonPress)
            m_buttons |= button;
        return m_buttons.testFlag(button);
    }
    case QEvent::MouseButtonRelease: {
        const Qt::MouseButton button = static_cast<const QMouseEvent &>(event).button();
        if (!m_buttons.testFlag(button))
            return false;
        m_buttons &= ~Qt::MouseButtons(button);
        if (!blocking)
            watch(holdsAnything());
        return true;
    }
    default:
        return false;
    }
}

bool HeldThroughTheBlock::followsKey(int key, QEvent::Type type, bool blocking)
{
    const auto held = m_keys.find(key);
    if (held == m_keys.end() && !blocking)
        return false;
    // The override only asks about the press that comes next.
    if (type == QEvent::ShortcutOverride)
        return true;
    const bool released = type == QEvent::KeyRelease;
    m_keys[key] = released;
    if (released)
        m_releaseWait.start();
    return true;
}

// No press followed the release in time: the key is up, and its next press is new.
void HeldThroughTheBlock::letGoOfReleasedKeys()
{
    std::erase_if(m_keys, [](const auto &key) { return key.second; });
    if (!InputBlocker::isBlocking())
        watch(holdsAnything());
}

void HeldThroughTheBlock::watch(bool on)
{
    if (on == m_watching)
        return;
    m_watching = on;
    if (on)
        parent()->installEventFilter(this);
    else
        parent()->removeEventFilter(this);
}

} // namespace

InputBlocker::InputBlocker()
{
    ++g_blockers;
    if (auto *application = QCoreApplication::instance())
        application->installEventFilter(this);
    catchUp();
}

InputBlocker::~InputBlocker()
{
    catchUp();
    if (auto *application = QCoreApplication::instance())
        application->removeEventFilter(this);
    if (--g_blockers == 0 && QCoreApplication::instance() != nullptr)
        HeldThroughTheBlock::instance().blockEnded();
}

void InputBlocker::catchUp()
{
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers);
}

bool InputBlocker::isBlocking() noexcept
{
    return g_blockers > 0;
}

bool InputBlocker::eventFilter(QObject *watched, QEvent *event)
{
    // The glib event dispatcher does not hold socket notifiers back when asked to; a
    // socket that is dropped here is still ready, and reported again by the loop.
    if (event->type() == QEvent::SockAct)
        return true;
    if (isUserInput(*event)) {
        HeldThroughTheBlock::instance().blocked(*event);
        // A refused close leaves the window open on every platform.
        if (event->type() == QEvent::Close)
            event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kivo
