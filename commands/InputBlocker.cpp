#include "InputBlocker.h"

#include <QCoreApplication>
#include <QEvent>

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
    --g_blockers;
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
        // A refused close leaves the window open on every platform.
        if (event->type() == QEvent::Close)
            event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kivo
