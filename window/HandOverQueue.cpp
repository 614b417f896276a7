#include "HandOverQueue.h"

#include "commands/InputBlocker.h"

#include <QApplication>
#include <QEvent>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <utility>

namespace kivo {

HandOverQueue::HandOverQueue(QWidget &window, Offer offer)
    : m_window(window)
    , m_offer(std::move(offer))
    , m_offerLater(std::chrono::milliseconds(250))
{
    connect(&m_offerLater, &Timer::timeout, this, [this] {
        // A window manager may refuse the window the front; the file is offered all the same.
        m_frontRefused = true;
        offerWhenFree();
    });
}

void HandOverQueue::close()
{
    m_open = false;
    m_offerLater.stop();
}

void HandOverQueue::add(const QString &commandLine)
{
    if (!commandLine.isEmpty())
        m_commandLines.append(commandLine);
    offerWhenFree();
}

void HandOverQueue::offerWhenFree()
{
    if (m_commandLines.isEmpty() || !m_open)
        return;
    if (windowIsBusy()) {
        m_offerLater.start();
        return;
    }
    m_frontRefused = false;
    offerAll();
}

// A question, a dialog or a drag runs its own event loop, a transfer lets the window
// repaint: the file waits until they end. The name prompt waits for the front too.
bool HandOverQueue::windowIsBusy() const
{
    return m_offering || InputBlocker::isBlocking() || QApplication::activeModalWidget() != nullptr
        || QApplication::activePopupWidget() != nullptr || QThread::currentThread()->loopLevel() > 1
        || (!m_window.isActiveWindow() && !m_frontRefused);
}

void HandOverQueue::offerAll()
{
    if (m_offering)
        return;
    m_offerLater.stop();
    m_offering = true;
    while (!m_commandLines.isEmpty() && m_open)
        m_offer(m_commandLines.takeFirst());
    m_offering = false;
}

void HandOverQueue::windowEvent(const QEvent &event)
{
    if (m_commandLines.isEmpty())
        return;
    if (event.type() == QEvent::WindowActivate)
        offerWhenFree();
    // The question's own event loop is still ending.
    else if (event.type() == QEvent::WindowUnblocked)
        QTimer::singleShot(0, this, &HandOverQueue::offerWhenFree);
}

} // namespace kivo
