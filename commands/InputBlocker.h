#pragma once

#include <QObject>

namespace kivo {

// Keeps the user's mouse, keys and drops away from the program while a command
// holds the thread without an event loop, as a transfer to the unit does. What the
// window system queues meanwhile would otherwise be handled once the loop is back,
// and start command after command; here it is taken in and dropped whenever the
// command lets the windows catch up, which also repaints what a closed window had
// covered. A key or mouse button that went down meanwhile acts neither when it is let
// go after the block nor at its repeats: what follows from its press is dropped too.
// Timers and sockets wait for the loop; calls queued to run later do run, so what
// they could start checks isBlocking() first.
class InputBlocker final : public QObject {
public:
    // Blocks from now on, and catches up at once.
    InputBlocker();
    // Catches up a last time, then lets input through again.
    ~InputBlocker() override;
    InputBlocker(const InputBlocker &) = delete;
    InputBlocker &operator=(const InputBlocker &) = delete;

    // Handles what the window system has sent so far: windows repaint, input is dropped.
    void catchUp();

    // True while input is blocked: work that reaches the window by other ways than
    // input, such as a file handed over by a second start, waits until it ends.
    static bool isBlocking() noexcept;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace kivo
