#pragma once

#include "platform/Timer.h"

#include <QObject>

#include <optional>

class QKeyEvent;
class QWidget;

namespace kivo {

// Tells when a key on a watched list has been let go for good, so that a held key
// acts once, at its release. The platform repeats a held key as releases each
// followed at once by a press, and does not mark all of them as repeats; so the
// release of a key whose command changes the lists (Delete, Backspace) waits a
// moment, and a press of the same key on the same list in that moment continues the
// hold. The release of any other key is told at once, unless it is marked as a repeat.
// The key events still reach the list.
class KeyReleaseFilter final : public QObject {
    Q_OBJECT

public:
    explicit KeyReleaseFilter(QObject *parent = nullptr);

    void watch(QWidget &list);
    // Forgets a release that waits: what it would act on is going.
    void cancel();

Q_SIGNALS:
    // The key went up on the list and is not held any longer.
    void KeyUp(QWidget *list, int keyCode);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void keyEvent(QWidget *list, const QKeyEvent &key);
    void releasedKeyUp();

    // The key let go last, while it may still turn out to be held.
    struct ReleasedKey {
        QWidget *list;
        int key;
    };
    std::optional<ReleasedKey> m_released;
    Timer m_releaseWait;
};

} // namespace kivo
