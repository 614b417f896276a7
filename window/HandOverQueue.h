#pragma once

#include "platform/Timer.h"

#include <QObject>
#include <QStringList>

#include <functional>

class QEvent;
class QWidget;

namespace kivo {

// The command lines that later starts handed over, waiting until the window can offer
// their files as a start offers its own: between commands, with no question, dialog,
// menu or drag open and no transfer running, and with the window at the front, since
// the name prompt belongs to the window that is active. While any of that stands, the
// queue tries again a moment later; a window that the window manager keeps from the
// front gets its files all the same.
class HandOverQueue final : public QObject {
    Q_OBJECT

public:
    using Offer = std::function<void(const QString &commandLine)>;
    HandOverQueue(QWidget &window, Offer offer);

    // Files are offered from open() on (the start-up is through) until close() (the
    // window is going).
    void open() noexcept { m_open = true; }
    void close();
    bool isOffering() const noexcept { return m_offering; }

    // Queues the command line's file, when it names one, and offers what waits if the
    // window is free for it.
    void add(const QString &commandLine);
    void offerWhenFree();
    // Offers every file that waits now, unless they are being offered already.
    void offerAll();
    // The window's event, after the window has handled it: the window that comes to the
    // front, or whose question has been answered, is free again.
    void windowEvent(const QEvent &event);

private:
    bool windowIsBusy() const;

    QWidget &m_window;
    Offer m_offer;
    QStringList m_commandLines;
    Timer m_offerLater;
    bool m_open = false;
    bool m_offering = false;
    bool m_frontRefused = false;
};

} // namespace kivo
